#pragma once

#include "ChildFormHandOver.h"
#include "Decimal.h"
#include "DocumentSections.h"
#include "ErrorReport.h"

#include <QDialog>
#include <QHash>
#include <optional>

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
class FRMKV_SOLLECITI : public QDialog, public ErrorReport {
    Q_OBJECT
public:
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
    // Whether the form changed anything: read by the bill form after the form has closed.
    bool changed() const { return changed_; }

    void MostraErrore(const SuiteError& error) override;

    qint32 CalcolaNuovoProgressivo();
    // The document section applies to the document date shown.
    bool sectionApplies() const;

    VirtualFrame* FME_SOLLECITI = nullptr;
    GridNavigator* GNV_DETTSOLLECITI = nullptr;
    FrameControl* control(const QString& name) const { return controls_.value(name); }
    ComboBox* combo(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void createControls();
    FrameControl* make(const ControlDef& def);
    void connectFieldRules();
    void Carica_CBO_INDBLOCCO();
    void Form_load();
    void Form_Activate();
    void Form_QueryUnload(bool& cancel);
    void Form_KeyDown(int keyCode, int shift);
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
    void runProgram(const QString& progId, const QVariantList& parameters);
    void CHK_FLGPERS2_KeyDown(int keyCode);
    void setColumn(const char* column, const QVariant& value);
    void setColumnsNull(std::initializer_list<const char*> columns);
    QString columnText(const char* column) const;
    bool entryChanged(FrameControl* field) const;
    qint32 company() const;

    HandOver in_;
    DocumentSections sections_;
    QHash<QString, FrameControl*> controls_;
    QList<FrameControl*> order_;  // the controls in the order they are attached to the frame
    QHash<QString, QString> entryTexts_;
    int bookmark_ = -1;
    bool activated_ = false;
    bool loaded_ = false;
    bool changed_ = false;
    bool unloaded_ = false;
};
