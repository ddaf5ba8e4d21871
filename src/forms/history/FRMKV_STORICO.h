#pragma once

#include "ArchiveConnector.h"
#include "ChildRowForm.h"
#include "Decimal.h"
#include "ErrorReport.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <memory>
#include <optional>

class Cinterface;
class ComboBox;
class Connection;
class CurrencyConverter;
struct DecodeRequest;
struct LookupRequest;
class FrameControl;
struct ControlDef;
class Grid;
class GridNavigator;
class GroupColumns;
class HistoryParent;
class LogService;
class QLabel;
class Recordset;
class VirtualFrame;

// The history movement form: one movement of a Bill (a row of EF06_SCADSTO) with all its
// fields, bound to FME_STORICO over the bill form's own history recordset. The bill form creates
// it for one modal showing, hands it the Bill's context and reads back whether it changed
// anything. Movements added or changed here stay pending in the recordset: they reach the
// database with the Bill's save.
class FRMKV_STORICO : public ChildRowForm {
    Q_OBJECT
public:
    // What the bill form hands over before showing the form: what every child form of a grid
    // tab gets, and the Bill's currency, rate and the bill form itself.
    struct HandOver : ChildFormHandOver {
        QString currency;  // the Bill's currency code; "EURO" when empty
        Decimal cambio;    // the Bill's exchange rate, units of its currency per euro
        HistoryParent* parent = nullptr;
    };

    explicit FRMKV_STORICO(QWidget* parent = nullptr);
    ~FRMKV_STORICO() override;

    // The caption of the field that shows a movement's column; the column itself when none does.
    static QString captionOfColumn(const QString& column);

    void hand(const HandOver& values);
    // Takes every handed object away (the bill form does it once the form has closed).
    void release();

    VirtualFrame* FME_STORICO = nullptr;
    GridNavigator* GNV_DETTSTORICO = nullptr;
    QLabel* LBL_ORDBONMOTIVO = nullptr;

private:
    void createControls();
    void placeMovement(GroupColumns& groups);
    void placeAmounts(GroupColumns& groups);
    void placePayment(GroupColumns& groups);
    FrameControl* make(const ControlDef& def);
    void fillCombos();
    void Form_load() override;
    void Form_Activate() override;
    void FME_STORICO_AfterAddNew(bool success);
    void FME_STORICO_ChangeStatus(int status);
    void FME_STORICO_BeforeUpdate(bool* cancel);
    void QRT_GRIDNAV_DETTSTORICO_ButtonClick(const QString& button, bool* cancel);
    void QRT_GRIDNAV_DETTSTORICO_AfterButtonClick(const QString& button);
    void Elimina();
    // Field rules (FRMKV_STORICO_Rules.cpp)
    void connectFieldRules();
    void connectCombos();
    // A number in an archive of the kind chosen in the combo `kind` and of the year typed in
    // `year`: the distinta, the payment order.
    struct NumberedArchive {
        ArchiveConnector::Archive archive;
        const char* kind;
        const char* year;
        const char* number;
    };
    std::optional<ArchiveConnector> numberedArchive(const NumberedArchive& a) const;
    void connectNumbered(const NumberedArchive& a);
    void connectPurpose();
    struct BankPair {
        const char* bank;
        const char* bankDescription;
        const char* agency;
        const char* agencyDescription;
    };
    void connectBanks(const BankPair& p);
    void connectSingleFields();
    void fillLookup(const ArchiveConnector& archive, LookupRequest* r) const;
    // The text a field had on entry, kept to tell whether the user changed it.
    void remember(FrameControl* field);
    bool changedSinceEntry(FrameControl* field) const;
    // Connects `signal` of `field` to `body`, run under the error handler as `label`.
    template <typename Signal, typename Body>
    void onGuarded(FrameControl* field, Signal signal, const QString& label, Body body) {
        connect(field, signal, this, [this, label, body] { guard(label.toLatin1().constData(), body); });
    }
    void applyGroups();
    void ImportoAfterItem(FrameControl* field);
    void CBO_INDSPERIT_ChangeRow();
    void CBO_INDSPERIT_AfterItem();
    void CBO_INDTIPODIST_ChangeRow();
    void CBO_INDTIPODIST_AfterItem();
    void CBO_INDORDPBONIF_ChangeRow();
    void CBO_INDORDPBONIF_AfterItem();
    void GestioneEffetti();
    // Writes a value into the movement's row and shows it.
    void setRowValue(FrameControl* field, const QVariant& value);
    // The code a combo holds, -1 for the blank entry.
    int comboCode(const char* name) const;
    bool privileged() const;

    HandOver in_;
    std::unique_ptr<CurrencyConverter> converter_;
    QHash<QString, QString> entryValues_;
    bool activated_ = false;
    bool loaded_ = false;
};
