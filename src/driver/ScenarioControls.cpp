// The driver's commands on forms and their controls: what a person does with the mouse and the
// keyboard, done with real input events so that the controls raise their events as for a person.
#include "ScenarioRunner.h"

#include "CheckBox.h"
#include "ComboBox.h"
#include "EditBox.h"
#include "FrameControl.h"
#include "Grid.h"
#include "IdEditBox.h"
#include "JsonLine.h"
#include "LookupDialog.h"
#include "MemoBox.h"
#include "NavigatorBar.h"
#include "Recordset.h"
#include "ScenarioError.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

namespace {

// The suite's Windows key codes as Qt keys.
Qt::Key qtKey(int code) {
    if (code >= 112 && code <= 135) return Qt::Key(Qt::Key_F1 + (code - 112));
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return Qt::Key(code);
    switch (code) {
        case 8:
            return Qt::Key_Backspace;
        case 9:
            return Qt::Key_Tab;
        case 13:
            return Qt::Key_Return;
        case 27:
            return Qt::Key_Escape;
        case 32:
            return Qt::Key_Space;
        case 33:
            return Qt::Key_PageUp;
        case 34:
            return Qt::Key_PageDown;
        case 35:
            return Qt::Key_End;
        case 36:
            return Qt::Key_Home;
        case 37:
            return Qt::Key_Left;
        case 38:
            return Qt::Key_Up;
        case 39:
            return Qt::Key_Right;
        case 40:
            return Qt::Key_Down;
        case 45:
            return Qt::Key_Insert;
        case 46:
            return Qt::Key_Delete;
        default:
            throw ScenarioError(QStringLiteral("no key with code %1").arg(code));
    }
}

Qt::KeyboardModifiers modifiers(int shift) {
    Qt::KeyboardModifiers m;
    if (shift & 1) m |= Qt::ShiftModifier;
    if (shift & 2) m |= Qt::ControlModifier;
    if (shift & 4) m |= Qt::AltModifier;
    return m;
}

// Text as a person's keyboard and input method deliver it. A character of the keyboard (ASCII
// and the Latin-1 letters and signs of a European layout: à, è, °, £) is a key press and release
// with its Qt key and its text. Any other (€, Greek, Cyrillic, Chinese, characters beyond the
// basic plane) comes, as from an input method or a character map, as one commit of the run of
// such characters: QKeyEvent cannot name a key for them. Backspace, Tab, Enter and Esc are keys;
// a text with another control character is refused before anything is typed.
bool isControlCharacter(char16_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// A line break is Enter, or in a multi-line box (`newLines`) Shift+Enter, which makes one there.
void typeText(QWidget* target, const QString& text, bool newLines = false) {
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (isControlCharacter(c) && c != 8 && c != 9 && c != 10 && c != 13 && c != 27)
            throw ScenarioError(
                QStringLiteral("the text holds the control character U+%1, which no key types")
                    .arg(QString::number(int(c), 16).toUpper().rightJustified(4, u'0')));
    }
    QString committed;
    const auto commit = [&] {
        if (committed.isEmpty()) return;
        QInputMethodEvent event;
        event.setCommitString(committed);
        QApplication::sendEvent(target, &event);
        committed.clear();
    };
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\n' && newLines) {
            commit();
            QTest::keyClick(target, Qt::Key_Return, Qt::ShiftModifier);
        } else if (c < 0x80) {
            commit();
            QTest::keyClick(target, char(c));
        } else if (c >= 0xA0 && c <= 0xFF) {
            commit();
            // Qt names the Latin-1 keys by their capital letter (Key_Agrave for à and À).
            const char16_t upper = QChar::toUpper(c);
            const Qt::Key k = Qt::Key(upper <= 0xFF ? upper : c);
            QTest::sendKeyEvent(QTest::Click, target, k, QString(ch), Qt::NoModifier);
        } else {
            committed += ch;  // a surrogate pair stays whole in the commit
        }
    }
    commit();
}

bool isForm(const QWidget* w) {
    const Qt::WindowType t = w->windowType();
    return w->isWindow() && t != Qt::Popup && t != Qt::ToolTip && t != Qt::Desktop &&
           !qobject_cast<const QMenu*>(w);
}

}  // namespace

QString ScenarioRunner::nameOf(const QWidget* widget) {
    if (!widget) return QString();
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

void ScenarioRunner::trackWindows() {
    opened_.removeAll(QPointer<QWidget>());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && isForm(w) && !opened_.contains(w)) opened_.append(w);
}

QWidget* ScenarioRunner::innermost() const {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) return modal;
    for (qsizetype i = opened_.size() - 1; i >= 0; --i)
        if (opened_[i] && opened_[i]->isVisible()) return opened_[i];
    return nullptr;
}

