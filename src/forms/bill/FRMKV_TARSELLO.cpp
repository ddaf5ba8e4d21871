#include "FRMKV_TARSELLO.h"
#include "LayoutScriptButton.h"

#include "BillFormTexts.h"
#include "CLSKV_TARSELLO.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "Connection.h"
#include "CurrencyConverter.h"
#include "EditBox.h"
#include "Grid.h"
#include "GridAmountFormat.h"
#include "HistoryWriter.h"
#include "HostGlobal.h"
#include "HostNavigator.h"
#include "IdEditBox.h"
#include "LayoutScriptHolder.h"
#include "LogService.h"
#include "MDLKV_CODICIERR.h"
#include "MDLKV_TARSELLO.h"
#include "MainNavigator.h"
#include "Recordset.h"
#include "Schema.h"
#include "ScreenFit.h"
#include "SuiteError.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"
#include "WriteConflict.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>

using MDLKV_TARSELLO::NullToString;

FRMKV_TARSELLO::FRMKV_TARSELLO(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FRMKV_TARSELLO"));
    setWindowTitle(BillFormTexts::kCaption);
    createControls();
    connect(TAB_SCADENZE, &TabControl::Click, this, [this](int) { TAB_SCADENZE_Click(); });
    connect(INV_MAIN, &NavigatorBar::ButtonClick, this,
            [this](const QString& key, bool* cancel) { QRT_INTERNAV_DETTTARS_ButtonClick(key, cancel); });
    connect(INV_MAIN, &NavigatorBar::AfterButtonClick, this,
            [this](const QString& key) { QRT_INTERNAV_DETTTARS_AfterButtonClick(key); });
    connectRecordEvents();
    connectFieldRules();
    connectCurrencyRules();
    connectDecodifiche();
    connectHistoryEvents();
    connectCambiali();
    connectNote();
    connectReminderEvents();
    connectAttachmentContext();
    connect(CMD_LAYSCRIPT, &NavigatorBar::AfterButtonClick, this,
            [this](const QString& key) { CMD_LAYSCRYPT_AfterButtonClick(key); });
    Form_Initialize();
}

FRMKV_TARSELLO::~FRMKV_TARSELLO() = default;

void FRMKV_TARSELLO::Form_Initialize() {
    bolTabIni_DatiGen = bolTabIni_CambCess = bolTabIni_Storico = bolTabIni_Solleciti = bolTabIni_Note = false;
    bolMainActive = true;
    bolStoricoModified = bolSollecitiModified = false;
    activated_ = false;
    saveTransaction_.reset();
    savedTab_ = savedStorico_ = savedSolleciti_ = QRect();
}

