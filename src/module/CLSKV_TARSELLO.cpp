#include "CLSKV_TARSELLO.h"

#include "HostGlobal.h"
#include "HostNavigator.h"
#include "LayoutScriptHolder.h"
#include "LogService.h"
#include "MDLKV_TARSELLO.h"
#include "OfficeExport.h"
#include "SuiteError.h"
#include "Value.h"

#include <QWidget>
#include <algorithm>
#include <iterator>

using MDLKV_TARSELLO::NullToString;

namespace {
// A step of the module class that fails is skipped; the next one runs.
template <class F>
void skip(F&& step) {
    try {
        step();
    } catch (...) {
    }
}

// A host object that is not there fails the step (it is not dereferenced).
template <class P>
auto& need(const P& pointer) {
    if (!pointer)
        throw SuiteError(91, QStringLiteral("CLSKV_TARSELLO"),
                         QStringLiteral("Variabile oggetto non impostata"));
    return *pointer;
}
}  // namespace

CLSKV_TARSELLO::CLSKV_TARSELLO(FormFactory formFactory, QObject* parent)
    : Cinterface(parent), formFactory_(std::move(formFactory)) {
    activeDll_ = this;
}

CLSKV_TARSELLO::~CLSKV_TARSELLO() {
    skip([&] {
        if (attachments_) attachments_->setConnection(nullptr);
    });
    attachments_.reset();
    form_.reset();
    menuEntry_.reset();
    global_.reset();
    navigator_.clear();
    activeDll_ = nullptr;
}

void CLSKV_TARSELLO::setActiveNavigator(HostNavigator* navigator) {
    if (navigator_) disconnect(navigator_, nullptr, this, nullptr);
    navigator_ = navigator;
    if (!navigator) return;
    connect(navigator, &HostNavigator::BeforeChangeDitta, this,
            &CLSKV_TARSELLO::ActiveNavigator_BeforeChangeDitta);
    connect(navigator, &HostNavigator::BeforeExportToOffice, this,
            &CLSKV_TARSELLO::ActiveNavigator_BeforeExportToOffice);
    connect(navigator, &HostNavigator::ButtonPressed, this, &CLSKV_TARSELLO::ActiveNavigator_ButtonPressed);
    connect(navigator, &HostNavigator::InitializeLayoutObjectModel, this,
            &CLSKV_TARSELLO::ActiveNavigator_InitializeLayoutObjectModel);
    connect(navigator, &HostNavigator::InitializeScriptObjectModel, this,
            &CLSKV_TARSELLO::ActiveNavigator_InitializeScriptObjectModel);
}

HostNavigator* CLSKV_TARSELLO::ActiveNavigator() const {
    return navigator_.data();
}

void CLSKV_TARSELLO::setTop(const QVariant& value) {
    skip([&] { top_ = Value::toInt(value); });
}

void CLSKV_TARSELLO::setLeft(const QVariant& value) {
    skip([&] { left_ = Value::toInt(value); });
}

QVariant CLSKV_TARSELLO::ShowForm() {
    skip([&] { form_ = formFactory_(); });
    if (!form_) return QVariant();
    skip([&] { need(form_).setActiveInterface(activeDll_); });
    skip([&] { form_->setActiveClass(dynamic_cast<CLSKV_TARSELLO*>(activeDll_)); });
    skip([&] { form_->setFormWindowState(windowState_); });
    skip([&] {
        const QString caption = NullToString(caption_);
        if (!caption.trimmed().isEmpty()) form_->setFormCaption(caption);
    });
    skip([&] { form_->showForm(windowModal_); });
    return QVariant();
}

QVariant CLSKV_TARSELLO::CloseForm() {
    bool closed = false;
    skip([&] { need(need(activeDll_).ClsGlobal()).SetActiveModule(activeDll_); });
    skip([&] { need(need(activeDll_).ActiveNavigator()).AttachModule(activeDll_); });
    skip([&] { need(form_).unloadForm(); });
    skip([&] { closed = form_ && form_->ActiveInterface() == nullptr; });
    return QVariant(closed);
}

QObject* CLSKV_TARSELLO::Cwindow() const {
    // The form is the module's until it unloads (it empties its interface then).
    if (!form_ || !form_->ActiveInterface()) return nullptr;
    return form_->formWindow();
}

