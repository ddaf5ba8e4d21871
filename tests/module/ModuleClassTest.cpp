#include "AttachmentStore.h"
#include "CLSKV_TARSELLO.h"
#include "Connection.h"
#include "CurrencyConverter.h"
#include "FRMKV_TARSELLO.h"
#include "HistoryWriter.h"
#include "HostGlobal.h"
#include "LayoutScriptHolder.h"
#include "NumberingService.h"
#include "PluginRegistry.h"
#include "Schema.h"
#include "ScriptedLogService.h"
#include "SuiteError.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

// The host's global object as a test gives it: one company database, no real main window.
class TestHost : public HostGlobal {
public:
    explicit TestHost(QString database) : database_(std::move(database)) {}
    void SetActiveModule(Cinterface* module) override { active = module; }
    Cinterface* ActiveModule() const override { return active; }
    const ::CompanyContext& CompanyContext() const override { return company_; }
    const LoggedUser& User() const override { return user_; }
    QString DatabaseSettings() const override { return database_; }
    std::shared_ptr<Connection> OpenConnection() const override {
        return ConnectionFactory(database_, Schema::catalogue()).open();
    }
    QString GetMessage(int number, const QVariantList&) const override { return QString::number(number); }
    QIcon MainWindowIcon(const QString&) const override { return QIcon(); }
    void RegisterMenuEntry(const MenuEntry&) override {}
    bool RunProgram(const QString&, const QVariantList&, QVariant*) override { return false; }
    std::unique_ptr<AttachmentStore> CreateAttachmentStore() const override { return nullptr; }
    std::shared_ptr<LogService> CreateLogService() const override {
        return std::make_shared<ScriptedLogService>();
    }
    std::unique_ptr<NumberingService> CreateNumberingService() const override { return nullptr; }
    std::unique_ptr<HistoryWriter> CreateHistoryWriter() const override { return nullptr; }
    std::unique_ptr<CurrencyConverter> CreateCurrencyConverter() const override { return nullptr; }
    LayoutScriptHolder& LayoutAndScript() override { return layouts_; }

    Cinterface* active = nullptr;
    // No layouts and no scripts: what a host without either gives.
    struct NoLayouts : LayoutScriptHolder {
        void AddStructure(const QString&, QWidget*) override {}
        std::shared_ptr<LayoutObject> CurrentLayout() const override { return nullptr; }
        void ClearLayout() override {}
        void ApplyLayout() override {}
        void SaveLayout() override {}
        std::shared_ptr<ScriptObject> CurrentScript() const override { return nullptr; }
        void ClearScript() override {}
        void BuildScript() override {}
    } layouts_;

private:
    QString database_;
    ::CompanyContext company_;
    LoggedUser user_;
};

// A form whose unload the user refuses once (unsaved changes answered Cancel).
class RefusingForm : public ModuleForm {
public:
    explicit RefusingForm(int* refusals) : refusals_(refusals) {}
    void setActiveInterface(Cinterface* m) override { active_ = m; }
    Cinterface* ActiveInterface() const override { return active_; }
    void setActiveClass(CLSKV_TARSELLO*) override {}
    void setFormWindowState(int) override {}
    void setFormCaption(const QString& c) override { caption = c; }
    void setFormIcon(const QIcon&) override {}
    void showForm(bool) override {}
    void unloadForm() override {
        if ((*refusals_)-- > 0) return;
        active_ = nullptr;
    }
    QWidget* formWindow() override { return nullptr; }
    std::shared_ptr<Connection> formConnection() const override { return nullptr; }
    QString caption = QStringLiteral("Dettaglio effetti");

private:
    int* refusals_;
    Cinterface* active_ = nullptr;
};

}  // namespace

TEST(ModuleClass, KeepsWhatTheHostHandsOverInTheHostsTypes) {
    CLSKV_TARSELLO module([] { return nullptr; });
    EXPECT_EQ(module.ActiveDll(), &module);
    module.setTop(QStringLiteral("120"));
    EXPECT_EQ(module.Top(), QVariant(qint32(120)));
    EXPECT_EQ(module.Top().metaType().id(), QMetaType::Int);
    module.setLeft(QStringLiteral("dieci"));  // refused silently, the old value stays
    EXPECT_EQ(module.Left(), QVariant(0));
    module.setWindowState(70000);  // a Long kept as a 16-bit Integer
    EXPECT_EQ(module.WindowState(), qint32(qint16(70000)));
    module.setProgramMode(3);
    EXPECT_EQ(module.ProgramMode(), 3);
    EXPECT_EQ(module.Cwindow(), nullptr);
    module.setFiltro(QStringLiteral("X"));
    EXPECT_EQ(module.Filtro(), QVariant(QStringLiteral("X")));

    QSignalSpy spy(&module, &CLSKV_TARSELLO::DataTransfer);
    EXPECT_FALSE(module.TransferData(QVariantList{1, QStringLiteral("A")}).isValid());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0), QVariant(QVariantList{1, QStringLiteral("A")}));
}