QWidget* ScenarioRunner::currentForm() {
    trackWindows();
    // A form named by `in` that has since closed gives way to the innermost one.
    if (pinned_ && pinned_->isVisible()) return pinned_;
    pinned_.clear();
    QWidget* form = innermost();
    if (!form) throw ScenarioError(QStringLiteral("no form is open"));
    return form;
}

QWidget* ScenarioRunner::control(const QString& name) {
    QWidget* form = currentForm();
    // A child form created with this form as parent is a window of its own: its controls are
    // not this form's.
    for (QWidget* w : form->findChildren<QWidget*>(name))
        if (w->window() == form) {
            activate(form);
            return w;
        }
    throw ScenarioError(QStringLiteral("unknown control \"%1\" in %2").arg(name, nameOf(form)));
}

template <class T>
T* ScenarioRunner::controlAs(const QString& name, const char* kind) {
    QWidget* w = control(name);
    if (auto* c = qobject_cast<T*>(w)) return c;
    throw ScenarioError(
        QStringLiteral("%1 is a %2, not %3")
            .arg(name, QString::fromLatin1(w->metaObject()->className()), QString::fromLatin1(kind)));
}

void ScenarioRunner::activate(QWidget* form) {
    if (QApplication::activeWindow() == form) return;
    // A form under a modal one cannot be made active, as for a person.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == form) QApplication::setActiveWindow(form);
}

bool ScenarioRunner::isShown(const QWidget* widget) const {
    // The control's own visibility: one on a tab page not in view still counts as shown.
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget())) return false;
    return true;
}

QWidget* ScenarioRunner::focusTarget(QWidget* control) const {
    if (auto* c = qobject_cast<FrameControl*>(control); c && c->editor()) return c->editor();
    return control;
}

bool ScenarioRunner::enter(QWidget* control, const QString& command, const QString& name) {
    QWidget* target = focusTarget(control);
    if (target->hasFocus()) return true;
    // What a person cannot click into is a mistake of the scenario, not a behaviour of the form.
    if (!control->isEnabled())
        throw ScenarioError(QStringLiteral("%1 cannot be entered: it is disabled").arg(name));
    if (!control->isVisible())
        throw ScenarioError(QStringLiteral("%1 cannot be entered: it is %2")
                                .arg(name, isShown(control) ? QStringLiteral("on a tab not in view")
                                                            : QStringLiteral("hidden")));
    target->setFocus(Qt::MouseFocusReason);
    if (target->hasFocus()) return true;
    // Another field refused to be left (bad input, Validate cancelled): the person stays there.
    QString holder;
    for (QWidget* w = QApplication::focusWidget(); w && holder.isEmpty(); w = w->parentWidget())
        if (qobject_cast<FrameControl*>(w) ||
            (!w->objectName().isEmpty() && !w->objectName().startsWith(QStringLiteral("qt_"))))
            holder = w->objectName();
    emitLine(JsonLine(command)
                 .add(QStringLiteral("control"), name)
                 .add(QStringLiteral("entered"), false)
                 .add(QStringLiteral("focus"), holder.isEmpty() ? QVariant() : QVariant(holder))
                 .toJson());
    return false;
}

void ScenarioRunner::focus(const QString& name) {
    enter(control(name), QStringLiteral("focus"), name);
}

void ScenarioRunner::type(const QString& name, const QString& text) {
    if (auto* memo = qobject_cast<MemoBox*>(control(name))) {
        if (!enter(memo, QStringLiteral("type"), name)) return;
        QPlainTextEdit* edit = memo->textEdit();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            typeText(edit, text, true);
        return;
    }
    auto* box = controlAs<EditBox>(name, "an edit box");
    if (!enter(box, QStringLiteral("type"), name)) return;
    QLineEdit* edit = box->lineEdit();
    edit->selectAll();
    // Typing nothing over the selection: the person presses Delete.
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        typeText(edit, text);
}

void ScenarioRunner::leave(const QString& name) {
    QWidget* c = control(name);
    if (!enter(c, QStringLiteral("leave"), name)) return;
    QTest::keyClick(focusTarget(c), Qt::Key_Tab);
}

