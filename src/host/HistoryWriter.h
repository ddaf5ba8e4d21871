#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

class Connection;
class Recordset;

// One automatic history movement of a changed Bill, as the form hands it to the writer.
struct HistoryMovement {
    std::shared_ptr<Connection> connection;
    std::shared_ptr<Recordset> bill;  // a copy of the Bill's header row, as changed by the user
    int setting = 0;
    qint32 progressive = 0;
    QDateTime date;
    int type = 0;                    // EF06_INDTIPOPER: 0 a manual variation, others written by batches
    QHash<QString, QVariant> extra;  // the movement's own columns (a slip's link, charges...)
};

// The suite's history writer: prepares a movement (before the Bill row is written) and writes
// it (inside the save's transaction). Both answer a result code, 0 on success.
class HistoryWriter {
public:
    virtual ~HistoryWriter() = default;
    virtual void setMovement(std::shared_ptr<HistoryMovement> movement) = 0;
    virtual int Prepare() = 0;
    virtual int Write() = 0;
    // What went wrong with the last non-zero result, and the number of that error (0: none given).
    virtual QString LastError() const = 0;
    virtual qint32 LastErrorNumber() const { return 0; }
};
