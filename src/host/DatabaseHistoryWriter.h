#pragma once

#include "BillKey.h"
#include "HistoryWriter.h"
#include "Recordset.h"

#include <QHash>
#include <QList>
#include <QVariant>
#include <memory>

// Writes a movement into EF06_SCADSTO (a manual variation unless the movement names its type):
// the Bill's key, the progressive and date given, and as snapshot the Bill as it is stored
// before the save, read when the movement is prepared, with the movement's own columns over it.
// One writer may write the movements of many Bills in one transaction (a slip's): the table it
// writes into is opened once. It is not used again once that transaction rolled back.
class DatabaseHistoryWriter : public HistoryWriter {
public:
    void setMovement(std::shared_ptr<HistoryMovement> movement) override { movement_ = std::move(movement); }
    int Prepare() override;
    int Write() override;
    QString LastError() const override { return lastError_; }
    qint32 LastErrorNumber() const override { return lastNumber_; }

    // The movements of many Bills (a slip's) prepared and written at once in the caller's open
    // transaction on `connection`, each Bill already written and held there: `bills[i]` is the
    // Bill of `movements[i]`, whose `bill` and `connection` are not read. The snapshots are read
    // a chunk of Bills per query and the rows inserted many per statement. Answers the index of
    // a movement whose Bill is gone, or whose history already reaches its progressive (another
    // user's movement since the caller read it), before anything is written; -1 once all are
    // written. Throws SuiteError when the database refuses the rows.
    static int writeAll(Connection& connection, const QList<BillKey>& bills,
                        const QList<HistoryMovement>& movements);

private:
    std::shared_ptr<HistoryMovement> movement_;
    QHash<QString, QVariant> row_;
    std::shared_ptr<Recordset> target_;  // EF06_SCADSTO, opened by the first Write
    QString lastError_;
    qint32 lastNumber_ = 0;
};
