#pragma once

#include "FrameControl.h"

class QCheckBox;

// A flag: the value is "0" or "1", as the database keeps flags. Click is raised when the user
// changes it (mouse or space bar); values set by the form or the frame raise nothing.
class CheckBox : public FrameControl {
    Q_OBJECT
public:
    explicit CheckBox(const QString& caption = QString(), QWidget* parent = nullptr);

    QVariant Value() const override;
    void setValue(const QVariant& value) override;
    QString Text() const override;
    void setText(const QString& value) override;

    QCheckBox* checkBox() const { return check_; }

signals:
    void Click();

private:
    QCheckBox* check_;
};