QVariant CLSKV_TARSELLO::TransferData(const QVariant& data) {
    emit DataTransfer(data);
    return QVariant();
}

void CLSKV_TARSELLO::ImpostaIconaAllegati(const QVariant& mediaId) {
    bool hasMedia = false;
    skip([&] {
        const QString id = NullToString(mediaId);
        if (id.isEmpty()) return;
        hasMedia = attachments().HasMedia(id);
    });
    skip([&] {
        need(form_).setFormIcon(need(global_).MainWindowIcon(hasMedia ? QStringLiteral("KProgrammaMM")
                                                                      : QStringLiteral("KProgramma")));
    });
}

void CLSKV_TARSELLO::AttivaModulo() {
    skip([&] { need(need(activeDll_).ClsGlobal()).SetActiveModule(activeDll_); });
    skip([&] {
        need(need(need(need(activeDll_).ClsGlobal()).ActiveModule()).ActiveNavigator())
            .AttachModule(activeDll_);
    });
    skip([&] { need(need(activeDll_).ActiveNavigator()).AttachModule(activeDll_); });
    skip([&] {
        if (QObject* frame = need(activeDll_).ActiveFrame())
            need(activeDll_->ActiveNavigator()).SetButtonsStatus(frame->property("Status").toInt());
    });
    skip([&] { need(need(activeDll_).ActiveNavigator()).RefreshButtons(); });
}

AttachmentStore& CLSKV_TARSELLO::attachments() {
    if (!attachments_) {
        attachments_ = need(global_).CreateAttachmentStore();
        need(attachments_).setConnection(need(form_).formConnection());
        attachments_->AfterMediaCreate = [this](const QString& id) { clsHyperMedia_AfterMediaCreate(id); };
    }
    return *attachments_;
}

void CLSKV_TARSELLO::ActiveNavigator_BeforeChangeDitta(bool* cancel) {
    skip([&] { need(cancel) = true; });
    skip([&] {
        need(need(form_).formLogService())
            .MsgBox(
                QStringLiteral("Il cambio ditta è consentito solo dopo la chiusura del programma in uso!"),
                64, QStringLiteral("Informazione"));
    });
}

void CLSKV_TARSELLO::ActiveNavigator_BeforeExportToOffice(OfficeExport* exportObject) {
    skip([&] { need(form_).exportToOffice(need(exportObject)); });
}

void CLSKV_TARSELLO::ActiveNavigator_ButtonPressed(int button) {
    static constexpr int kAttachmentButtons[] = {11, 12, 13, 15, 16, 17, 25};
    if (!isActive_ || !form_ || !form_->formMainActive()) return;
    if (std::find(std::begin(kAttachmentButtons), std::end(kAttachmentButtons), button) ==
        std::end(kAttachmentButtons))
        return;
    skip([&] {
        MediaContext context;
        context.parent = form_->formWindow();
        context.company = need(global_).CompanyContext().company;
        context.user = global_->User().code;
        context.holdRecord = [form = form_.get()](const QString& newId) {
            return form->holdMediaRecord(newId);
        };
        attachments().ManageMedia(form_->mediaIdInFocus(), button, context);
    });
    // The icon follows what the action left: the first file added, the last one deleted.
    skip([&] { ImpostaIconaAllegati(form_->mediaIdInFocus()); });
}

void CLSKV_TARSELLO::ActiveNavigator_InitializeLayoutObjectModel(LayoutScriptHolder* layout) {
    if (!isActive_) return;
    skip([&] { need(form_).registerLayoutObjects(need(layout)); });
}

void CLSKV_TARSELLO::ActiveNavigator_InitializeScriptObjectModel(LayoutScriptHolder* script) {
    if (!isActive_) return;
    skip([&] { need(form_).registerScriptObjects(need(script)); });
}

void CLSKV_TARSELLO::clsHyperMedia_AfterMediaCreate(const QString& mediaId) {
    bool stored = false;
    skip([&] { stored = need(form_).storeMediaIdInFocus(mediaId); });
    if (!stored) return;
    skip([&] { form_->setFormIcon(need(global_).MainWindowIcon(QStringLiteral("KProgrammaMM"))); });
}
