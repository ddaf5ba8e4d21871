#include "ScreenChecks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QWidget>

namespace ScreenChecks {

namespace {

QString nameOf(const QWidget* w) {
    if (!w->objectName().isEmpty()) return w->objectName();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    return QString::fromLatin1(w->metaObject()->className());
}

// A data control's editor is named by the control around it.
QString fieldName(const QWidget* w) {
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (p->objectName().startsWith(QLatin1String("TXT_")) ||
            p->objectName().startsWith(QLatin1String("CBO_")) ||
            p->objectName().startsWith(QLatin1String("CHK_")))
            return p->objectName();
    return nameOf(w);
}

QRect globalRect(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// The group a field is read in: its group box, or the bar of buttons it belongs to.
const QWidget* sectionOf(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QGroupBox*>(p) || p->inherits("NavigatorBar")) return p;
    return w;
}

bool takesInput(const QWidget* w) {
    if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) return false;
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) return !e->isReadOnly();
    return w->inherits("QComboBox") || w->inherits("QCheckBox");
}

void collectKeys(QWidget* root, QMultiMap<QKeySequence, QString>& keys) {
    auto add = [&](const QString& text, const QString& who) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) keys.insert(key, who);
    };
    const QList<QWidget*> all = QList<QWidget*>{root} + root->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!w->isVisible()) continue;
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) add(l->text(), l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) add(b->text(), b->text());
        if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i) add(t->tabText(i), t->tabText(i));
        if (auto* m = qobject_cast<QMenuBar*>(w))
            for (QAction* a : m->actions()) add(a->text(), a->text());
    }
}

}  // namespace

QStringList outOfSight(QWidget* window, const QRect& screen) {
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool acts = qobject_cast<QAbstractButton*>(w) || qobject_cast<QTabBar*>(w) ||
                          qobject_cast<QToolBar*>(w) || qobject_cast<QMenuBar*>(w);
        if (!acts || !w->isVisible()) continue;
        const QRect r = globalRect(w);
        bool seen = screen.contains(r);
        for (const QWidget* p = w->parentWidget(); seen && p; p = p->parentWidget()) {
            seen = globalRect(p).contains(r);
            if (p == window) break;
        }
        if (!seen)
            out << QStringLiteral("%1 (%2,%3 %4x%5)")
                       .arg(nameOf(w))
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height());
    }
    return out;
}

QList<QWidget*> tabWalk(QWidget* from, int limit) {
    QList<QWidget*> walk;
    from->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QWidget* start = QApplication::focusWidget();
    if (!start) return walk;
    walk << start;
    for (int i = 0; i < limit; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start) break;
        walk << now;
    }
    return walk;
}

QStringList againstReadingOrder(const QList<QWidget*>& walk) {
    QStringList wrong;
    QList<const QWidget*> left;
    for (int i = 1; i < walk.size(); ++i) {
        const QWidget* a = walk[i - 1];
        const QWidget* b = walk[i];
        const QRect ra = globalRect(a), rb = globalRect(b);
        const QWidget* sa = sectionOf(a);
        const QWidget* sb = sectionOf(b);
        const QString step = fieldName(a) + QStringLiteral(" -> ") + fieldName(b);
        if (sa == sb) {
            const bool sameRow =
                qAbs(ra.center().y() - rb.center().y()) <= qMax(ra.height(), rb.height()) / 2;
            const bool onward = sameRow ? rb.left() > ra.left() : rb.top() > ra.top();
            if (!onward) wrong << step + QStringLiteral(" (goes back within its group)");
            continue;
        }
        left << sa;
        if (left.contains(sb)) wrong << step + QStringLiteral(" (comes back to a group it left)");
        const QRect ga = globalRect(sa), gb = globalRect(sb);
        const int slack = 8;
        if (gb.top() < ga.bottom() - slack && gb.left() < ga.right() - slack)
            wrong << step + QStringLiteral(" (the next group is neither below nor to the right)");
    }
    return wrong;
}

QStringList missedBy(const QList<QWidget*>& walk, QWidget* root) {
    QStringList missed;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (takesInput(w) && !walk.contains(w)) missed << fieldName(w);
    return missed;
}

QStringList clashingAccessKeys(const QList<QWidget*>& roots) {
    QMultiMap<QKeySequence, QString> keys;
    for (QWidget* root : roots) collectKeys(root, keys);
    QStringList clashes;
    for (const QKeySequence& key : keys.uniqueKeys())
        if (keys.count(key) > 1)
            clashes << key.toString(QKeySequence::PortableText) + QStringLiteral(": ") +
                           keys.values(key).join(QStringLiteral(", "));
    return clashes;
}

QStringList deadAccessKeys(QWidget* root, QWidget* window) {
    QStringList dead;
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (QWidget* w : all) {
        auto* l = qobject_cast<QLabel*>(w);
        if (!l || !l->isVisible() || !l->buddy() || !l->buddy()->isVisible() || !l->buddy()->isEnabled())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(l->text());
        if (key.isEmpty()) continue;
        QTest::keyClick(window, key[0].key(), Qt::AltModifier);
        QWidget* target = l->buddy();
        while (target->focusProxy()) target = target->focusProxy();
        if (QApplication::focusWidget() != target) dead << l->text();
    }
    for (QWidget* w : all) {
        auto* t = qobject_cast<QTabBar*>(w);
        if (!t || !t->isVisible()) continue;
        const int shown = t->currentIndex();
        for (int i = 0; i < t->count(); ++i) {
            const QKeySequence key = QKeySequence::mnemonic(t->tabText(i));
            if (key.isEmpty() || !t->isTabEnabled(i) || i == shown) continue;
            QTest::keyClick(window, key[0].key(), Qt::AltModifier);
            if (t->currentIndex() != i) dead << t->tabText(i);
        }
        t->setCurrentIndex(shown);
    }
    return dead;
}

}  // namespace ScreenChecks
