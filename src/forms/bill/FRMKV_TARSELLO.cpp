#include "FRMKV_TARSELLO.h"

#include "CLSKV_TARSELLO.h"
#include "Connection.h"
#include "HostGlobal.h"
#include "HostNavigator.h"
#include "MDLKV_TARSELLO.h"
#include "SuiteError.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QVBoxLayout>

FRMKV_TARSELLO::FRMKV_TARSELLO(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Dettaglio effetti"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary_);
    bolMainActive = true;
}

FRMKV_TARSELLO::~FRMKV_TARSELLO() = default;

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
    connect(this, &FRMKV_TARSELLO::destroyed, &loop, &QEventLoop::quit);
    while (isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void FRMKV_TARSELLO::Form_Load() {
    loaded_ = true;
    try {
        auto connection = std::make_shared<Connection>();
        connection->Open(ActiveInterface_->ClsGlobal()->DatabaseSettings());
        clsConnessione = connection;
        ActiveInterface_->setConnection(connection);
    } catch (const SuiteError& e) {
        summary_->setText(e.description());
        return;
    }
    const QString key = ActiveClass ? MDLKV_TARSELLO::NullToString(ActiveClass->ChiaveEffettoInGestione) : QString();
    summary_->setText(QStringLiteral("Selezione: %1\nOrdinamento: %2\nTipo archivio: %3\nEffetto: %4")
                          .arg(ActiveClass ? ActiveClass->StringaDiSelezioneEffetti : QString(),
                               ActiveClass ? ActiveClass->StringaDiOrdinamentoEffetti : QString(),
                               ActiveClass ? MDLKV_TARSELLO::NullToString(ActiveClass->TipoArchivio) : QString(), key));
}

void FRMKV_TARSELLO::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Activate();
}

void FRMKV_TARSELLO::Form_Activate() { activated_ = true; }

void FRMKV_TARSELLO::Form_QueryUnload(bool& cancel) {
    // The form cannot go before it has been shown once: it is still being set up.
    if (!activated_) cancel = true;
}

void FRMKV_TARSELLO::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void FRMKV_TARSELLO::Form_Unload() {
    if (clsConnessione) clsConnessione->Close();
    clsConnessione.reset();
    if (ActiveInterface_) {
        ActiveInterface_->setClsGlobal(nullptr);
        ActiveInterface_->setActiveFrame(nullptr);
        ActiveInterface_->setActiveNavigator(nullptr);
        ActiveInterface_->setActiveDll(nullptr);
        ActiveInterface_->setStatusBar(nullptr);
        ActiveInterface_->setConnection(nullptr);
        ActiveInterface_->setClsVoceMenu(nullptr);
    }
    ActiveInterface_ = nullptr;
    ActiveClass = nullptr;
}
