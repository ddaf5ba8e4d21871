#pragma once

#include "ChildQueries.h"
#include "DocumentSections.h"
#include "ErrorReport.h"
#include "HistoryParent.h"
#include "ModuleForm.h"
#include "TabOrder.h"
#include "TransactionScope.h"

#include <QDate>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace BillCodeTables {
struct Row;
}
class CLSKV_TARSELLO;
class CheckBox;
struct ChildFormHandOver;
class ComboBox;
class Connection;
class CurrencyConverter;
class CurrencyTable;
class Decimal;
class DescriptionCache;
class EditBox;
class MemoBox;
class FrameControl;
struct ControlDef;
class Grid;
class GroupColumns;
class GridAmountFormat;
class HostGlobal;
class GridNavigator;
class IdEditBox;
class LayoutScriptButton;
class LinkedBillSide;
class LogService;
class MainNavigator;
class NumericBox;
class QDialog;
class QGroupBox;
class QLabel;
class Recordset;
class TabControl;
class VirtualFrame;

// The bill detail form: the header of the Bills the calling program selected, bound to
// FME_TESTATA, and the tabs of their further data. This file holds the form's state and its
// lifecycle; the header query and the code tables, the layout and the tabs live in the
// FRMKV_TARSELLO_*.cpp files beside it.
class FRMKV_TARSELLO : public QWidget, public ModuleForm, public ErrorReport, public HistoryParent {
    Q_OBJECT
public:
    enum TabIndex {
        TabDatiGenerali = 0,
        TabCambialiCessioni = 1,
        TabStorico = 2,
        TabSolleciti = 3,
        TabNote = 4
    };

    explicit FRMKV_TARSELLO(QWidget* parent = nullptr);
    ~FRMKV_TARSELLO() override;

    // Public state, read and set by the module class and the child forms.
    Cinterface* ActiveInterface_ = nullptr;
    CLSKV_TARSELLO* ActiveClass = nullptr;
    std::shared_ptr<Connection> clsConnessione;
    std::shared_ptr<LogService> clsLog;
    std::shared_ptr<Recordset> clsRstTestata;
    std::shared_ptr<Recordset> clsRstCambialiCessioni;
    std::shared_ptr<Recordset> clsRstStorico;
    std::shared_ptr<Recordset> clsRstSolleciti;
    std::shared_ptr<Recordset> clsRstNote;
    bool bolTabIni_DatiGen = false, bolTabIni_CambCess = false, bolTabIni_Storico = false,
         bolTabIni_Solleciti = false, bolTabIni_Note = false;
    bool bolTabConf_DatiGen = false, bolTabConf_CambCess = false, bolTabConf_Storico = false,
         bolTabConf_Solleciti = false, bolTabConf_Note = false;
    bool bolStoricoModified = false;
    bool bolSollecitiModified = false;
    bool bolMainActive = false;
    // The history form's answer whether it changed anything, handed to the next one.
    bool bolChildChanged = false;
    // False while a history or reminder form is shown modally.
    bool bolChildClosed = true;

    // The frames and the controls the form's logic names.
    VirtualFrame* FME_TESTATA = nullptr;
    VirtualFrame* FME_CAMBIALI = nullptr;
    VirtualFrame* FME_NOTE = nullptr;
    QGroupBox* GRB_TESTATA = nullptr;
    TabControl* TAB_SCADENZE = nullptr;
    MainNavigator* INV_MAIN = nullptr;
    IdEditBox* TXT_CLIFOR = nullptr;
    IdEditBox* TXT_PDC = nullptr;
    IdEditBox* TXT_VALUTA = nullptr;
    IdEditBox* TXT_PROGR_MG35 = nullptr;
    IdEditBox* TXT_PROGR_EF08 = nullptr;
    IdEditBox* TXT_CODAGE = nullptr;
    IdEditBox* TXT_CIG = nullptr;
    EditBox* TXT_ID_MG35 = nullptr;
    EditBox* TXT_ATTRIBUTI = nullptr;
    EditBox* TXT_CONTRFINANZ = nullptr;
    EditBox* TXT_CODCARTA = nullptr;
    NumericBox* TXT_ANNOPART = nullptr;
    EditBox* TXT_DEBITORE = nullptr;
    MemoBox* TXT_NOTERAGGR = nullptr;
    MemoBox* TXT_NOTEAMMIN = nullptr;
    CheckBox* CHK_FLGEFFVAR = nullptr;
    QLabel* LBL_ATTRESTESI = nullptr;
    Grid* GRD_STORICO = nullptr;
    GridNavigator* GNV_STORICO = nullptr;
    Grid* GRD_SOLLECITI = nullptr;
    GridNavigator* GNV_SOLLECITI = nullptr;
    LayoutScriptButton* CMD_LAYSCRIPT = nullptr;

