#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The order in which Tab (and Enter in a field) goes through a window's fields and buttons, as
// the window lays them out. Qt's own chain is one list for the whole window, which the many
// fields of a form reordered one by one leave in pieces (a tab's fields after the buttons, the
// header never reached again); this one is the window's own, and goes round.
class TabOrder {
public:
    // A data control stands for its editor.
    void setWidgets(const QList<QWidget*>& widgets);
    const QList<QPointer<QWidget>>& widgets() const { return widgets_; }

    // Gives the focus to the next (or the previous) widget that takes it with Tab: shown, enabled,
    // a tab stop. False when the focus is on none of them: Qt's own order applies then.
    bool move(bool next) const;

private:
    QList<QPointer<QWidget>> widgets_;
};
