#include "LettersDialog.h"

#include "ItalianFormat.h"
#include "SuiteError.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The largest rate and charge the reminder's columns keep (rate 3 integer digits, amounts 13).
const Decimal kMostRate = Decimal(100);
const Decimal kMostCharges = Decimal::fromString(QStringLiteral("9999999999999.99"));

[[noreturn]] void refuse(const QString& text) {
    throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Lettere di sollecito"), text);
}

std::optional<Decimal> number(const QLineEdit* edit, const QString& name, int scale, const Decimal& most) {
    const QString text = edit->text().trimmed().remove(QLatin1Char('.'));
    if (text.isEmpty()) return std::nullopt;
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value) refuse(QStringLiteral("%1 \"%2\" non è un numero.").arg(name, edit->text().trimmed()));
    if (value->sign() < 0) refuse(QStringLiteral("%1 non può essere negativo.").arg(name));
    if (value->rounded(scale) != *value)
        refuse(QStringLiteral("%1 ha al massimo %2 decimali.").arg(name).arg(scale));
    if (*value > most) refuse(QStringLiteral("%1 è troppo grande.").arg(name));
    return value;
}

}  // namespace

LettersDialog::LettersDialog(const QDate& date, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DLG_LETTERESOLLECITO"));
    setWindowTitle(QStringLiteral("Lettere di sollecito"));
    date_ = new QLineEdit(ItalianFormat::date(date), this);
    date_->setMaxLength(10);
    rate_ = new QLineEdit(this);
    rate_->setPlaceholderText(QStringLiteral("nessun interesse"));
    rate_->setMaxLength(12);
    charges_ = new QLineEdit(QStringLiteral("0,00"), this);
    charges_->setMaxLength(18);
    target_ = new QLineEdit(this);
    auto* browse = new QPushButton(QStringLiteral("Sfoglia..."), this);
    connect(browse, &QPushButton::clicked, this, &LettersDialog::browse);
    output_group_ = new QButtonGroup(this);
    auto* outputs = new QVBoxLayout;
    const std::pair<Output, const char*> choices[] = {
        {Output::FilePerCustomer, "Un file PDF per cliente, nella cartella"},
        {Output::OneFile, "Un solo file PDF per tutte le lettere"},
        {Output::Printer, "Stampante"}};
    for (const auto& [output, caption] : choices) {
        auto* button = new QRadioButton(QString::fromUtf8(caption), this);
        output_group_->addButton(button, static_cast<int>(output));
        outputs->addWidget(button);
    }
    output_group_->button(static_cast<int>(Output::FilePerCustomer))->setChecked(true);
    problem_ = new QLabel(this);
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Data delle lettere"), date_);
    form->addRow(QStringLiteral("&Tasso di interesse annuo %"), rate_);
    form->addRow(QStringLiteral("S&pese per effetto €"), charges_);
    form->addRow(QStringLiteral("Destinazione"), outputs);
    auto* where = new QHBoxLayout;
    where->addWidget(target_, 1);
    where->addWidget(browse);
    auto* whereLabel = new QLabel(QStringLiteral("Cartella o &file"), this);
    whereLabel->setBuddy(target_);
    form->addRow(whereLabel, where);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Stampa lettere"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &LettersDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LettersDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
}

QString LettersDialog::target() const {
    return target_->text().trimmed();
}

bool LettersDialog::read() {
    try {
        const QString typed = date_->text().trimmed();
        const QDate date = QDate::fromString(typed, QStringLiteral("dd/MM/yyyy"));
        if (!date.isValid() || date.year() < 1900 || date.year() > 2999)
            refuse(QStringLiteral("La data delle lettere \"%1\" non è una data (gg/mm/aaaa).").arg(typed));
        options_.date = date;
        options_.rate = number(rate_, QStringLiteral("Il tasso di interesse"), 6, kMostRate);
        options_.charges = number(charges_, QStringLiteral("Le spese per effetto"), 2, kMostCharges)
                               .value_or(Decimal::fromMantissa(0, 2));
        output_ = static_cast<Output>(output_group_->checkedId());
        if (output_ == Output::FilePerCustomer && !QFileInfo(target()).isDir())
            refuse(QStringLiteral("Scegliere la cartella in cui scrivere le lettere."));
        if (output_ == Output::OneFile && (target().isEmpty() || QFileInfo(target()).isDir()))
            refuse(QStringLiteral("Scegliere il file PDF in cui scrivere le lettere."));
        problem_->clear();
        return true;
    } catch (const SuiteError& e) {
        problem_->setText(e.description());
        return false;
    }
}

void LettersDialog::accept() {
    if (read()) QDialog::accept();
}

void LettersDialog::browse() {
    const bool folder = output_group_->checkedId() == static_cast<int>(Output::FilePerCustomer);
    const QString chosen =
        folder ? QFileDialog::getExistingDirectory(this, QStringLiteral("Cartella delle lettere"), target())
               : QFileDialog::getSaveFileName(this, QStringLiteral("File delle lettere"), target(),
                                              QStringLiteral("PDF (*.pdf)"));
    if (!chosen.isEmpty()) target_->setText(chosen);
}