    // Any data control by its name (nullptr when the form has none of that name).
    FrameControl* control(const QString& name) const { return controls_.value(name); }
    ComboBox* combo(const QString& name) const;

    // ModuleForm
    void setActiveInterface(Cinterface* module) override { ActiveInterface_ = module; }
    Cinterface* ActiveInterface() const override { return ActiveInterface_; }
    void setActiveClass(CLSKV_TARSELLO* module) override { ActiveClass = module; }
    void setFormWindowState(int state) override;
    void setFormCaption(const QString& caption) override { setWindowTitle(caption); }
    void setFormIcon(const QIcon& icon) override {
        if (windowIcon().cacheKey() != icon.cacheKey()) setWindowIcon(icon);
    }
    void showForm(bool modal) override;
    void unloadForm() override { close(); }
    QWidget* formWindow() override { return this; }
    std::shared_ptr<Connection> formConnection() const override { return clsConnessione; }
    // The host navigator's events (FRMKV_TARSELLO_Navigator.cpp)
    std::shared_ptr<LogService> formLogService() const override { return clsLog; }
    bool formMainActive() const override { return bolMainActive; }
    void exportToOffice(OfficeExport& exportObject) override;
    QString mediaIdInFocus() const override;
    bool storeMediaIdInFocus(const QString& mediaId) override;
    QString holdMediaRecord(const QString& newId) override;
    void registerLayoutObjects(LayoutScriptHolder& layout) override;
    void registerScriptObjects(LayoutScriptHolder& script) override;
    void ContestoAllegatiTestata();
    // The icon of the record in focus (a grid's row, a tab's row, else the header).
    void ContestoAllegati();

    // ErrorReport: the error text through the form's log service, then a rollback.
    void MostraErrore(const SuiteError& error) override;

    // The tabs' set-up and refresh routines.
    void InizializzaCambialiCessioni();
    void ShowCambialiCessioni();
    void InizializzaStorico();
    void ShowStorico();
    // The history tab (FRMKV_TARSELLO_History.cpp)
    void FormattaGridStorico();
    void GRD_STORICO_CellDblClick();
    void QRT_GRIDNAV_STORICO_ButtonClick(const QString& button, bool* cancel);
    // HistoryParent
    bool treasuryExported() const override { return indExp_ == 1; }
    bool EliminaMovimentoStorico(bool fromMovementForm) override;
    void markBillVaried() override;
    QStringList missingForUndo() const override;
    // The reminders tab (FRMKV_TARSELLO_Reminders.cpp)
    void InizializzaSolleciti();
    void ShowSolleciti();
    void FormattaGridSolleciti();
    void GRD_SOLLECITI_CellDblClick();
    void QRT_GRIDNAV_SOLLECITI_ButtonClick(const QString& button, bool* cancel);
    void InizializzaNote();
    void ShowNote();
    // The attachments of the bills-of-exchange row and of the notes row follow the field in focus.
    void ContestoAllegatiCambiali();
    void ContestoAllegatiNote();

    // The user's layout and script (FRMKV_TARSELLO_Script.cpp)
    void ApplicaLayOut();
    void BuildScript();
    QVariant ExecuteFormEvent(const QString& name, const QVariantList& arguments = {});
    void CMD_LAYSCRYPT_OnAddStruttura();
    void CMD_LAYSCRYPT_AfterButtonClick(const QString& button);

    void SetUpDatiControlloTab();
    void ImpostaFocusSuPrimoCampoTab();
    void AttivaModulo();

