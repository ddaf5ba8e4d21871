#pragma once

#include <QTabWidget>

// The form's tab strip: the current tab, which tabs can be chosen, and Click (with the tab left)
// whenever the current tab changes, by the user or by the form.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    int Tab() const { return currentIndex(); }
    void setTab(int index) { setCurrentIndex(index); }
    bool TabEnabled(int index) const { return isTabEnabled(index); }
    void setTabEnabled(int index, bool on) { QTabWidget::setTabEnabled(index, on); }

signals:
    void Click(int previousTab);

private:
    int previous_ = -1;
};