void FRMKV_TARSELLO::setFormWindowState(int state) {
    // The suite's window states: 0 normal, 1 minimised, 2 maximised.
    setWindowState(state == 2 ? Qt::WindowMaximized : state == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
}

void FRMKV_TARSELLO::showForm(bool modal) {
    if (!loaded_) Form_Load();
    if (!modal) {
        show();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    while (isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

HostGlobal& FRMKV_TARSELLO::global() const {
    HostGlobal* host = ActiveInterface_ ? ActiveInterface_->ClsGlobal().get() : nullptr;
    if (!host)
        throw MDLKV_CODICIERR::moduleError(MDLKV_CODICIERR::InterfacciaNonImpostata,
                                           QStringLiteral("FRMKV_TARSELLO"));
    return *host;
}

ComboBox* FRMKV_TARSELLO::combo(const QString& name) const {
    return qobject_cast<ComboBox*>(controls_.value(name));
}

void FRMKV_TARSELLO::Form_Load() {
    loaded_ = true;
    guard("Form_Load:", [&] {
        TXT_ID_MG35->hide();
        clsLog = global().CreateLogService();
        for (FrameControl* c : controls_) c->setLogService(clsLog);
        for (VirtualFrame* f : {FME_TESTATA, FME_CAMBIALI, FME_NOTE}) f->setLogService(clsLog);

        const std::shared_ptr<Connection> connection = global().OpenConnection();
        clsConnessione = connection;
        ActiveInterface_->setConnection(connection);
        ActiveClass = dynamic_cast<CLSKV_TARSELLO*>(ActiveInterface_);

        const CompanyContext& context = global().CompanyContext();
        company_ = context.company;
        companyFlag_ = context.parameters.referenceDateSet;
        referenceDate_ = companyFlag_ && context.parameters.referenceDate.isValid()
                             ? context.parameters.referenceDate
                             : QDate::currentDate();
        sections_ = DocumentSections::of(context.parameters, QDate::currentDate());
        InizializzaDecodifiche();
        InizializzaTestata();
        ImpostaVoceDiMenu();
        MDIActiveX1_FormLoad();
        if (ActiveInterface_->WindowModal()) {
            const int left = Value::toInt(ActiveInterface_->Left());
            const int top = Value::toInt(ActiveInterface_->Top());
            move(left == 0 ? 10 : left, top == 0 ? 10 : top);
        }
        if (ActiveClass && Value::toInt(ActiveClass->TipoArchivio) == 1)
            TXT_CIG->AddKeyButtonItem(BillFormTexts::kMenuCigCup, QStringLiteral("1"));
    });
}

void FRMKV_TARSELLO::MDIActiveX1_FormLoad() {
    const int left = Value::toInt(ActiveInterface_->Left());
    const int top = Value::toInt(ActiveInterface_->Top());
    move(left == 0 ? 10 : left, top == 0 ? 10 : top);
    // Larger than the suite's 11745 x 7680 twips: the header and five tabs are laid out to be
    // read without scrolling on a 1366 x 768 screen, and the form never opens larger than its
    // screen. In the host's window it fills its tab instead.
    resize(ScreenFit::bounded(this, QSize(1366, 740)));
}

void FRMKV_TARSELLO::ImpostaVoceDiMenu() {
    guard("ImpostaVoceDiMenu:", [&] {
        auto entry = std::make_shared<MenuEntry>();
        entry->enabled = entry->visible = true;
        entry->progId = BillFormTexts::kMenuProgId;
        entry->menuModulo = ActiveInterface_->MenuModulo();
        entry->menuPadre = ActiveInterface_->MenuPadre();
        entry->caption = BillFormTexts::kCaption;
        ActiveInterface_->setClsVoceMenu(entry);
        global().RegisterMenuEntry(*entry);
    });
}

void FRMKV_TARSELLO::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Activate();
}

void FRMKV_TARSELLO::AttivaModulo() {
    if (!ActiveInterface_) return;
    if (auto global = ActiveInterface_->ClsGlobal()) global->SetActiveModule(ActiveInterface_);
    if (HostNavigator* navigator = ActiveInterface_->ActiveNavigator()) {
        if (auto* frame = qobject_cast<VirtualFrame*>(ActiveInterface_->ActiveFrame()))
            navigator->SetButtonsStatus(frame->Status());
        navigator->RefreshButtons();
    }
}

void FRMKV_TARSELLO::Form_Activate() {
    // The field's own state, not whether its tab is in front: on a tab behind, both stay ready.
    LBL_ATTRESTESI->setVisible(!TXT_ATTRIBUTI->isHidden());
    TXT_CONTRFINANZ->hide();
    if (auto* l = findChild<QLabel*>(QStringLiteral("LBL_TXT_CONTRFINANZ"))) l->hide();
    AttivaModulo();
    if (activated_) return;
    activated_ = true;
    guard("Form_Activate:", [&] {
        savedTab_ = TAB_SCADENZE->geometry();
        savedStorico_ = GRD_STORICO->geometry();
        savedSolleciti_ = GRD_SOLLECITI->geometry();
        if (ActiveInterface_) ActiveInterface_->setActiveFrame(FME_TESTATA);
        layGrids();
        CMD_LAYSCRYPT_OnAddStruttura();
        ApplicaLayOut();
        TXT_PROGR_EF08->AddKeyButtonItem(BillFormTexts::kMenuAllBanks, QStringLiteral("1"));
        if (!clsRstTestata) return;  // the header query failed and was reported
        const bool empty = clsRstTestata->AtBOF() && clsRstTestata->AtEOF();
        if (empty || (ActiveClass && ActiveClass->AperturaSuNuovoEffetto)) {
            FME_TESTATA->setStatus(VirtualFrame::kStatusAdding);
        } else {
            positionOnKey();
        }
        const int tipo = ActiveClass ? Value::toInt(ActiveClass->TipoArchivio) : -1;
        auto showField = [&](QWidget* field, bool visible) {
            field->setVisible(visible);
            if (auto* l = findChild<QLabel*>(QStringLiteral("LBL_") + field->objectName()))
                l->setVisible(visible);
        };
        if (tipo == 0 || tipo == 1) {
            showField(TXT_PDC, false);
            TXT_CLIFOR->setFocus();
        } else if (tipo == 2 || tipo == 3) {
            showField(TXT_CLIFOR, false);
            TXT_PDC->setFocus();
        }
        BuildScript();
        ExecuteFormEvent(QStringLiteral("tsOpen"));
        CHK_FLGEFFVAR->setEnabled(false);
        TXT_CODCARTA->setEnabled(false);
        if (clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF())
            indExp_ = qint16(Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_INDEXP")).Value()));
    });
    // The header frame is active only now, on its first Bill: the host's navigator learns of it.
    AttivaModulo();
}

void FRMKV_TARSELLO::positionOnKey() {
    if (!ActiveClass) return;
    const QStringList key = NullToString(ActiveClass->ChiaveEffettoInGestione).split(QLatin1Char(','));
    if (key.size() != 5 || key[0].trimmed().isEmpty()) return;
    // Each part must be what its column holds: the key comes from the caller's text.
    bool ok = true;
    qint32 numbers[4];
    const int at[4] = {0, 2, 3, 4};
    for (int i = 0; i < 4 && ok; ++i) numbers[i] = key[at[i]].trimmed().toInt(&ok);
    if (!ok) return;
    // A seek by key: the Bill may lie far beyond the rows read so far.
    const QVector<QVariant> values{numbers[0], key[1].trimmed(), numbers[1], numbers[2], numbers[3]};
    if (!clsRstTestata->SeekKey(values)) return;
    FME_TESTATA->Refresh();
    // The Bill found is shown as a move to it would show it: its own currency, type, sections
    // and treasury state, not those of the selection's first Bill.
    FME_TESTATA_ChangeStatus(VirtualFrame::kStatusShown);
}

bool FRMKV_TARSELLO::focusNextPrevChild(bool next) {
    return tabOrder_.move(next) || QWidget::focusNextPrevChild(next);
}

void FRMKV_TARSELLO::closeEvent(QCloseEvent* event) {
    // Closed already, by a close event on its window rather than through the module's
    // CloseForm: when the module or the host quitting closes it again there is nothing left to
    // ask, and no host to ask it through.
    if (unloaded_) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    // A close event sent straight to the form hides nothing by itself: an unloaded form, with
    // neither host nor connection, must not stay on screen.
    if (isVisible()) hide();
}

void FRMKV_TARSELLO::Form_QueryUnload(bool& cancel) {
    // The form cannot go before it has been shown once: it is still being set up.
    if (!activated_) {
        cancel = true;
        return;
    }
    guard("Form_QueryUnload:", [&] {
        AttivaModulo();
        cancel = !FME_TESTATA->ConfirmPending(true, false, true);
        if (cancel) return;
        LayoutScriptHolder& holder = global().LayoutAndScript();
        // A script that failed to build was reported then: built again it would fail the same.
        if (!holder.CurrentScript() && !scriptFailed_) BuildScript();
        const QVariant answer = ExecuteFormEvent(QStringLiteral("tsClose"));
        cancel = answer.isValid() && answer.toBool();
    });
}

void FRMKV_TARSELLO::Form_Unload() {
    if (ActiveInterface_ && ActiveInterface_->ClsGlobal())
        guard("Form_Unload:", [&] { global().LayoutAndScript().SaveLayout(); });
    for (auto* rs :
         {&clsRstTestata, &clsRstCambialiCessioni, &clsRstStorico, &clsRstSolleciti, &clsRstNote}) {
        if (*rs && (*rs)->State() == 1) (*rs)->Close();
        rs->reset();
    }
    saveTransaction_.reset();
    // Handed back to the session, which keeps it open for the next form: nothing of this form's
    // work may stay open on it.
    if (clsConnessione && clsConnessione->InTransaction()) {
        try {
            clsConnessione->RollbackTrans();
        } catch (const SuiteError&) {
            clsConnessione->Close();
        }
    }
    clsConnessione.reset();
    if (ActiveInterface_) {
        ActiveInterface_->setClsGlobal(nullptr);
        ActiveInterface_->setActiveFrame(nullptr);
        // The host's navigator stops acting on a frame that is going away.
        if (HostNavigator* navigator = ActiveInterface_->ActiveNavigator()) navigator->RefreshButtons();
        ActiveInterface_->setActiveNavigator(nullptr);
        ActiveInterface_->setActiveDll(nullptr);
        ActiveInterface_->setStatusBar(nullptr);
        ActiveInterface_->setConnection(nullptr);
        ActiveInterface_->setClsVoceMenu(nullptr);
    }
    ActiveInterface_ = nullptr;
    ActiveClass = nullptr;
    unloaded_ = true;
}

void FRMKV_TARSELLO::MostraErrore(const SuiteError& error) {
    // Rolled back first: the user may leave the message open while others wait on our locks.
    RollBackTransazione();
    if (!clsLog) return;
    // Another user's change and another user's lock are what they are, not faults of the module.
    if (error.number() == SuiteError::kWriteConflict)
        clsLog->MsgBox(WriteConflict::kMessage, WriteConflict::kFlags, WriteConflict::kTitle);
    else if (error.number() == SuiteError::kTimeout)
        clsLog->MsgBox(error.description(), LogService::kExclamation, BillFormTexts::kTitleInformazione);
    else
        clsLog->MsgBox(ErrorReport::text(error, BillFormTexts::kPlace), LogService::kCritical, QString());
}

FRMKV_TARSELLO::BillKey FRMKV_TARSELLO::currentKey() const {
    BillKey key;
    key.company = company_;
    if (!clsRstTestata || clsRstTestata->AtBOF() || clsRstTestata->AtEOF()) return key;
    key.numReg = NullToString(clsRstTestata->Fields(QStringLiteral("EF01_NUMREG_CO99")).Value());
    key.row = Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_RIGACONT_CG42")).Value());
    key.progEc = Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_PROGEC_EC01")).Value());
    key.progEff = Value::toInt(clsRstTestata->Fields(QStringLiteral("EF01_PROGEFF")).Value());
    return key;
}