    // The key of the current header row, as it appears in the child tables' queries.
    using BillKey = ChildQueries::Key;
    BillKey currentKey() const;

    // Saving and deleting (FRMKV_TARSELLO_Save.cpp)
    static QString DateDB(const QDate& date);
    static QString DecimalDB(const QVariant& value);
    // Prefix followed by the number, zero-padded to 8 digits (the last 8 when longer).
    static QString composeRegistrationNumber(const QString& prefix, qint64 number);
    bool SezionaleAbilitato();
    bool ControlloDati();
    bool CheckSalvataggioStorico();
    std::shared_ptr<Recordset> GetRecordCorrente();
    qint32 NuovoProgressivoStorico(const BillKey& key);
    void AggiornaFlagVariato();
    void BeginTransazione();
    void CommitTransazione();
    void RollBackTransazione();
    void NuoviNumeri();
    const QString& newRegistrationNumber() const { return newNumReg_; }
    bool connectionInTransactionForTest() const { return saveTransaction_.has_value(); }

    bool activated() const { return activated_; }
    // The host's global object; a form shown without one reports the module's error 518.
    HostGlobal& global() const;
    qint32 companyCode() const { return company_; }
    QDate referenceDate() const { return referenceDate_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Lifecycle
    void Form_Initialize();
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(bool& cancel);
    void Form_Unload();
    void MDIActiveX1_FormLoad();
    void ImpostaVoceDiMenu();
    void positionOnKey();

    // Header query, binding and code tables (FRMKV_TARSELLO_Header.cpp)
    void InizializzaTestata();
    void Carica_CBO_TIPOEFF();
    void Carica_CBO_INDSPERIT();
    void Carica_CBO_INDSTATO();
    void Carica_CBO_INDPRES();
    void Carica_CBO_TIPOMOV();
    void Carica_CBO_ACCETTAZIONE();
    void Carica_CBO_INDGENSTATO();
    void Carica_CBO_INDLIQPROV();
    void Carica_CBO_INDMERCEART62();
    void Carica_CBO_TIPOCFR();
    void Carica_CBO_TIPOCFG();
    void fillCombo(const char* label, const QString& name, const QList<BillCodeTables::Row>& rows);

    // Layout (FRMKV_TARSELLO_Layout.cpp)
    void createControls();
    void bindControls();
    void placeControls();
    // Each adds the fields it placed to `order`, in the order Tab goes through them.
    QWidget* createHeaderGroup(QList<QWidget*>& order);
    QWidget* createTabDatiGenerali(QList<QWidget*>& order);
    void addDocumentGroups(GroupColumns& groups);
    void addAmountGroups(GroupColumns& groups);
    void addBankGroups(GroupColumns& groups);
    QWidget* createTabCambialiCessioni(QList<QWidget*>& order);
    QWidget* createTabGrid(Grid*& grid, GridNavigator*& navigator, const QString& gridName,
                           const QString& navName, QList<QWidget*>& order);
    QWidget* createTabNote(QList<QWidget*>& order);
    FrameControl* make(const ControlDef& def);

    // Tabs and the main navigator (FRMKV_TARSELLO_Tabs.cpp)
    void TAB_SCADENZE_Click();
    void QRT_INTERNAV_DETTTARS_ButtonClick(const QString& button, bool* cancel);
    void QRT_INTERNAV_DETTTARS_AfterButtonClick(const QString& button);
    void layGrids();
    void openFrameTab(VirtualFrame* frame, std::shared_ptr<Recordset>& rs, const QString& sql);
    void openGridTab(Grid* grid, std::shared_ptr<Recordset>& rs, const QString& sql);
    void connectHistoryEvents();
    // Opens the history movement form modally on the grid's movement or on a new one.
    void ApriStorico(bool nuovo);
    void connectReminderEvents();
    // Opens the reminder form modally on the grid's reminder or on a new one.
    void ApriSolleciti(bool nuovo);
    // The letter of the reminder in view, shown for printing or saving as PDF.
    void StampaLetteraSollecito();
    // What every grid tab shares (FRMKV_TARSELLO_GridTabs.cpp): the coded cells' texts and the
    // attachment indicator following the current row of `rs`, whose `mediaColumn` names its
    // attachments; the hand-over of a child form, its modal showing, and the Bill marked changed
    // when the child form says it changed something.
    void connectGridTab(Grid* grid, std::shared_ptr<Recordset>& rs, const QString& mediaColumn,
                        QString (*cellText)(const QString&, const QString&), const char* rowChangeLabel);
    void fillChildHandOver(ChildFormHandOver& h, Grid* grid, const std::shared_ptr<Recordset>& rs, bool nuovo,
                           bool childChanged) const;
    void showChildForm(QDialog& form);
    // A new amount format for a grid tab, each currency with its digits from the company's
    // currency table; answers the Bill's currency ("EURO" when none).
    QString newGridAmountFormat(std::unique_ptr<GridAmountFormat>& format, Grid* grid);
    void childFormAnswered(bool changed, Grid* grid);
    // The header read again from the database, at the row it showed, without raising the
    // frame's status events.
    void rereadHeader();
    // The highest progressive among the history rows still waiting for the Bill's save.
    qint32 pendingHistoryProgressive() const;

    // The record whose attachments the navigator's buttons act on: its recordset, attachment
    // column and how a change of it is marked for the next save.
    struct MediaRecord {
        std::shared_ptr<Recordset> rs;
        QString column;
        std::function<void()> markChanged;
    };
    MediaRecord recordInFocus() const;
    void connectAttachmentContext();
    // Every tab brought up to date, as before it is shown.
    void refreshAllTabs();

    // Bills of exchange and notes (FRMKV_TARSELLO_BillsOfExchange.cpp, FRMKV_TARSELLO_Notes.cpp)
    void connectCambiali();
    void readCambialiCessioni();
    void FME_CAMBIALI_ValidateRecord(FrameControl** inError);
    void connectNote();

    // Header record events (FRMKV_TARSELLO_Save.cpp)
    void connectRecordEvents();
    void FME_TESTATA_AfterAddNew(bool success);
    void FME_TESTATA_ChangeStatus(int status);
    void FME_TESTATA_IsRecordChanged(bool* changed);
    void FME_TESTATA_AfterUndo(bool success);
    // Deleting the last history movement (FRMKV_TARSELLO_History.cpp).
    bool mayDeleteMovement(Recordset& rs);
    void deleteLastMovement(const std::shared_ptr<Recordset>& rs, bool fromMovementForm);
    void FME_TESTATA_BeforeUpdate(bool* cancel);
    bool headerChecksPass();
    void registerNewDocument();
    void prepareHistoryMovement();
    void FME_TESTATA_AfterUpdate(bool success);
    void FME_TESTATA_BeforeDelete(bool* cancel);
    void writeChildBatch(VirtualFrame* frame, const std::shared_ptr<Recordset>& rs);
    // Holds the Bill for the save's transaction; a write conflict when another user deleted it,
    // or changed a history-relevant column while a history movement is due.
    void claimBill(bool historyPending);
    static bool isHistoryColumn(const QString& name);
    // The history writer's failure as the clerk is told of it.
    [[noreturn]] void historyWriterFailed() const;
    // A Bill already handed to treasury (EF01_INDEXP 1) is changed only when the user says so.
    bool treasuryConfirmed();
    // After a failed save the child tabs' edits are still to be saved.
    void keepChildrenPending();
    void enableSections();
    // The sub-type field is open to the bill types that have sub-types.
    void enableSubtype();
    void fillChildKey(VirtualFrame* frame, const QString& prefix);

    // The currency and the amounts (FRMKV_TARSELLO_Currency.cpp)
public:
    void AbilitaCampiValuta();
    void RecuperaCambio_Orig();
    void showRateHint(QWidget* date, const QString& text);
    // A save needs a currency the currency service knows.
    bool ControlloValuta();

private:
    void connectCurrencyRules();
    void TXT_VALUTA_AfterItem();
    void ImportoAfterItem(FrameControl* field);
    // The upper-cased currency code; a code its decode refused counts as "EURO" when fields are
    // enabled (`forEnabling`) and as no currency when amounts are converted.
    QString valutaEffettiva(bool forEnabling) const;
    Decimal cambio() const;
    const CurrencyTable& currencies() const;
    CurrencyConverter& converter();
    // Writes a value into the header row and shows it; a real change marks the Bill changed.
    void setHeaderValue(FrameControl* field, const QVariant& value);
    std::unique_ptr<CurrencyConverter> clsConvValuta;

    // Field rules (FRMKV_TARSELLO_Validation.cpp)
    void connectFieldRules();
    void completeRelated(FrameControl* field, FrameControl* related, const QVariant& value);
    void applySectionsRule();
    void TXT_DATADOC_LostFocus();
    void TXT_DATAREG_LostFocus();

    // The coded fields' decodes and search lists (FRMKV_TARSELLO_Decodes.cpp)
public:
    // The CIG/CUP pair registered for the Bill's customer (customer Bills) or assigned to anyone
    // of the company (supplier Bills); marks both fields. True when there is nothing
    // to check.
    bool ControlloCigCup();
    // The management list of a coded field's archive; a row sent back arrives through
    // clsConnectCommon_TransferData.
    void GestioneArchivio(const QString& field);
    void GestioneBancheAziendali();
    // Opens the CIG/CUP archive on the Bill's counterpart (with its pair when registered).
    void CigCupGestione();
    void clsConnectCommon_TransferData(int archive, const QVariant& data);

private:
    void connectDecodifiche();
    void connectCodedFields();
    void connectBankPairs();
    void connectManagementMenus();
    void InizializzaDecodifiche();
    void connectContoCorrente();
    // The customer's bank account `id`: its progressive and description (empty: none).
    QVariantList customerBankRow(const QString& id);
    void connectCigCup();
    void connectCigCupMenus(IdEditBox* cup);
    void connectRowState();
    void completeCigCup(IdEditBox* typed, IdEditBox* other);
    void prepareLookup(const QString& field, struct LookupRequest* request);
    std::optional<class ArchiveConnector> connectorOf(const QString& field) const;
    bool headerOnRow() const;
    QVariant headerValue(const QString& column) const;
    bool hasCounterpart() const;
    int tipoArchivio() const;
    bool bankAccountGuard_ = false;  // the form itself writes the bank account's progressive
    bool bankAccountTyped_ = false;  // the account's id comes from the progressive the clerk typed
    bool cigCupGeneric_ = false;     // the generic CIG/CUP list is being opened
    QString rateHintShown_;          // the last "no exchange rate" hint shown beside its date
    QPointer<QLabel> rateHint_;      // that hint
    bool cigCupEmptied_ = false;     // the clerk emptied a code of the Bill shown: none is completed
    // "Tutte le banche": the company banks' list without the counterpart's filter.
    bool allCompanyBanks_ = false;
    // The coded boxes' descriptions, read once for this opening of the form.
    std::shared_ptr<DescriptionCache> descriptions_;
    int sectionTarget_ = 0;  // 0 the document section, 1 the item section
    int bankTarget_ = 0;     // 0 the support bank pair, 1 the presentation pair

    QHash<QString, FrameControl*> controls_;
    LinkedBillSide* ricevuto_ = nullptr;
    LinkedBillSide* girato_ = nullptr;
    QHash<QString, QString> entryValues_;
    QHash<QString, QVariant> entryAmounts_;  // each amount's column value when it was entered
    qint32 company_ = 0;
    bool companyFlag_ = false;
    QDate referenceDate_;
    // Tab through the header, the tab in view and the buttons, as laid out.
    TabOrder tabOrder_;
    bool loaded_ = false;
    bool activated_ = false;
    bool unloaded_ = false;      // Form_Unload ran: the form has let go of its module and the host
    bool scriptFailed_ = false;  // the user's script did not build the last time it was built
    std::optional<TransactionScope> saveTransaction_;
    struct ChildrenPending {
        bool cambiali = false;
        bool note = false;
    } childrenPending_;
    qint16 indExp_ = 0;
    bool historyPending_ = false;
    QString newNumReg_;
    std::unique_ptr<class HistoryWriter> historyWriter_;
    DocumentSections sections_;
    QRect savedTab_, savedStorico_, savedSolleciti_;
    std::unique_ptr<GridAmountFormat> clsFormatStorico;
    std::unique_ptr<GridAmountFormat> clsFormatSolleciti;
};
