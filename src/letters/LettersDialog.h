#pragma once

#include "LetterBuilder.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;

// What the clerk chooses before printing reminder letters: their date, the interest rate and
// the charges of each Bill, and where the letters go (the printer, a PDF file per customer in a
// folder, or one PDF file for all). Every field is checked when the clerk confirms; a wrong one
// is named under the fields and the dialog stays open with what was typed.
class LettersDialog : public QDialog {
    Q_OBJECT
public:
    enum class Output { Printer, FilePerCustomer, OneFile };

    LettersDialog(const QDate& date, QWidget* parent = nullptr);

    // The choices, read and checked; false, with the reason shown, when one is wrong.
    bool read();
    const LetterOptions& options() const { return options_; }
    Output output() const { return output_; }
    QString target() const;  // the folder or the file

    QLineEdit* dateEdit() const { return date_; }
    QLineEdit* rateEdit() const { return rate_; }
    QLineEdit* chargesEdit() const { return charges_; }
    QLineEdit* targetEdit() const { return target_; }
    QButtonGroup* outputGroup() const { return output_group_; }
    QLabel* problemLabel() const { return problem_; }

    void accept() override;

private:
    void browse();

    QLineEdit* date_;
    QLineEdit* rate_;
    QLineEdit* charges_;
    QLineEdit* target_;
    QButtonGroup* output_group_;
    QLabel* problem_;
    LetterOptions options_;
    Output output_ = Output::FilePerCustomer;
};
