// What the grid tabs of the bill form (history movements, reminders) share: the coded cells'
// texts, the attachment indicator following the current row, and the showing of the child form
// that edits the tab's recordset.
#include "BillFormTexts.h"
#include "CLSKV_TARSELLO.h"
#include "ChildFormHandOver.h"
#include "CurrencyTable.h"
#include "FRMKV_TARSELLO.h"
#include "Grid.h"
#include "GridAmountFormat.h"
#include "IdEditBox.h"
#include "MDLKV_TARSELLO.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QDialog>

void FRMKV_TARSELLO::connectGridTab(Grid* grid, std::shared_ptr<Recordset>& rs, const QString& mediaColumn,
                                    QString (*cellText)(const QString&, const QString&),
                                    const char* rowChangeLabel) {
    auto onRow = [&rs] { return rs && rs->State() == 1 && !rs->AtBOF() && !rs->AtEOF(); };
    connect(grid, &Grid::CellText, this,
            [cellText](const QString& field, QString* text) { *text = cellText(field, *text); });
    connect(grid, &Grid::RowColChange, this, [this, grid, &rs, onRow, mediaColumn, rowChangeLabel] {
        guard(rowChangeLabel, [&] {
            if (!grid->hasFocus() || !ActiveClass || !onRow() || rs->RecordCount() <= 0) return;
            ActiveClass->ImpostaIconaAllegati(rs->Fields(mediaColumn).Value());
        });
    });
    connect(grid, &Grid::EnterFocus, this, [this, &rs, onRow, mediaColumn] {
        // The focus-entry event ignores errors.
        try {
            if (ActiveClass && onRow()) ActiveClass->ImpostaIconaAllegati(rs->Fields(mediaColumn).Value());
        } catch (const SuiteError&) {
        }
    });
}

void FRMKV_TARSELLO::fillChildHandOver(ChildFormHandOver& h, Grid* grid, const std::shared_ptr<Recordset>& rs,
                                       bool nuovo, bool childChanged) const {
    h.host = ActiveInterface_;
    h.recordset = rs;
    h.connection = clsConnessione;
    h.log = clsLog;
    h.grid = grid;
    h.nuovo = nuovo;
    h.secondFlag = false;
    h.childChanged = childChanged;
    h.numReg =
        MDLKV_TARSELLO::NullToString(clsRstTestata->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value());
    h.rigaCont = Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_RIGACONT_CG42")).Value());
    h.progEc = Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_PROGEC_EC01")).Value());
    h.progEff = Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_PROGEFF")).Value());
}

void FRMKV_TARSELLO::showChildForm(QDialog& form) {
    form.setWindowFlag(Qt::Window);
    bolChildClosed = false;
    form.exec();
    bolChildClosed = true;
}

void FRMKV_TARSELLO::childFormAnswered(bool changed, Grid* grid) {
    if (changed) {
        // The child rows wait in the tab's recordset: the Bill must be saved to write them.
        FME_TESTATA->setRecordChanged(true);
        FME_TESTATA->Refresh();
    }
    grid->Refresh();
    BuildScript();
}

QString FRMKV_TARSELLO::newGridAmountFormat(std::unique_ptr<GridAmountFormat>& format, Grid* grid) {
    if (format) format->setGrid(nullptr);
    format = std::make_unique<GridAmountFormat>();
    format->setGrid(grid);
    format->setDecimals([table = currencies()](const QString& code) { return table.decimals(code); });
    const QString currency = TXT_VALUTA->Text().trimmed();
    return currency.isEmpty() ? BillFormTexts::kEuro : currency;
}
