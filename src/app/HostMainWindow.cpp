#include "HostMainWindow.h"

#include "StartUp.h"

#include "AgeingView.h"
#include "ArchivePrograms.h"
#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "HostToolbar.h"
#include "ItalianFormat.h"
#include "LayoutScriptHolder.h"
#include "LogService.h"
#include "PluginRegistry.h"
#include "ScreenFit.h"
#include "ScriptEditor.h"
#include "SlipFiles.h"
#include "SlipListWindow.h"
#include "StartUp.h"
#include "SuiteError.h"
#include "UnpaidDialog.h"
#include "UserLayoutHolder.h"
#include "UsersDialog.h"
#include "XlsxOfficeExport.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

namespace {
// The list's place in the clerk's layout store.
const QString kLayoutProgram = QStringLiteral("SELEZIONE_EFFETTI");
const QString kLayoutWindow = QStringLiteral("Finestra");
const QString kLayoutList = QStringLiteral("Elenco");
const QString kLayoutAgeing = QStringLiteral("Anzianita");
}  // namespace

HostMainWindow::HostMainWindow(std::shared_ptr<DatabaseHost> host, std::shared_ptr<Connection> connection,
                               std::shared_ptr<PluginRegistry> registry, QWidget* parent)
    : QMainWindow(parent),
      host_(std::move(host)),
      connection_(std::move(connection)),
      registry_(std::move(registry)) {
    setWindowTitle(QStringLiteral("Contabilità - %1").arg(host_->companyName()));
    setWindowIcon(host_->MainWindowIcon(QStringLiteral("KProgramma")));
    navigator_ = new HostToolbar(this);
    addToolBar(Qt::TopToolBarArea, navigator_->toolBar());
    calling_ = new CallingProgram(host_, connection_, this);
    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("Finestre"));
    area_->setViewMode(QMdiArea::TabbedView);
    area_->setDocumentMode(true);
    listWindow_ = area_->addSubWindow(calling_);
    listWindow_->setWindowTitle(QStringLiteral("Selezione effetti"));
    listWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    // The list is the window's own: it closes with the program, never by itself.
    listWindow_->setSystemMenu(nullptr);
    listWindow_->installEventFilter(this);
    listWindow_->showMaximized();
    setCentralWidget(area_);
    connect(area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window) navigator_->setModuleInFront(window == moduleWindow_);
    });
    statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Ditta %1 - %2   Utente %3")
                                                   .arg(host_->CompanyContext().company)
                                                   .arg(host_->companyName(), host_->User().code)));
    connect(calling_, &CallingProgram::openBill, this,
            [this](const BillFilter& f, const QString& key) { openModule(f, key); });
    connect(calling_, &CallingProgram::newBill, this,
            [this](const BillFilter& f) { openModule(f, QString()); });
    connect(calling_, &CallingProgram::slipPresented, this,
            [this](const QString& slip) { saveSlipFile(slip); });
    connect(navigator_, &HostToolbar::closeRequested, this, [this] { closeModule(); });
    connect(navigator_, &HostToolbar::exportRequested, this, [this] { exportModule(); });
    connect(navigator_, &HostToolbar::scriptRequested, this, [this] { editScript(); });
    connect(navigator_, &HostToolbar::companyChangeRequested, this, [this] {
        tell(QStringLiteral("Per lavorare su un'altra ditta riavviare il programma."),
             LogService::kInformation, QStringLiteral("Informazione"));
    });
    QMenu* banks = menuBar()->addMenu(QStringLiteral("Banc&he"));
    banks->addAction(QStringLiteral("&File di una distinta per la banca..."), this,
                     [this] { chooseSlipFile(); });
    banks->addAction(QStringLiteral("&Dati della ditta per le banche..."), this,
                     [this] { host_->RunProgram(QString::fromLatin1(ArchivePrograms::kBankData)); });
    banks->addAction(QStringLiteral("&Mandati SEPA dei clienti..."), this,
                     [this] { host_->RunProgram(QString::fromLatin1(ArchivePrograms::kMandates)); });
    banks->addAction(QStringLiteral("&Esiti delle distinte..."), QKeySequence(Qt::CTRL | Qt::Key_E), this,
                     [this] { openSlips(); });
    if (host_->User().privileged) {
        QMenu* tools = menuBar()->addMenu(QStringLiteral("Str&umenti"));
        tools->addAction(QStringLiteral("&Utenti e gruppi..."), this, [this] { manageUsers(); });
    }
    // As large as a laptop's screen allows, frame included, unless the clerk left it otherwise.
    resize(ScreenFit::bounded(this, QSize(1366, 800)));
    layout_ = std::make_unique<UserLayoutHolder>(connection_, host_->User().code, kLayoutProgram);
    layout_->AddStructure(kLayoutWindow, this);
    layout_->AddStructure(kLayoutList, calling_->list());
    layout_->AddStructure(kLayoutAgeing, calling_->ageingView()->table());
    try {
        layout_->ApplyLayout();
    } catch (const SuiteError&) {
        // A layout that cannot be read leaves the window as it is laid out here.
    }
    if (layout_->restored(kLayoutList)) calling_->keepColumnWidths();
    if (layout_->restored(kLayoutAgeing)) calling_->ageingView()->keepColumnWidths();
}