void ScenarioRunner::select(const QString& name, const QString& code) {
    auto* box = controlAs<ComboBox>(name, "a combo box");
    QComboBox* combo = box->comboBox();
    int index = -1;
    for (int i = 0; i < combo->count() && index < 0; ++i)
        if (Value::toText(combo->itemData(i)).trimmed() == code.trimmed()) index = i;
    if (index < 0) throw ScenarioError(QStringLiteral("%1 has no item with code \"%2\"").arg(name, code));
    if (!enter(box, QStringLiteral("select"), name)) return;
    // A read-only combo does not open its list.
    if (!box->AcceptsInput()) return;
    // Open the list, move to the item and press Enter, as with the keyboard.
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(combo->model()->index(index, combo->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
}

void ScenarioRunner::check(const QString& name, const QString& state) {
    auto* box = controlAs<CheckBox>(name, "a check box");
    if (!enter(box, QStringLiteral("check"), name)) return;
    if (box->Text() != state) QTest::keyClick(box->checkBox(), Qt::Key_Space);
}

void ScenarioRunner::key(const QString& name, int code, int shift) {
    const Qt::Key k = qtKey(code);
    QWidget* c = control(name);
    if (!enter(c, QStringLiteral("key"), name)) return;
    QTest::keyClick(focusTarget(c), k, modifiers(shift));
}

void ScenarioRunner::menu(const QString& name, const QString& key) {
    auto* box = controlAs<EditBox>(name, "an edit box");
    for (QAction* action : box->keyButtonMenu()->actions())
        if (action->data().toString() == key) {
            // A disabled item cannot be chosen: nothing happens, as for a person.
            action->trigger();
            return;
        }
    throw ScenarioError(QStringLiteral("%1 has no menu item \"%2\"").arg(name, key));
}

void ScenarioRunner::click(const QString& name, const QString& key) {
    auto* bar = controlAs<NavigatorBar>(name, "a navigator bar");
    QPushButton* button = bar->button(key);
    if (!button) throw ScenarioError(QStringLiteral("%1 has no button \"%2\"").arg(name, key));
    const auto refused = [&](const QString& reason) {
        emitLine(JsonLine(QStringLiteral("click"))
                     .add(QStringLiteral("control"), name)
                     .add(QStringLiteral("button"), key)
                     .add(QStringLiteral("pressed"), false)
                     .add(QStringLiteral("reason"), reason)
                     .toJson());
    };
    if (!button->isEnabled()) return refused(QStringLiteral("disabled"));
    if (!isShown(button) || !button->isVisible()) return refused(QStringLiteral("hidden"));
    // The click takes the focus first: the field being left may refuse, and then the click
    // does nothing.
    button->setFocus(Qt::MouseFocusReason);
    if (!button->hasFocus()) return refused(QStringLiteral("focus kept by the field being left"));
    bar->press(key);
}

void ScenarioRunner::tab(int index) {
    QWidget* form = currentForm();
    TabControl* tabs = nullptr;
    for (TabControl* t : form->findChildren<TabControl*>())
        if (t->window() == form) {
            tabs = t;
            break;
        }
    if (!tabs) throw ScenarioError(QStringLiteral("%1 has no tab control").arg(nameOf(form)));
    if (index >= tabs->count())
        throw ScenarioError(QStringLiteral("%1 has %2 tabs").arg(nameOf(tabs)).arg(tabs->count()));
    activate(form);
    QTabBar* bar = tabs->tabBar();
    const QRect r = bar->tabRect(index);
    if (r.isValid() && bar->rect().contains(r.center()))
        QTest::mouseClick(bar, Qt::LeftButton, {}, r.center());
    else
        bar->setCurrentIndex(index);  // a tab scrolled out of the strip
}

void ScenarioRunner::row(const QString& name, int row) {
    auto* grid = controlAs<Grid>(name, "a grid");
    QAbstractItemModel* model = grid->model();
    const int rows = model ? model->rowCount() : 0;
    if (row > rows) throw ScenarioError(QStringLiteral("%1 has %2 rows").arg(name).arg(rows));
    if (!grid->isVisible()) throw ScenarioError(QStringLiteral("%1 is not in view").arg(name));
    int column = 0;
    while (column < model->columnCount() && grid->isColumnHidden(column)) ++column;
    const QModelIndex index = model->index(row - 1, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void ScenarioRunner::dblclick(const QString& name) {
    auto* grid = controlAs<Grid>(name, "a grid");
    const QModelIndex index = grid->currentIndex();
    if (!index.isValid()) throw ScenarioError(QStringLiteral("%1 has no current row").arg(name));
    if (!grid->isVisible()) throw ScenarioError(QStringLiteral("%1 is not in view").arg(name));
    grid->scrollTo(index);
    const QPoint at = grid->visualRect(index).center();
    // A view that has not been clicked yet takes the first press of a double click as its own
    // click: the row is clicked first, as the first half of a person's double click selects it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    // May open a modal form: the next commands then run inside its loop.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

void ScenarioRunner::lookup(const QString& name, int row, const QString& filter) {
    auto* box = controlAs<IdEditBox>(name, "a code box");
    if (!enter(box, QStringLiteral("lookup"), name)) return;
    // The search list is modal: a timer picks the row inside its loop, while the scenario waits.
    bool listShown = false;
    QString problem;
    QTimer pick;
    pick.setInterval(0);
    connect(&pick, &QTimer::timeout, this, [&] {
        auto* list = qobject_cast<LookupDialog*>(QApplication::activeModalWidget());
        if (!list) return;
        pick.stop();
        listShown = true;
        QTableWidget* table = list->table();
        if (list->filter()->isVisible()) {
            // A list that filters: the person types in its filter and moves down with the arrow
            // key, reading the rows as they come.
            // Typed as for any field: a character no key types comes from the input method.
            try {
                typeText(list->filter(), filter);
            } catch (const ScenarioError& e) {
                problem = e.message();
                list->reject();
                return;
            }
            for (int r = 1; r < row && r < table->rowCount(); ++r)
                QTest::keyClick(list->filter(), Qt::Key_Down);
        }
        if (row > table->rowCount()) {
            problem = QStringLiteral("the search list of %1 has %2 rows").arg(name).arg(table->rowCount());
            list->reject();
            return;
        }
        // The person moves to the row and presses Enter: the list's default button takes it.
        table->setCurrentCell(row - 1, 0);
        QTest::keyClick(table, Qt::Key_Return);
    });
    paused_ = true;
    pick.start();
    QTest::keyClick(box->editor(), Qt::Key_F3);
    pick.stop();
    paused_ = false;
    scheduleStep();
    if (!problem.isEmpty()) throw ScenarioError(problem);
    if (!listShown) throw ScenarioError(QStringLiteral("F3 on %1 showed no search list").arg(name));
}

void ScenarioRunner::get(const QString& name) {
    QWidget* w = control(name);
    JsonLine line(QStringLiteral("get"));
    line.add(QStringLiteral("control"), name);
    if (auto* c = qobject_cast<FrameControl*>(w)) {
        line.add(QStringLiteral("text"), c->Text()).add(QStringLiteral("value"), c->Value());
    } else if (auto* grid = qobject_cast<Grid*>(w)) {
        const QModelIndex current = grid->currentIndex();
        line.add(QStringLiteral("rows"), grid->model() ? grid->model()->rowCount() : 0)
            .add(QStringLiteral("row"), current.isValid() ? QVariant(current.row() + 1) : QVariant());
    } else if (auto* tabs = qobject_cast<TabControl*>(w)) {
        QVariantList enabled;
        for (int i = 0; i < tabs->count(); ++i) enabled << tabs->TabEnabled(i);
        line.add(QStringLiteral("tab"), tabs->Tab()).add(QStringLiteral("tabs"), enabled);
    } else if (auto* bar = qobject_cast<NavigatorBar*>(w)) {
        QByteArray buttons = "{";
        for (QPushButton* b : bar->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
            buttons += (buttons.size() > 1 ? "," : "") + JsonLine::string(b->objectName()) + ':' +
                       (b->isEnabled() && !b->isHidden() ? "true" : "false");
        line.addJson(QStringLiteral("buttons"), buttons + '}');
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        line.add(QStringLiteral("text"), label->text());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        line.add(QStringLiteral("text"), button->text());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        line.add(QStringLiteral("text"), group->title());
    }
    line.add(QStringLiteral("enabled"), w->isEnabled()).add(QStringLiteral("visible"), isShown(w));
    if (auto* c = qobject_cast<FrameControl*>(w)) line.add(QStringLiteral("valid"), c->Valid());
    emitLine(line.toJson());
}

void ScenarioRunner::field(const QString& column) {
    QWidget* form = currentForm();
    VirtualFrame* frame = nullptr;
    for (VirtualFrame* f : form->findChildren<VirtualFrame*>())
        if (f->window() == form && f->objectName().startsWith(QStringLiteral("FME_"))) {
            frame = f;
            break;
        }
    QVariant value;
    const std::shared_ptr<Recordset> rs = frame ? frame->recordset() : nullptr;
    if (rs && rs->State() == 1) {
        const int index = rs->FieldIndex(column);
        if (index < 0)
            throw ScenarioError(QStringLiteral("%1 has no column %2").arg(frame->objectName(), column));
        if (!rs->AtBOF() && !rs->AtEOF()) value = rs->Fields(index).Value();
    }
    emitLine(JsonLine(QStringLiteral("field"))
                 .add(QStringLiteral("column"), column)
                 .add(QStringLiteral("value"), value)
                 .toJson());
}
