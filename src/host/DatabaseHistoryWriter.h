#pragma once

#include "HistoryWriter.h"

#include <QHash>
#include <QVariant>

// Writes a history movement (a manual variation unless the movement names its type) into EF06_SCADSTO: the
// Bill's key, the progressive and date given, and as snapshot the Bill as it is stored before the save, read
// when the movement is prepared.
class DatabaseHistoryWriter : public HistoryWriter {
public:
    void setMovement(std::shared_ptr<HistoryMovement> movement) override { movement_ = std::move(movement); }
    int Prepare() override;
    int Write() override;
    QString LastError() const override { return lastError_; }
    qint32 LastErrorNumber() const override { return lastNumber_; }

private:
    std::shared_ptr<HistoryMovement> movement_;
    QHash<QString, QVariant> row_;
    QString lastError_;
    qint32 lastNumber_ = 0;
};
