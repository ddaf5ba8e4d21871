#pragma once

#include <QList>
#include <QRect>
#include <QStringList>

class QWidget;

// What a clerk meets on a screen, checked on real widgets: whether the buttons and bars are on
// the screen, whether Tab goes through the fields in the order they are read, whether the access
// keys are unique and take the clerk where they say.
namespace ScreenChecks {

// The buttons, tab strips, tool bars and menu bars shown in `window` that lie outside `screen`
// (in global coordinates) or are cut by a widget around them.
QStringList outOfSight(QWidget* window, const QRect& screen);

// The widgets Tab stops at, from `from` round to it again (at most `limit` presses).
QList<QWidget*> tabWalk(QWidget* from, int limit = 300);

// The steps of a Tab walk that go against the reading of the window: within a group Tab goes
// row by row, left to right; it leaves a group for good, for one below it or to its right.
QStringList againstReadingOrder(const QList<QWidget*>& walk);

// The fields that take input, shown under `root`, that a Tab walk passes by.
QStringList missedBy(const QList<QWidget*>& walk, QWidget* root);

// The access keys (Alt+letter) of what is shown under `roots` that more than one thing answers,
// as "Alt+S: Scadenza, Salva".
QStringList clashingAccessKeys(const QList<QWidget*>& roots);

// The labels and tabs shown under `root` whose access key, pressed in `window`, does not take the
// clerk to their field or tab.
QStringList deadAccessKeys(QWidget* root, QWidget* window);

}  // namespace ScreenChecks