void HostMainWindow::chooseSlipFile() {
    bool ok = false;
    const QString slip = QInputDialog::getText(
        this, QStringLiteral("File della distinta"),
        QStringLiteral("Distinta (tipo/anno/numero; tipo 0 Ri.Ba., 1 RID/SDD):"), QLineEdit::Normal,
        QStringLiteral("0/%1/").arg(QDate::currentDate().year()), &ok);
    if (!ok || slip.trimmed().isEmpty()) return;
    saveSlipFile(slip);
}

void HostMainWindow::saveSlipFile(const QString& slip) {
    // A Ri.Ba. slip's file is the CBI text, a direct-debit slip's the SEPA XML.
    const QString proposed =
        QStringLiteral("distinta-%1.%2")
            .arg(QString(slip).replace(u'/', u'-').replace(u',', u'-'),
                 slip.trimmed().startsWith(u'0') ? QStringLiteral("txt") : QStringLiteral("xml"));
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("File per la banca della distinta %1").arg(slip),
        QDir(QDir::homePath()).filePath(proposed), QStringLiteral("File per la banca (*.txt *.xml)"));
    if (!path.isEmpty()) writeSlipFile(slip, path);
}

bool HostMainWindow::writeSlipFile(const QString& slip, const QString& path) {
    try {
        const SlipFiles::Written written = SlipFiles::write(
            connection_, SlipKey::parse(host_->CompanyContext().company, slip, QStringLiteral("Distinta")),
            path);
        tell(QStringLiteral("File %1 scritto in %2: %3 effetti per %4 euro.")
                 .arg(written.format, QDir::toNativeSeparators(path))
                 .arg(written.bills)
                 .arg(ItalianFormat::amount(written.total)),
             LogService::kInformation, QStringLiteral("File della distinta"));
        return true;
    } catch (const SuiteError& e) {
        tell(e.description(), LogService::kExclamation, QStringLiteral("File della distinta"));
        return false;
    }
}

void HostMainWindow::manageUsers() {
    UsersDialog dialog(connection_, host_->User().code, QString::fromLatin1(kProgId), this);
    dialog.exec();
}

void HostMainWindow::openSlips() {
    SlipListWindow::Person person;
    person.tell = [this](const QString& text, bool refusal) {
        tell(text, refusal ? LogService::kExclamation : LogService::kInformation,
             refusal ? QStringLiteral("Attenzione") : QStringLiteral("Informazione"));
    };
    person.pickFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Esito SEPA (pain.002)"), QString(),
                                            QStringLiteral("File XML (*.xml);;Tutti i file (*)"));
    };
    person.askUnpaid = [](UnpaidDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    try {
        SlipListWindow window(connection_, host_->CompanyContext().company, person, this);
        window.exec();
    } catch (const SuiteError& e) {
        tell(e.description(), LogService::kExclamation, QStringLiteral("Attenzione"));
    }
}

qint32 HostMainWindow::company() const {
    return host_->CompanyContext().company;
}

HostMainWindow::~HostMainWindow() = default;

namespace {
// The calling program's hand-over, as the bill module's properties. Only properties the module
// declares are set: a module without one would otherwise keep it as a stray dynamic property
// and open on Bills nobody chose.
bool handOver(Cinterface& module, const BillFilter& filter, const QString& selection, const QString& key,
              QString* missing) {
    const std::pair<const char*, QVariant> values[] = {
        {"StringaDiSelezioneEffetti", selection},
        {"StringaDiOrdinamentoEffetti", filter.orderText()},
        {"TipoArchivio", filter.tipoArchivio},
        {"ChiaveEffettoInGestione", key.isEmpty() ? QVariant() : QVariant(key)},
        {"AperturaSuNuovoEffetto", key.isEmpty()},
    };
    for (const auto& [name, value] : values) {
        if (module.metaObject()->indexOfProperty(name) < 0 || !module.setProperty(name, value)) {
            *missing = QString::fromLatin1(name);
            return false;
        }
    }
    return true;
}
}  // namespace

