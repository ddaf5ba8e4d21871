#pragma once

#include "UnpaidRequest.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The clerk's unpaid for one Bill of a slip: the date the bank gave it back, the bank's charges,
// how the return charges are handled, the charges put on the customer and whether to remind the
// customer. Wrong input is told inside the dialog, the fields kept as typed.
class UnpaidDialog : public QDialog {
    Q_OBJECT
public:
    UnpaidDialog(const SlipKey& slip, const QString& bill, const QString& billText,
                 QWidget* parent = nullptr);

    // The request as typed; valid only after the dialog was accepted.
    const UnpaidRequest& request() const { return request_; }
    void accept() override;

    QLineEdit* dateField() const { return date_; }
    QLineEdit* bankChargesField() const { return bankCharges_; }
    QComboBox* modeField() const { return mode_; }
    QLineEdit* customerChargesField() const { return customerCharges_; }
    QCheckBox* reminderField() const { return reminder_; }
    QString error() const;

private:
    void modeChanged();

    UnpaidRequest request_;
    QLineEdit* date_;
    QLineEdit* bankCharges_;
    QComboBox* mode_;
    QLineEdit* customerCharges_;
    QCheckBox* reminder_;
    QLabel* error_;
};
