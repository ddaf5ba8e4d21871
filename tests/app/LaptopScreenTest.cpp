// The clerk's laptop and keyboard: every window on a 1366 x 768 screen with its buttons and
// bars in sight, Tab through the fields as they are read, access keys that are unique and take
// the clerk where they say, the host's bar acting only on the window in front.
#include "AgeingView.h"
#include "FrameControl.h"
#include "Grid.h"
#include "HostWindowFixture.h"
#include "MemoBox.h"
#include "NumericBox.h"
#include "ScreenChecks.h"
#include "ScriptEditor.h"
#include "StartDialog.h"
#include "TabControl.h"
#include "UsersDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

using namespace ScreenChecks;

namespace {

const QRect kLaptop(0, 0, 1366, 768);

// What a check found, one item after the other; empty when it found nothing.
std::string listed(const QStringList& found) {
    return found.join(QStringLiteral(" | ")).toStdString();
}

// ADMIN, so that the menu of the privileged users is on screen too.
class LaptopScreenTest : public HostWindowTest {
protected:
    QString user() const override { return QStringLiteral("ADMIN"); }
    void SetUp() override {
        HostWindowTest::SetUp();
        fill(window_.get());
        QApplication::setActiveWindow(window_.get());
    }
    // The window as large as the laptop's screen, its frame included.
    static void fill(QWidget* window) {
        const QSize frame = window->frameGeometry().size() - window->geometry().size();
        window->resize(kLaptop.size() - frame);
        window->move(kLaptop.topLeft());
        QApplication::processEvents();
    }
    // Opens the Bill with the most history movements and reminders, for their tabs.
    QWidget* openBillWithChildRows() {
        Recordset rs;
        rs.Open(QStringLiteral(
                    "SELECT EF06_NUMREG_CO99, EF06_RIGACONT_EF01, EF06_PROGEC_EF01, EF06_PROGEFF_EF01 "
                    "FROM EF06_SCADSTO, EF05_SCADSOLLEC, EF01_SCADENZE WHERE EF05_NUMREG_CO99 = "
                    "EF06_NUMREG_CO99 AND EF05_RIGACONT_EF01 = EF06_RIGACONT_EF01 AND EF05_PROGEC_EF01 = "
                    "EF06_PROGEC_EF01 AND EF05_PROGEFF_EF01 = EF06_PROGEFF_EF01 AND EF01_NUMREG_CO99 = "
                    "EF06_NUMREG_CO99 AND EF01_RIGACONT_CG42 = EF06_RIGACONT_EF01 AND EF01_PROGEC_EC01 = "
                    "EF06_PROGEC_EF01 AND EF01_PROGEFF = EF06_PROGEFF_EF01 AND EF01_TIPOCF_CG44 = 0"),
                connection_);
        if (rs.AtEOF()) return nullptr;
        QStringList key{QString::number(DemoGenerator::kCompany)};
        for (int c = 0; c < 4; ++c) key << Value::toText(rs.Fields(c).Value()).trimmed();
        if (!window_->openModule(window_->callingProgram()->filter(), key.join(u','))) return nullptr;
        QApplication::processEvents();
        return billForm();
    }
    // What answers the keys: the tab in front and the window's menu.
    QList<QWidget*> inFront() const {
        QMdiSubWindow* tab = window_->windows()->currentSubWindow();
        return {tab ? tab : window_->listWindow(), window_->menuBar()};
    }
    // No tab of `window` needs scrolling sideways.
    static QStringList scrolledSideways(QWidget* window) {
        QStringList wide;
        for (auto* page : window->findChildren<QScrollArea*>())
            if (page->isVisible() && page->horizontalScrollBar()->isVisible())
                wide << page->widget()->objectName();
        return wide;
    }
    // Opens the child form of grid tab `tab` on its first row and runs `inside` on it.
    void withChildForm(QWidget* form, int tab, const char* grid,
                       const std::function<void(QDialog&)>& inside) {
        form->findChild<TabControl*>(QStringLiteral("TAB_SCADENZE"))->setTab(tab);
        auto* g = form->findChild<Grid*>(QString::fromLatin1(grid));
        ASSERT_GT(g->model()->rowCount(), 0) << grid;
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* child = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!child) return;
            reached = true;
            QApplication::setActiveWindow(child);
            EXPECT_TRUE(QTest::qWaitForWindowActive(child));
            inside(*child);
            child->close();
        });
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Return);  // Enter on the row opens it
        EXPECT_TRUE(reached) << grid;
    }
};

}  // namespace

