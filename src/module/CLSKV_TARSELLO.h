#pragma once

#include "AttachmentStore.h"
#include "Cinterface.h"
#include "ModuleForm.h"

class LayoutScriptHolder;
class OfficeExport;

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>
#include <memory>

// The module's one creatable class (program id KVUO_TARSELLO.CLSKV_TARSELLO): it keeps what the
// host and the calling program hand over, shows the bill detail form and closes it. It has no
// business logic; every step of its operations that fails is skipped silently, as the host
// expects of a module class.
//
// The calling program's hand-over is made of Qt properties, so that a caller that knows the
// module only through Cinterface sets them by name (setProperty); the form reads the members.
class CLSKV_TARSELLO : public Cinterface {
    Q_OBJECT
    Q_PROPERTY(QString StringaDiSelezioneEffetti MEMBER StringaDiSelezioneEffetti)
    Q_PROPERTY(QString StringaDiOrdinamentoEffetti MEMBER StringaDiOrdinamentoEffetti)
    Q_PROPERTY(QVariant ChiaveEffettoInGestione MEMBER ChiaveEffettoInGestione)
    Q_PROPERTY(QVariant TipoArchivio MEMBER TipoArchivio)
    Q_PROPERTY(bool AperturaSuNuovoEffetto MEMBER AperturaSuNuovoEffetto)
    Q_PROPERTY(
        bool StringaSelezioneContenenteCampiDecodifica MEMBER StringaSelezioneContenenteCampiDecodifica)
public:
    using FormFactory = std::function<std::unique_ptr<ModuleForm>()>;

    explicit CLSKV_TARSELLO(FormFactory formFactory, QObject* parent = nullptr);
    ~CLSKV_TARSELLO() override;

    // The calling program's hand-over of the Bills to show.
    QString StringaDiSelezioneEffetti;
    QString StringaDiOrdinamentoEffetti;
    QVariant ChiaveEffettoInGestione;  // "company,numreg,row,progec,progeff" or a list of five
    QVariant TipoArchivio;
    bool AperturaSuNuovoEffetto = false;
    bool StringaSelezioneContenenteCampiDecodifica = false;

    // Cinterface
    void setClsGlobal(std::shared_ptr<HostGlobal> global) override { global_ = std::move(global); }
    std::shared_ptr<HostGlobal> ClsGlobal() const override { return global_; }
    void setActiveFrame(QObject* frame) override { activeFrame_ = frame; }
    QObject* ActiveFrame() const override { return activeFrame_; }
    void setActiveNavigator(HostNavigator* navigator) override;
    HostNavigator* ActiveNavigator() const override;
    void setActiveDll(Cinterface* dll) override { activeDll_ = dll; }
    Cinterface* ActiveDll() const override { return activeDll_; }
    void setStatusBar(QObject* statusBar) override { statusBar_ = statusBar; }
    QObject* StatusBar() const override { return statusBar_; }
    void setCanInsert(bool value) override { canInsert_ = value; }
    bool CanInsert() const override { return canInsert_; }
    void setCanDelete(bool value) override { canDelete_ = value; }
    bool CanDelete() const override { return canDelete_; }
    void setCanUpdate(bool value) override { canUpdate_ = value; }
    bool CanUpdate() const override { return canUpdate_; }
    void setCanQbe(bool value) override { canQbe_ = value; }
    bool CanQbe() const override { return canQbe_; }
    void setWindowState(qint32 value) override { windowState_ = qint16(value); }
    qint32 WindowState() const override { return windowState_; }
    void setWindowModal(bool value) override { windowModal_ = value; }
    bool WindowModal() const override { return windowModal_; }
    void setProgramMode(qint32 value) override { programMode_ = qint16(value); }
    qint32 ProgramMode() const override { return programMode_; }
    void setMenuModulo(const QVariant& value) override { menuModulo_ = value; }
    QVariant MenuModulo() const override { return menuModulo_; }
    void setMenuPadre(const QVariant& value) override { menuPadre_ = value; }
    QVariant MenuPadre() const override { return menuPadre_; }
    void setMenuProg(const QVariant& value) override { menuProg_ = value; }
    QVariant MenuProg() const override { return menuProg_; }
    void setCaption(const QVariant& value) override { caption_ = value; }
    QVariant Caption() const override { return caption_; }
    void sethwndParent(qint32 value) override { hwndParent_ = value; }
    qint32 hwndParent() const override { return hwndParent_; }
    QVariant ShowForm() override;
    QVariant CloseForm() override;
    void setConnection(std::shared_ptr<Connection> connection) override {
        connection_ = std::move(connection);
    }
    std::shared_ptr<Connection> GetConnection() const override { return connection_; }
    QObject* Cwindow() const override;
    QVariant TransferData(const QVariant& data) override;
    void setTop(const QVariant& value) override;
    QVariant Top() const override { return QVariant(top_); }
    void setLeft(const QVariant& value) override;
    QVariant Left() const override { return QVariant(left_); }
    void setClsVoceMenu(std::shared_ptr<MenuEntry> entry) override { menuEntry_ = std::move(entry); }
    std::shared_ptr<MenuEntry> ClsVoceMenu() const override { return menuEntry_; }
    void setIsActive(bool value) override { isActive_ = value; }
    bool IsActive() const override { return isActive_; }
    void setIsCalled(bool value) override { isCalled_ = value; }
    bool IsCalled() const override { return isCalled_; }
    void setFiltro(const QVariant& value) override { filtro_ = value; }
    QVariant Filtro() const override { return filtro_; }

    // Shows the attachment icon when the record in focus (media id) has attachments.
    void ImpostaIconaAllegati(const QVariant& mediaId);
    // Announces the module to the host again and brings the navigator in line with the frame.
    void AttivaModulo();

    // The host navigator's events and the attachment store's.
    void ActiveNavigator_BeforeChangeDitta(bool* cancel);
    void ActiveNavigator_BeforeExportToOffice(OfficeExport* exportObject);
    void ActiveNavigator_ButtonPressed(int button);
    void ActiveNavigator_InitializeLayoutObjectModel(LayoutScriptHolder* layout);
    void ActiveNavigator_InitializeScriptObjectModel(LayoutScriptHolder* script);
    void clsHyperMedia_AfterMediaCreate(const QString& mediaId);

    ModuleForm* form() const { return form_.get(); }

signals:
    void DataTransfer(const QVariant& data);

private:
    FormFactory formFactory_;
    std::unique_ptr<ModuleForm> form_;
    std::shared_ptr<HostGlobal> global_;
    QPointer<QObject> activeFrame_;
    QPointer<HostNavigator> navigator_;
    Cinterface* activeDll_ = nullptr;
    QPointer<QObject> statusBar_;
    bool canInsert_ = false, canDelete_ = false, canUpdate_ = false, canQbe_ = false;
    qint16 windowState_ = 0;
    bool windowModal_ = false;
    qint16 programMode_ = 0;
    QVariant menuModulo_, menuPadre_, menuProg_, caption_, filtro_;
    qint32 hwndParent_ = 0;
    std::shared_ptr<Connection> connection_;
    qint32 top_ = 0, left_ = 0;
    std::shared_ptr<MenuEntry> menuEntry_;
    bool isActive_ = false, isCalled_ = false;
    std::unique_ptr<AttachmentStore> attachments_;
    // The attachment store, created on first use and connected to the form's connection.
    AttachmentStore& attachments();
};
