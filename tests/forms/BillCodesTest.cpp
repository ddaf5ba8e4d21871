// Codes that name no row of their archive: marked when the field is left, refused at the save
// with the field's caption, keeping what the clerk typed.
#include "BillFormFixture.h"
#include "VirtualFrame.h"

using BillCodesTest = BillFormTest;
INSTANTIATE_TEST_SUITE_P(Engines, BillCodesTest,
                         ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         [](const auto& info) { return engineName(info.param); });

TEST_P(BillCodesTest, ACodeMissingFromItsArchiveIsMarkedAndRefusedAtTheSave) {
    module_->ChiaveEffettoInGestione = keyOfRow(1);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    for (const auto& [name, code, caption] :
         {std::tuple{"TXT_CODPAG", "ZZZ", "Condizione di pagamento"},
          std::tuple{"TXT_CODAGE", "ZZ999", "Codice agente"},
          std::tuple{"TXT_CODBANCAAPP", "99999", "Banca d'appoggio"},
          std::tuple{"TXT_PROGR_EF08", "9999", "Progressivo banca aziendale"}}) {
        FrameControl* field = f->control(QString::fromLatin1(name));
        ASSERT_TRUE(field->isEnabled()) << name;
        const QString before = field->Text();
        typeInto(field, QString::fromLatin1(code));
        EXPECT_FALSE(field->Valid()) << name;
        log_->clear();
        EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false)) << name;
        ASSERT_EQ(log_->messages().size(), 1) << name;
        EXPECT_TRUE(log_->messages().first().text.contains(QLatin1String(caption)))
            << log_->messages().first().text.toStdString();
        EXPECT_EQ(field->Text(), QString::fromLatin1(code)) << "what the clerk typed stays";
        typeInto(field, before);
        EXPECT_TRUE(field->Valid()) << name;
    }
    log_->clear();
    EXPECT_TRUE(f->FME_TESTATA->UpdateRecord(true, false))
        << (log_->messages().isEmpty() ? std::string() : log_->messages().first().text.toStdString());
}