// Each window as the clerk meets it on the laptop, each of its tabs in turn: buttons and bars in
// sight, no sideways scrolling, Tab through every field in reading order from the field the
// window opens in, access keys unique among what answers them and each taking the clerk where
// it says.
TEST_F(LaptopScreenTest, EveryWindowFitsReadsInOrderAndAnswersItsAccessKeys) {
    auto check = [&](QWidget* window, QWidget* root, QWidget* first, const std::string& where) {
        QApplication::processEvents();
        EXPECT_EQ(listed(outOfSight(window, kLaptop)), "") << where;
        EXPECT_EQ(listed(scrolledSideways(root)), "") << where;
        const QList<QWidget*> walk = tabWalk(first);
        EXPECT_EQ(listed(againstReadingOrder(walk)), "") << where;
        EXPECT_EQ(listed(missedBy(walk, root)), "") << where;
        const QList<QWidget*> keys = window == root ? QList<QWidget*>{root} : inFront();
        EXPECT_EQ(listed(clashingAccessKeys(keys)), "") << where;
        EXPECT_EQ(listed(deadAccessKeys(root, window)), "") << where;
    };
    CallingProgram* calling = window_->callingProgram();
    EXPECT_EQ(QApplication::focusWidget(), calling->archiveCombo()) << "the list opens in its first filter";
    for (int tab : {1, 0}) {
        calling->tabs()->setCurrentIndex(tab);
        check(window_.get(), calling, calling->archiveCombo(), "list tab " + std::to_string(tab));
    }
    QWidget* form = openBillWithChildRows();
    ASSERT_TRUE(form);
    auto* customer = form->findChild<FrameControl*>(QStringLiteral("TXT_CLIFOR"));
    EXPECT_EQ(QApplication::focusWidget(), customer->editor()) << "the Bill opens in its first field";
    auto* tabs = form->findChild<TabControl*>(QStringLiteral("TAB_SCADENZE"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setTab(tab);
        check(window_.get(), form, customer->editor(), "bill tab " + std::to_string(tab));
    }
    for (const auto& [tab, grid] : {std::pair{2, "GRD_STORICO"}, std::pair{3, "GRD_SOLLECITI"}}) {
        withChildForm(form, tab, grid, [&](QDialog& child) {
            const QSize screen = child.screen()->availableGeometry().size();
            EXPECT_EQ(child.frameGeometry().size().boundedTo(screen), child.frameGeometry().size())
                << grid << ": opens no larger than its screen";
            QWidget* first = child.focusWidget();
            ASSERT_TRUE(first && first->inherits("QLineEdit")) << grid << ": the form opens in a field";
            fill(&child);
            check(&child, &child, first, grid);
        });
    }
    StartDialog start(demo_.db.connectionString(), DemoGenerator::kCompany);
    UsersDialog users(connection_, QStringLiteral("ADMIN"), QStringLiteral(KVUO_TARSELLO_PROGID));
    ScriptEditor script(host_->LayoutAndScript(), {});
    for (QDialog* d : std::initializer_list<QDialog*>{&start, &users, &script}) {
        d->show();
        d->move(0, 0);
        QApplication::processEvents();
        EXPECT_TRUE(kLaptop.contains(d->frameGeometry())) << d->windowTitle().toStdString();
        EXPECT_EQ(listed(clashingAccessKeys({d})), "") << d->windowTitle().toStdString();
        d->hide();
    }
}

// Enter in the list's choices searches; the host's bar acts on the Bill only while its tab is in
// front, and its keys then belong to the window in front (Ctrl+End in the ageing moves the
// ageing, not the Bill); amounts in the form show their thousands grouped.
TEST_F(LaptopScreenTest, TheListsKeysAndTheHostsBarBelongToTheWindowInFront) {
    CallingProgram* calling = window_->callingProgram();
    calling->stateCombo()->setCurrentIndex(calling->stateCombo()->findData(0));
    calling->stateCombo()->setFocus();
    QTest::keyClick(calling->stateCombo(), Qt::Key_Return);
    QAbstractItemModel* list = calling->list()->model();
    ASSERT_GT(list->rowCount(), 0);
    for (int r = 0; r < list->rowCount(); ++r) EXPECT_EQ(list->index(r, 8).data().toString(), "Aperto");

    QWidget* form = openRow(0);
    ASSERT_TRUE(form);
    VirtualFrame* frame = header(form);
    auto* amount = form->findChild<NumericBox*>(QStringLiteral("TXT_IMPEFF"));
    if (amount->Value().value<Decimal>() >= Decimal::fromString(QStringLiteral("1000"))) {
        EXPECT_TRUE(amount->Text().contains(u'.')) << amount->Text().toStdString();
    }
    const int first = frame->recordset()->AbsolutePosition();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    const int last = frame->recordset()->AbsolutePosition();
    EXPECT_GT(last, first) << "Ctrl+End moves the Bill in front to the last";

    window_->windows()->setActiveSubWindow(window_->listWindow());
    calling->tabs()->setCurrentIndex(1);
    for (int i = 0; i < 500 && !calling->ageingView()->done(); ++i) QTest::qWait(20);  // read on opening
    QTableView* ageing = calling->ageingView()->table();
    ageing->setFocus();
    ageing->setCurrentIndex(ageing->model()->index(0, 0));
    int exported = 0;
    QObject::connect(window_->navigator(), &HostToolbar::exportRequested, [&] { ++exported; });
    QTest::keyClick(ageing, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(ageing, Qt::Key_End, Qt::ControlModifier);
    window_->navigator()->press(QStringLiteral("Esporta"));
    EXPECT_EQ(frame->recordset()->AbsolutePosition(), last) << "the Bill behind stays where it was";
    EXPECT_EQ(ageing->currentIndex().row(), ageing->model()->rowCount() - 1);
    EXPECT_EQ(exported, 0);
    for (QAction* a : window_->navigator()->toolBar()->actions())
        EXPECT_TRUE(a->isSeparator() || !a->isEnabled()) << a->text().toStdString();

    window_->windows()->setActiveSubWindow(window_->moduleWindow());
    EXPECT_TRUE(window_->navigator()->action(QStringLiteral("Primo"))->isEnabled());
    EXPECT_TRUE(window_->navigator()->action(QStringLiteral("Esporta"))->isEnabled());
}

// Every key the clerk's guide names for the Bill, pressed in a field as a clerk does.
TEST_F(LaptopScreenTest, EveryKeyTheGuideNamesDoesWhatItSays) {
    CallingProgram* calling = window_->callingProgram();
    calling->list()->setFocus();
    calling->list()->setCurrentIndex(calling->list()->model()->index(1, 0));
    QTest::keyClick(calling->list(), Qt::Key_Return);  // Enter on the row opens it
    QWidget* form = billForm();
    ASSERT_TRUE(form);
    VirtualFrame* frame = header(form);
    auto* field = form->findChild<EditBox*>(QStringLiteral("TXT_NUMDOCORIG"));
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QApplication::processEvents();
    };
    auto at = [&] { return frame->recordset()->AbsolutePosition(); };
    EXPECT_EQ(at(), 2);
    field->editor()->setFocus();
    press(Qt::Key_PageDown);
    EXPECT_EQ(at(), 3);
    press(Qt::Key_PageUp);
    EXPECT_EQ(at(), 2);
    press(Qt::Key_End);
    EXPECT_GT(at(), 3);
    press(Qt::Key_Home);
    EXPECT_EQ(at(), 1);

    const QString before = field->Text();
    QTest::keyClicks(field->editor(), QStringLiteral("-K"));
    press(Qt::Key_Z);
    EXPECT_EQ(field->Text(), before) << "Ctrl+Z gives the Bill back as stored";
    EXPECT_FALSE(frame->isRecordChanged());
    QTest::keyClicks(field->editor(), QStringLiteral("K-9"));
    press(Qt::Key_F10, Qt::NoModifier);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_NUMDOCORIG LIKE '%K-9'")),
              1);
    press(Qt::Key_Return, Qt::NoModifier);
    EXPECT_NE(QApplication::focusWidget(), field->editor()) << "Enter goes on to the next field";
    // F10 takes also what is being typed in a field of the tabs, not only of the header.
    press(Qt::Key_A, Qt::AltModifier);
    auto* note = form->findChild<MemoBox*>(QStringLiteral("TXT_NOTEAMMIN"));
    note->editor()->setFocus();
    QTest::keyClicks(note->editor(), QStringLiteral("Nota F10"));
    // Shift+Enter starts a second line of the note, which stays a line of its own when stored.
    QTest::keyClick(note->editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(note->editor(), QStringLiteral("seconda riga"));
    EXPECT_EQ(QApplication::focusWidget(), note->editor());
    EXPECT_GE(note->editor()->height(), 3 * note->fontMetrics().lineSpacing())
        << "a note shows several lines";
    press(Qt::Key_F10, Qt::NoModifier);
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM EF04_SCADNOTE WHERE EF04_NOTEAMMIN LIKE '%Nota F10_seconda riga%'"
                  " AND EF04_NOTEAMMIN NOT LIKE '%Nota F10 seconda%'")),
              1);
    field->editor()->setFocus();

    press(Qt::Key_N);
    EXPECT_EQ(frame->Status(), VirtualFrame::kStatusAdding);
    press(Qt::Key_Z);
    EXPECT_EQ(frame->Status(), VirtualFrame::kStatusShown);
    const int bills = count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE"));
    log_->enqueue(7);  // no, keep it
    press(Qt::Key_Delete);
    EXPECT_EQ(log_->messages().size(), 1) << "Ctrl+Canc asks first";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EF01_SCADENZE")), bills);
    press(Qt::Key_F4);
    EXPECT_FALSE(billForm()) << "Ctrl+F4 closes the Bill";
    QApplication::processEvents();
    EXPECT_TRUE(window_->listWindow()->isMaximized()) << "the list fills the window again";
}

