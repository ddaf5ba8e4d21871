#include "HostMainWindow.h"

#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "HostToolbar.h"
#include "LayoutScriptHolder.h"
#include "PluginRegistry.h"
#include "ScriptEditor.h"
#include "SuiteError.h"
#include "UsersDialog.h"
#include "XlsxOfficeExport.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

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
    setCentralWidget(calling_);
    statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Ditta %1 - %2   Utente %3")
                                                   .arg(host_->CompanyContext().company)
                                                   .arg(host_->companyName(), host_->User().code)));
    connect(calling_, &CallingProgram::openBill, this,
            [this](const BillFilter& f, const QString& key) { openModule(f, key); });
    connect(calling_, &CallingProgram::newBill, this,
            [this](const BillFilter& f) { openModule(f, QString()); });
    connect(navigator_, &HostToolbar::closeRequested, this, [this] { closeModule(); });
    connect(navigator_, &HostToolbar::exportRequested, this, [this] { exportModule(); });
    connect(navigator_, &HostToolbar::scriptRequested, this, [this] { editScript(); });
    connect(navigator_, &HostToolbar::companyChangeRequested, this, [this] {
        QMessageBox::information(this, QStringLiteral("Informazione"),
                                 QStringLiteral("Per lavorare su un'altra ditta riavviare il programma."));
    });
    if (host_->User().privileged) {
        QMenu* tools = menuBar()->addMenu(QStringLiteral("&Strumenti"));
        tools->addAction(QStringLiteral("&Utenti e gruppi..."), this, [this] { manageUsers(); });
    }
    resize(1280, 760);
}

void HostMainWindow::manageUsers() {
    UsersDialog dialog(connection_, host_->User().code, QString::fromLatin1(kProgId), this);
    dialog.exec();
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
        QMessageBox::warning(
            this, QStringLiteral("Dettaglio effetti"),
            rights_.query
                ? QStringLiteral("L'utente %1 non può inserire effetti.").arg(host_->User().code)
                : QStringLiteral("L'utente %1 non può consultare gli effetti.").arg(host_->User().code));
        return false;
    }
    if (module_ && !closeModule()) return false;
    QString selection;
    try {
        selection = filter.selectionText();
        module_ = registry_->CreateObject(QString::fromLatin1(kProgId));
    } catch (const SuiteError& e) {
        QMessageBox::critical(this, QStringLiteral("Dettaglio effetti"), e.description());
        return false;
    }
    Cinterface* m = module_.get();
    m->setClsGlobal(host_);
    m->setActiveNavigator(navigator_);
    m->setStatusBar(statusBar());
    m->setWindowModal(false);
    m->setIsActive(true);
    m->setCanInsert(rights_.insert);
    m->setCanUpdate(rights_.update);
    m->setCanDelete(rights_.remove);
    m->setCanQbe(rights_.query);
    m->setTop(10);
    m->setLeft(10);
    QString missing;
    if (!handOver(*m, filter, selection, key, &missing)) {
        QMessageBox::critical(this, QStringLiteral("Dettaglio effetti"),
                              QStringLiteral("Il modulo %1 non accetta la proprietà %2.")
                                  .arg(QString::fromLatin1(kProgId), missing));
        module_.reset();
        return false;
    }
    host_->SetActiveModule(m);
    navigator_->AttachModule(m);
    m->ShowForm();
    return true;
}

bool HostMainWindow::closeModule() {
    if (!module_) return true;
    if (!module_->CloseForm().toBool()) return false;
    navigator_->AttachModule(nullptr);
    host_->SetActiveModule(nullptr);
    module_.reset();
    return true;
}

void HostMainWindow::closeEvent(QCloseEvent* event) {
    if (closeModule())
        event->accept();
    else
        event->ignore();
}

bool HostMainWindow::exportTo(const QString& path) {
    try {
        XlsxOfficeExport::run(*navigator_, path);
        return true;
    } catch (const SuiteError& e) {
        QMessageBox::warning(this, QStringLiteral("Esportazione"), e.description());
        return false;
    }
}

void HostMainWindow::exportModule() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta"),
                                                      QDir::home().filePath(QStringLiteral("effetto.xlsx")),
                                                      QStringLiteral("Cartella di lavoro (*.xlsx)"));
    if (!path.isEmpty()) exportTo(path);
}

void HostMainWindow::editScript() {
    LayoutScriptHolder& holder = host_->LayoutAndScript();
    emit navigator_->InitializeScriptObjectModel(&holder);
    ScriptEditor editor(holder, holder.StructureNames(), this);
    editor.exec();
}