TEST(ModuleClass, CloseFormAnswersWhetherTheFormReallyClosed) {
    int refusals = 1;
    RefusingForm* shown = nullptr;
    CLSKV_TARSELLO module([&] {
        auto f = std::make_unique<RefusingForm>(&refusals);
        shown = f.get();
        return f;
    });
    module.setCaption(QStringLiteral("   "));  // blanks leave the form's own caption
    module.ShowForm();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->caption, QStringLiteral("Dettaglio effetti"));
    EXPECT_EQ(shown->ActiveInterface(), &module);
    // No host objects at all: every host step is skipped, the answer is still right.
    EXPECT_EQ(module.CloseForm(), QVariant(false));
    EXPECT_EQ(module.CloseForm(), QVariant(true));
}

TEST(BillForm, RefusesToCloseBeforeItsFirstActivationAndReleasesTheHostWhenItCloses) {
    TestDatabase db(TestEngine::Sqlite);
    auto host = std::make_shared<TestHost>(db.connectionString());
    CLSKV_TARSELLO module([] { return std::make_unique<FRMKV_TARSELLO>(); });
    module.setClsGlobal(host);

    FRMKV_TARSELLO early;
    early.setActiveInterface(&module);
    EXPECT_FALSE(early.close());  // never shown: still being set up

    module.ShowForm();
    auto* form = dynamic_cast<FRMKV_TARSELLO*>(module.form());
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(module.Cwindow(), form);  // what a host reaches the form's window by
    ASSERT_TRUE(module.GetConnection());
    EXPECT_EQ(module.GetConnection()->State(), 1);
    EXPECT_EQ(module.CloseForm(), QVariant(true));
    EXPECT_EQ(host->active, &module);
    EXPECT_EQ(module.Cwindow(), nullptr);
    EXPECT_FALSE(module.GetConnection());
    EXPECT_FALSE(module.ClsGlobal());
}

TEST(PluginRegistry, CreatesTheModuleByItsProgramIdOnlyWhileRegistered) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("moduli.json"));
    const QString progId = QStringLiteral("KVUO_TARSELLO.CLSKV_TARSELLO");
    {
        PluginRegistry registry(file);
        registry.Register(progId, QStringLiteral(KVUO_TARSELLO_LIBRARY));
    }
    PluginRegistry registry(file);  // registration survives: it is on disk
    ASSERT_TRUE(registry.IsRegistered(progId.toLower()));
    std::unique_ptr<Cinterface> module = registry.CreateObject(progId);
    ASSERT_TRUE(module);
    auto* cls = dynamic_cast<CLSKV_TARSELLO*>(module.get());
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(module->ActiveDll(), module.get());
    // The calling program's hand-over reaches the module by property name alone, in its types.
    EXPECT_TRUE(module->setProperty("StringaDiSelezioneEffetti", QStringLiteral("EF01_INDSTATO_S = 0")));
    EXPECT_TRUE(module->setProperty("StringaDiOrdinamentoEffetti", QStringLiteral("EF01_SCADE_S")));
    EXPECT_TRUE(module->setProperty("TipoArchivio", 3));
    EXPECT_TRUE(module->setProperty("ChiaveEffettoInGestione", QStringLiteral("1,2024000001,1,1,1")));
    EXPECT_TRUE(module->setProperty("AperturaSuNuovoEffetto", true));
    EXPECT_TRUE(module->setProperty("StringaSelezioneContenenteCampiDecodifica", QStringLiteral("true")));
    EXPECT_EQ(cls->StringaDiSelezioneEffetti, QStringLiteral("EF01_INDSTATO_S = 0"));
    EXPECT_EQ(cls->StringaDiOrdinamentoEffetti, QStringLiteral("EF01_SCADE_S"));
    EXPECT_EQ(cls->TipoArchivio, QVariant(3));
    EXPECT_EQ(cls->ChiaveEffettoInGestione, QVariant(QStringLiteral("1,2024000001,1,1,1")));
    EXPECT_TRUE(cls->AperturaSuNuovoEffetto);
    EXPECT_TRUE(cls->StringaSelezioneContenenteCampiDecodifica);
    EXPECT_TRUE(module->setProperty("ChiaveEffettoInGestione", QVariant()));  // a new Bill: no key
    EXPECT_FALSE(cls->ChiaveEffettoInGestione.isValid()) << cls->ChiaveEffettoInGestione.typeName();
    EXPECT_EQ(module->metaObject()->indexOfProperty("StringaDiSelezione"), -1);

    registry.Register(QStringLiteral("KVUO_ALTRO.CLSKV_ALTRO"), QStringLiteral(KVUO_TARSELLO_LIBRARY));
    EXPECT_THROW(registry.CreateObject(QStringLiteral("KVUO_ALTRO.CLSKV_ALTRO")), SuiteError);
    registry.Register(QStringLiteral("KVUO_ROTTO.CLSKV_ROTTO"), dir.filePath(QStringLiteral("missing.so")));
    EXPECT_THROW(registry.CreateObject(QStringLiteral("KVUO_ROTTO.CLSKV_ROTTO")), SuiteError);
    registry.Unregister(progId);
    try {
        registry.CreateObject(progId);
        FAIL();
    } catch (const SuiteError& e) {
        EXPECT_TRUE(e.description().contains(progId));
    }
}