// The widths the clerk gives the list's and the history grid's columns come back the next time,
// however often the rows are read in between; the ageing's, saved before its tab was ever
// opened, are no widths of his and its columns are fitted to what they show.
TEST_F(LaptopScreenTest, TheColumnWidthsTheClerkGivesComeBackNextTime) {
    QWidget* form = openBillWithChildRows();
    ASSERT_TRUE(form);
    form->findChild<TabControl*>(QStringLiteral("TAB_SCADENZE"))->setTab(2);
    form->findChild<Grid*>(QStringLiteral("GRD_STORICO"))->horizontalHeader()->resizeSection(2, 333);
    QHeaderView* list = window_->callingProgram()->list()->horizontalHeader();
    list->resizeSection(7, 444);
    window_->callingProgram()->search();
    EXPECT_EQ(list->sectionSize(7), 444) << "a new search keeps the clerk's width";
    ASSERT_TRUE(window_->close());

    window_ = std::make_unique<HostMainWindow>(host_, connection_, registry_);
    window_->show();
    ASSERT_GT(window_->callingProgram()->search(), 2);
    EXPECT_EQ(window_->callingProgram()->list()->horizontalHeader()->sectionSize(7), 444);
    AgeingView* ageing = window_->callingProgram()->ageingView();
    window_->callingProgram()->tabs()->setCurrentWidget(ageing);
    for (int i = 0; i < 500 && !ageing->done(); ++i) QTest::qWait(20);
    const QHeaderView* names = ageing->table()->horizontalHeader();
    EXPECT_NE(names->sectionSize(1), names->defaultSectionSize());
    form = openBillWithChildRows();
    ASSERT_TRUE(form);
    form->findChild<TabControl*>(QStringLiteral("TAB_SCADENZE"))->setTab(2);
    EXPECT_EQ(form->findChild<Grid*>(QStringLiteral("GRD_STORICO"))->columnWidth(2), 333);
}
