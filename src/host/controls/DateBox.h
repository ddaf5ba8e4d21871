#pragma once

#include "EditBox.h"

#include <QDate>
#include <optional>

// An edit box for dates typed as dd/mm/yyyy (also d/m/yyyy or ddmmyyyy, shown back as
// dd/mm/yyyy). Only digits and slashes can be typed; a date that does not exist is refused on
// exit with a message. The value is a QDate.
class DateBox : public EditBox {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent = nullptr);

    QVariant Value() const override;
    void setValue(const QVariant& value) override;

    // The date the text names, or nothing (an empty or impossible date).
    static std::optional<QDate> parse(const QString& text);

protected:
    bool acceptInput(QString* problem) override;
};
