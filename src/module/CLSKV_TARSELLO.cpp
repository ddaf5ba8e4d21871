#include "CLSKV_TARSELLO.h"

#include "HostGlobal.h"
#include "HostNavigator.h"
#include "MDLKV_TARSELLO.h"
#include "SuiteError.h"
#include "Value.h"

#include <QWidget>

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
    navigator_ = navigator;
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
        if (!attachments_) {
            attachments_ = need(global_).CreateAttachmentStore();
            need(attachments_).setConnection(need(form_).formConnection());
        }
        hasMedia = need(attachments_).HasMedia(id);
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
