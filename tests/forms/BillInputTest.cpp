// What a clerk types into the bill form, right or wrong: a wrong value is refused with a message
// and nothing is stored; the value still being typed is the one saved; the caller's selection
// text can never run anything but the one read.
#include "BillFormFixture.h"
#include "ComboBox.h"
#include "EditBox.h"
#include "MainNavigator.h"
#include "VirtualFrame.h"

#include <QLabel>
#include <QTabWidget>

namespace {

QString textOf(FRMKV_TARSELLO* f, const char* name) {
    return f->control(QString::fromLatin1(name))->Text();
}

QVariant columnOf(FRMKV_TARSELLO* f, const char* column) {
    return f->clsRstTestata->Fields(QString::fromLatin1(column)).Value();
}

}  // namespace

class BillInputTest : public BillFormTest {};
INSTANTIATE_ON_ENGINES(BillInputTest);

// Numbers typed or refused field by field: tests/scenarios/typed_numbers.scn.

TEST_P(BillInputTest, TheFieldStillBeingTypedIsSavedAndAnEmptyRequiredOneIsNamed) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    // Typed and not left: the toolbar's save (F10) collects it; the field keeps the focus.
    FrameControl* origin = f->control(QStringLiteral("TXT_NUMDOCORIG"));
    typeInto(origin, QStringLiteral("Fatt. d'acc. n°7 «è»"), false);
    ASSERT_TRUE(f->FME_TESTATA->UpdateRecord(true, false)) << log_->messages().last().text.toStdString();
    EXPECT_EQ(Value::toText(columnOf(f, "EF01_NUMDOCORIG")), QStringLiteral("Fatt. d'acc. n°7 «è»"));
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMDOCORIG = "
                                          "'Fatt. d''acc. n°7 «è»'")),
              1);
    EXPECT_TRUE(origin->isEntered());
    EXPECT_FALSE(f->FME_TESTATA->isRecordChanged());
    // The field takes no more than its column holds.
    typeInto(origin, QStringLiteral("Ventiquattro caratteri!!"));
    EXPECT_EQ(origin->Text(), QStringLiteral("Ventiquattro caratte"));

    // The due date emptied: the save names the field instead of failing in the database.
    log_->clear();
    typeInto(f->control(QStringLiteral("TXT_SCADE")), QString());
    EXPECT_FALSE(f->FME_TESTATA->UpdateRecord(true, false));
    ASSERT_EQ(log_->messages().size(), 1);
    EXPECT_TRUE(log_->messages().first().text.contains(QStringLiteral("\"Data scadenza\"")))
        << log_->messages().first().text.toStdString();
    EXPECT_FALSE(f->connectionInTransactionForTest());
    EXPECT_TRUE(f->FME_TESTATA->isRecordChanged());
}

TEST_P(BillInputTest, ASelectionThatWouldRunAnotherStatementIsRefusedOnce) {
    const int notes = demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF04_SCADNOTE"));
    ASSERT_GT(notes, 0);
    for (const QString& selection :
         {QStringLiteral("1=1) ; DELETE FROM EF04_SCADNOTE WHERE (1=1"), QStringLiteral("1=1) --"),
          QStringLiteral("EF01_NUMDOCORIG = 'x"), QStringLiteral("1=1 /* */")}) {
        log_->clear();
        module_->StringaDiSelezioneEffetti = selection;
        FRMKV_TARSELLO* f = show();
        ASSERT_TRUE(f);
        QApplication::processEvents();
        EXPECT_EQ(log_->messages().size(), 1) << selection.toStdString();
        if (!log_->messages().isEmpty()) {
            EXPECT_TRUE(log_->messages().first().text.contains(QStringLiteral("Stringa di selezione")))
                << log_->messages().first().text.toStdString();
        }
        module_->CloseForm();
        module_->setActiveDll(module_.get());
        module_->setClsGlobal(host_);
    }
    // An order that smuggles a statement is refused the same way.
    log_->clear();
    module_->StringaDiSelezioneEffetti = QString();
    module_->StringaDiOrdinamentoEffetti = QStringLiteral("EF01_NUMEFF; DELETE FROM EF04_SCADNOTE");
    ASSERT_TRUE(show());
    EXPECT_EQ(log_->messages().size(), 1);
    EXPECT_EQ(demo_->count(QStringLiteral("SELECT COUNT(*) FROM EF04_SCADNOTE")), notes);

    // A selection with quotes and accents inside its literals is a selection like any other.
    module_->CloseForm();
    module_->setActiveDll(module_.get());
    module_->setClsGlobal(host_);
    log_->clear();
    module_->StringaDiOrdinamentoEffetti = QStringLiteral("EF01_NUMEFF");
    module_->StringaDiSelezioneEffetti = QStringLiteral("EF01_NUMDOCORIG <> 'l''è; -- già (fatto'");
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    EXPECT_TRUE(log_->messages().isEmpty()) << log_->messages().first().text.toStdString();
}

TEST_P(BillInputTest, FieldStatesFollowTheBillShownFromTheFirstOne) {
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f && f->clsRstTestata);
    // Sections follow the company's sections rule on the very first Bill.
    EXPECT_EQ(f->control(QStringLiteral("TXT_SEZDOC"))->isEnabled(), f->SezionaleAbilitato());
    EXPECT_FALSE(f->control(QStringLiteral("TXT_ATTRIBUTI"))->AcceptsInput())
        << "the Bill's GUID is never typed over";
    // Its caption stands beside it when the clerk turns to its tab.
    f->findChild<QTabWidget*>()->setCurrentIndex(4);
    EXPECT_TRUE(f->findChild<QLabel*>(QStringLiteral("LBL_ATTRESTESI"))->isVisible());

    // The sub-type field follows each Bill's type as the clerk moves.
    auto* type = static_cast<ComboBox*>(f->control(QStringLiteral("CBO_TIPOEFF")));
    FrameControl* subtype = f->control(QStringLiteral("TXT_STIPOEFF"));
    // "Stato scadenza" shows the state given to each Bill's GUID, never the GUID, and keeps it.
    FrameControl* state = f->control(QStringLiteral("TXT_EF01_GUID_STATO"));
    int withState = 0;
    for (int i = 0; i < 40; ++i) {
        const int code = Value::isNull(type->Value()) ? 0 : Value::toInt(type->Value());
        EXPECT_EQ(subtype->isEnabled(), code == 2 || (code >= 7 && code <= 16)) << "type " << code;
        const QVariant guid = columnOf(f, "EF01_GUID");
        EXPECT_EQ(state->Value(), guid);
        const bool given =
            demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV08_STATIGUID WHERE KV08_GUID = '%1'")
                             .arg(Value::toText(guid))) > 0;
        withState += given ? 1 : 0;
        EXPECT_EQ(state->Text().isEmpty(), !given);
        EXPECT_FALSE(state->Text().contains(Value::toText(guid)));
        f->FME_TESTATA->MoveNext();
    }
    EXPECT_GT(withState, 0);
    EXPECT_FALSE(f->FME_TESTATA->RecordChanged());
    // Leaving the type on one without sub-types empties the sub-type column too.
    f->clsRstTestata->Fields(QStringLiteral("EF01_STIPOEFF")).setValue(3);
    f->clsRstTestata->Fields(QStringLiteral("EF01_TIPOEFF")).setValue(1);
    f->FME_TESTATA->Refresh();
    type->setFocus();
    QApplication::processEvents();
    QTest::keyClick(type->editor(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(Value::isNull(columnOf(f, "EF01_STIPOEFF")));
    EXPECT_TRUE(textOf(f, "TXT_STIPOEFF").isEmpty());
}
