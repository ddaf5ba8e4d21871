#pragma once

#include "ChildRowForm.h"
#include "Decimal.h"
#include "DocumentSections.h"

#include <QDialog>
#include <QHash>
#include <optional>
#include <utility>

class ComboBox;
class FrameControl;
struct ControlDef;
class GridNavigator;
class VirtualFrame;

// The reminder form: one reminder of a Bill (a row of EF05_SCADSOLLEC), bound to FME_SOLLECITI
// over the bill form's own reminders recordset. The bill form creates it for one modal showing,
// hands it the Bill's context and reads back whether it changed anything. Reminders added,
// changed or deleted here stay pending in the recordset: they reach the database with the Bill's
// save.
class FRMKV_SOLLECITI : public ChildRowForm {
    Q_OBJECT
public:
    // The coded fields and the description each decode fills.
    static constexpr std::pair<const char*, const char*> kDecoded[] = {
        {"TXT_SIGLALETTERA", "TXT_DESCRLETTERA"},
        {"TXT_CODBLOCCO", "TXT_DESBLOCCO"},
        {"TXT_DOCUMENTO", "TXT_DESDOCUMENTO"},
        {"TXT_SEZDOC", "TXT_DESSEZDOC"}};

    // What the bill form hands over: what every child form of a grid tab gets, and the Bill's
    // amount in its currency, on which the interest of a reminder is worked out.
    struct HandOver : ChildFormHandOver {
        std::optional<Decimal> billAmount;
    };

    explicit FRMKV_SOLLECITI(QWidget* parent = nullptr);
    ~FRMKV_SOLLECITI() override;

    void hand(const HandOver& values);
    // Takes every handed object away (the bill form does it once the form has closed).
    void release();
    // The document section applies to the document date shown.
    bool sectionApplies() const;

    VirtualFrame* FME_SOLLECITI = nullptr;
    GridNavigator* GNV_DETTSOLLECITI = nullptr;

private:
    void createControls();
    FrameControl* make(const ControlDef& def);
    void connectFieldRules();
    void connectGroupTicks();
    void connectInterestRules();
    void connectCodes();
    void connectLetter();
    void connectBlock();
    void connectArchivedCodes();
    void Carica_CBO_INDBLOCCO();
    void Form_load() override;
    void Form_Activate() override;
    void FME_SOLLECITI_AfterAddNew(bool success);
    void FME_SOLLECITI_ChangeStatus(int status);
    void QRT_GRIDNAV_DETTSOLLECITI_ButtonClick(const QString& button, bool* cancel);
    void QRT_GRIDNAV_DETTSOLLECITI_AfterButtonClick(const QString& button);
    void Elimina();

    // The field rules (FRMKV_SOLLECITI_Rules.cpp).
    void enableInterest(bool on);
    void enableDocument(bool on, bool adding);
    void enableBlockCode();
    void CHK_FLGCALCINT_AfterItem();
    void CHK_FLGEMISDOC_AfterItem();
    void TXT_DATADOC_AfterItem();
    void CBO_INDBLOCCO_AfterItem();
    void validateRate(bool* cancel);
    void validatePeriod(FrameControl* field, bool* cancel);
    void validateLetter(bool* cancel);
    void suggestInterest();
    void GestioneTestoFisso(const QString& key);
    // Runs a maintenance program of the host; the code chosen there goes into `target`.
    void runProgram(const QString& progId, const QVariantList& parameters, FrameControl* target = nullptr);
    void CHK_FLGPERS2_KeyDown(int keyCode);
    void setColumnsNull(std::initializer_list<const char*> columns);
    bool entryChanged(FrameControl* field) const;

    HandOver in_;
    DocumentSections sections_;
    QHash<QString, QString> entryTexts_;
    bool activated_ = false;
    bool loaded_ = false;
};
