// Codes that name no row of their archive: marked when the field is left, with their description
// empty; the mark goes when a known code is typed again.
#include "BillFormFixture.h"
#include "VirtualFrame.h"

using BillCodesTest = BillFormTest;
INSTANTIATE_ON_ENGINES(BillCodesTest);

TEST_P(BillCodesTest, ACodeMissingFromItsArchiveIsMarkedWithoutAMessage) {
    module_->ChiaveEffettoInGestione = keyOfRow(1);
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    for (const char* name : {"TXT_CODPAG", "TXT_CODAGE", "TXT_CODBANCAAPP", "TXT_PROGR_EF08"}) {
        FrameControl* field = f->control(QString::fromLatin1(name));
        ASSERT_TRUE(field->isEnabled()) << name;
        const QString before = field->Text();
        log_->clear();
        typeInto(field, QStringLiteral("99999"));
        EXPECT_FALSE(field->Valid()) << name;
        EXPECT_TRUE(log_->messages().isEmpty()) << name << ": the decode shows no message of its own";
        EXPECT_EQ(field->Text(), QStringLiteral("99999")) << "what the clerk typed stays";
        typeInto(field, before);
        EXPECT_TRUE(field->Valid()) << name;
    }
}
