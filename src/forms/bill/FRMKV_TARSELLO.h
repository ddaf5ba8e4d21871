#pragma once

#include "ModuleForm.h"

#include <QLabel>
#include <QWidget>
#include <memory>

class CLSKV_TARSELLO;
class Connection;

// The bill detail form. For now its lifecycle only: it opens its own connection from the host's
// database settings at load, refuses to close before its first activation, and at unload
// releases the connection and clears the module's host references so that CloseForm sees it
// closed. The header, the tabs and their handlers come with the form's later steps.
class FRMKV_TARSELLO : public QWidget, public ModuleForm {
    Q_OBJECT
public:
    explicit FRMKV_TARSELLO(QWidget* parent = nullptr);
    ~FRMKV_TARSELLO() override;

    Cinterface* ActiveInterface_ = nullptr;
    CLSKV_TARSELLO* ActiveClass = nullptr;
    std::shared_ptr<Connection> clsConnessione;
    bool bolMainActive = false;

    // ModuleForm
    void setActiveInterface(Cinterface* module) override { ActiveInterface_ = module; }
    Cinterface* ActiveInterface() const override { return ActiveInterface_; }
    void setActiveClass(CLSKV_TARSELLO* module) override { ActiveClass = module; }
    void setFormWindowState(int state) override;
    void setFormCaption(const QString& caption) override { setWindowTitle(caption); }
    void setFormIcon(const QIcon& icon) override { setWindowIcon(icon); }
    void showForm(bool modal) override;
    void unloadForm() override { close(); }
    std::shared_ptr<Connection> formConnection() const override { return clsConnessione; }

    bool activated() const { return activated_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(bool& cancel);
    void Form_Unload();

    bool loaded_ = false;
    bool activated_ = false;
    QLabel* summary_ = nullptr;
};
