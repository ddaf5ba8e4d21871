#pragma once

// The host application as the clerk starts it, on a small demo company: the main window, the
// module reached through the plugin registry, and a scripted message service for every form.
#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "EditBox.h"
#include "HostMainWindow.h"
#include "HostToolbar.h"
#include "PluginRegistry.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest/QTest>

inline const QString kPendingQuestion =
    QStringLiteral("I dati sono stati modificati.\r\nSi desidera salvare le modifiche?");

class HostWindowTest : public ::testing::Test {
protected:
    // The clerk who signs in.
    virtual QString user() const { return QStringLiteral("MROSSI"); }

    void SetUp() override {
        connection_ = demo_.connection;
        host_ = std::make_shared<DatabaseHost>(demo_.db.connectionString(), DemoGenerator::kCompany, user());
        log_ = std::make_shared<ScriptedLogService>();
        host_->setLogServiceFactory([this] { return log_; });
        registry_ = std::make_shared<PluginRegistry>(registryDir_.filePath(QStringLiteral("moduli.json")));
        registry_->Register(QString::fromLatin1(HostMainWindow::kProgId),
                            QStringLiteral(KVUO_TARSELLO_LIBRARY));
        window_ = std::make_unique<HostMainWindow>(host_, connection_, registry_);
        window_->show();
        ASSERT_GT(window_->callingProgram()->search(), 2);
    }
    void TearDown() override {
        if (!window_) return;
        log_->enqueue(7);  // leave without saving whatever a test left pending
        window_->close();
        window_.reset();
    }

    // Opens the Bill on row `row` of the calling program's list; answers its form.
    QWidget* openRow(int row) {
        CallingProgram* calling = window_->callingProgram();
        calling->list()->selectRow(row);
        if (!window_->openModule(calling->filter(), calling->selectedKey())) return nullptr;
        QApplication::processEvents();
        return billForm();
    }
    // The bill form on screen, found as the clerk sees it: in its tab of the host's window.
    QWidget* billForm() const {
        auto* form = window_->findChild<QWidget*>(QStringLiteral("FRMKV_TARSELLO"));
        return form && form->isVisible() ? form : nullptr;
    }
    static VirtualFrame* header(QWidget* form) {
        return form->findChild<VirtualFrame*>(QStringLiteral("FME_TESTATA"));
    }
    static void typeInto(QWidget* form, const QString& control, const QString& text) {
        auto* field = form->findChild<EditBox*>(control);
        ASSERT_TRUE(field);
        field->setFocus();
        field->editor()->setFocus();
        QTest::keyClicks(field->editor(), text);
        QTest::keyClick(field->editor(), Qt::Key_Tab);
    }
    int count(const QString& sql) const { return demo_.count(sql); }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : log_->messages()) texts << m.text;
        return texts;
    }
    void pressNew() { window_->navigator()->action(QStringLiteral("Nuovo"))->trigger(); }

    DemoDatabase demo_{TestEngine::Sqlite, 40};
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<DatabaseHost> host_;
    std::shared_ptr<ScriptedLogService> log_;
    QTemporaryDir registryDir_;
    std::shared_ptr<PluginRegistry> registry_;
    std::unique_ptr<HostMainWindow> window_;
};
