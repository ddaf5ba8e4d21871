#pragma once

#include <QStringList>

// What the history movement form asks of the bill form that opened it: the Bill's treasury
// state, the deletion of the last movement (the same sequence as the bill form's own "Elimina")
// and the changed mark of a Bill that received a manual variation.
class HistoryParent {
public:
    virtual ~HistoryParent() = default;

    // The Bill has been transferred to the treasury system (EF01_INDEXP = 1).
    virtual bool treasuryExported() const = 0;
    // Deletes the current (last) movement of the history recordset after its checks and
    // questions, restoring the Bill from its snapshot in the same transaction. True when deleted.
    // `fromMovementForm`: asked by the history movement form, which counts without the hint.
    virtual bool EliminaMovimentoStorico(bool fromMovementForm) = 0;
    // A manual variation or a due-date split was confirmed: the Bill is marked as varied
    // (EF01_FLGEFFVAR), saved with the Bill.
    virtual void markBillVaried() = 0;
    // The snapshot columns of the history recordset's current row that an undo of the movement
    // would need and that are empty: a movement lacking them could never be deleted.
    virtual QStringList missingForUndo() const = 0;
};