bool HostMainWindow::openModule(const BillFilter& filter, const QString& key) {
    if (!rights_.query || (key.isEmpty() && !rights_.insert)) {
        tell(rights_.query
                 ? QStringLiteral("L'utente %1 non può inserire effetti.").arg(host_->User().code)
                 : QStringLiteral("L'utente %1 non può consultare gli effetti.").arg(host_->User().code),
             LogService::kExclamation, QStringLiteral("Dettaglio effetti"));
        return false;
    }
    if (module_ && !closeModule()) return false;
    QString selection;
    try {
        selection = filter.selectionText();
        module_ = registry_->CreateObject(QString::fromLatin1(kProgId));
    } catch (const SuiteError& e) {
        tell(e.description(), LogService::kCritical, QStringLiteral("Dettaglio effetti"));
        return false;
    }
    Cinterface* m = module_.get();
    StartUp::handOver(*m, host_, navigator_, rights_);
    m->setStatusBar(statusBar());
    m->setWindowModal(false);
    m->setTop(10);
    m->setLeft(10);
    QString missing;
    if (!handOver(*m, filter, selection, key, &missing)) {
        tell(QStringLiteral("Il modulo %1 non accetta la proprietà %2.")
                 .arg(QString::fromLatin1(kProgId), missing),
             LogService::kCritical, QStringLiteral("Dettaglio effetti"));
        module_.reset();
        return false;
    }
    host_->SetActiveModule(m);
    navigator_->AttachModule(m);
    m->ShowForm();
    showModuleWindow();
    return true;
}

void HostMainWindow::showModuleWindow() {
    auto* form = module_ ? qobject_cast<QWidget*>(module_->Cwindow()) : nullptr;
    if (!form) return;
    // The field the form put the focus in when it opened keeps it in its tab.
    QPointer<QWidget> focus = form->focusWidget();
    moduleWindow_ = new QMdiSubWindow;
    moduleWindow_->setWidget(form);
    // The form belongs to the module, which lets it go; the tab only shows it.
    moduleWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    moduleWindow_->setSystemMenu(nullptr);
    area_->addSubWindow(moduleWindow_);
    moduleWindow_->showMaximized();
    area_->setActiveSubWindow(moduleWindow_);
    navigator_->setModuleInFront(true);
    form->installEventFilter(this);
    if (focus) focus->setFocus(Qt::OtherFocusReason);
}

bool HostMainWindow::closeModule() {
    if (!module_) return true;
    if (!module_->CloseForm().toBool()) return false;
    releaseModule();
    return true;
}

void HostMainWindow::releaseModule() {
    navigator_->AttachModule(nullptr);
    host_->SetActiveModule(nullptr);
    // The form goes with its module, before the tab that showed it.
    module_.reset();
    if (QMdiSubWindow* tab = moduleWindow_) {
        moduleWindow_ = nullptr;
        area_->removeSubWindow(tab);
        tab->deleteLater();
    }
    // The list fills the window again (taking a tab away leaves the others as loose windows).
    listWindow_->showMaximized();
    area_->setActiveSubWindow(listWindow_);
}

bool HostMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listWindow_ && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    // The form closed by itself (its own close, a script): once it has let go of the host, its
    // module and its tab go too.
    if (event->type() == QEvent::Hide && moduleWindow_ && watched == moduleWindow_->widget())
        QTimer::singleShot(0, this, [this] {
            if (module_ && !module_->Cwindow()) releaseModule();
        });
    return QMainWindow::eventFilter(watched, event);
}

void HostMainWindow::closeEvent(QCloseEvent* event) {
    if (!closeModule()) {
        event->ignore();
        return;
    }
    try {
        layout_->SaveLayout();
    } catch (const SuiteError&) {
        // The layout is a convenience: a database that refuses it does not keep the clerk in.
    }
    event->accept();
}

bool HostMainWindow::exportTo(const QString& path) {
    try {
        XlsxOfficeExport::run(*navigator_, path);
        return true;
    } catch (const SuiteError& e) {
        tell(e.description(), LogService::kExclamation, QStringLiteral("Esportazione"));
        return false;
    }
}

void HostMainWindow::exportModule() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta"),
                                                      QDir::home().filePath(QStringLiteral("effetto.xlsx")),
                                                      QStringLiteral("Cartella di lavoro (*.xlsx)"));
    if (!path.isEmpty()) exportTo(path);
}

void HostMainWindow::tell(const QString& text, int flags, const QString& title) const {
    host_->CreateLogService()->MsgBox(text, flags, title);
}

void HostMainWindow::editScript() {
    LayoutScriptHolder& holder = host_->LayoutAndScript();
    emit navigator_->InitializeScriptObjectModel(&holder);
    ScriptEditor editor(holder, holder.StructureNames(), this);
    editor.exec();
}
