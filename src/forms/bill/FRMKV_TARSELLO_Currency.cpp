// The currency of the Bill and its amounts: the currency code with its rate and the rate's date,
// which currency-side fields are open, the rate looked up for the date, and every amount kept
// in step between euro and the Bill's currency.
#include "AmountPairs.h"
#include "BillFormTexts.h"
#include "CurrencyConverter.h"
#include "CurrencyStatements.h"
#include "DateBox.h"
#include "DecodeRequest.h"
#include "FRMKV_TARSELLO.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LogService.h"
#include "LookupRequest.h"
#include "MDLKV_TARSELLO.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "SuiteError.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QLabel>
#include <QTimer>
#include <algorithm>

using MDLKV_TARSELLO::NullToString;

namespace {
// Open only for a foreign currency, besides the currency amounts.
const char* const kForeignOnly[] = {"TXT_DATACAMBIO", "TXT_CONTRFINANZ", "TXT_IMPADEGCAMBIO",
                                    "TXT_CAMBIOADCONTO", "TXT_DATACAMBIOADCONTO"};
const QDate kEuroStart(1999, 1, 1);
}  // namespace

void FRMKV_TARSELLO::connectCurrencyRules() {
    auto remember = [this](FrameControl* c) {
        connect(c, &FrameControl::BeforeItem, this,
                [this, c] { entryValues_[c->objectName()] = NullToString(c->Text()); });
    };
    remember(TXT_VALUTA);
    connect(TXT_VALUTA, &FrameControl::Validate, this, [this](bool*) {
        // Codes are kept upper-case, whatever the clerk typed.
        TXT_VALUTA->setText(TXT_VALUTA->Text().trimmed().toUpper());
    });
    connect(TXT_VALUTA, &FrameControl::AfterItem, this,
            [this] { guard("TXT_VALUTA_AfterItem:", [&] { TXT_VALUTA_AfterItem(); }); });
    connect(TXT_VALUTA, &FrameControl::KeyDown, this, [this](int key, int shift) {
        guard("TXT_VALUTA_KeyDown:", [&] {
            if (key != 13 || shift != 0) return;
            // After the currency change the leaving runs: the next field depends on its outcome.
            QTimer::singleShot(0, this, [this] {
                FrameControl* date = control(QStringLiteral("TXT_DATACAMBIO"));
                FrameControl* amount = control(QStringLiteral("TXT_IMPEFF"));
                if (date->isEnabled() && date->isVisible())
                    date->setFocus();
                else if (amount->isEnabled() && amount->isVisible())
                    amount->setFocus();
            });
        });
    });
    connect(TXT_VALUTA, &IdEditBox::StartDecode, this, [this](DecodeRequest* request) {
        // The host's currency service knows every currency: no query for each Bill shown.
        request->handled = true;
        const QString code = NullToString(TXT_VALUTA->Text()).toUpper();
        TXT_VALUTA->setValid(code.isEmpty() || currencies().find(code).has_value());
    });
    connect(TXT_VALUTA, &IdEditBox::StartLookup, this, [this](LookupRequest* request) {
        guard("TXT_VALUTA_StartLookup:", [&] {
            request->query = CurrencyStatements::lookup();
            request->columns = BillFormTexts::kLookupValuteColonne;
            request->title = BillFormTexts::kLookupValute;
            request->identifier = QStringLiteral("Lkp_Valute");
            request->connectionString = clsConnessione->ConnectionString();
        });
    });

    FrameControl* date = control(QStringLiteral("TXT_DATACAMBIO"));
    connect(date, &FrameControl::AfterItem, this,
            [this] { guard("TXT_DATACAMBIO_AfterItem:", [&] { RecuperaCambio_Orig(); }); });
    FrameControl* rate = control(QStringLiteral("TXT_CAMBIO"));
    connect(rate, &FrameControl::Validate, this, [this, rate](bool* cancel) {
        const QVariant value = rate->Value();
        if (Value::isNull(value) || Value::toDecimal(value).sign() > 0) return;
        clsLog->MsgBox(BillFormTexts::kCambioNonValido, LogService::kExclamation,
                       BillFormTexts::kTitleControlloDati);
        *cancel = true;
    });

    const AmountPairs& family = AmountPairs::billHeader();
    for (const QString& name : family.euroControls() + family.currencyControls()) {
        FrameControl* c = control(name);
        remember(c);
        // The amount as it stood, to go back to when its conversion is refused.
        connect(c, &FrameControl::BeforeItem, this, [this, c] {
            if (clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF())
                entryAmounts_[c->objectName()] = clsRstTestata->Fields(c->DataField()).Value();
        });
        connect(c, &FrameControl::AfterItem, this, [this, c, label = name + QStringLiteral("_AfterItem:")] {
            guard(label.toLatin1().constData(), [&] { ImportoAfterItem(c); });
        });
    }
}

const CurrencyTable& FRMKV_TARSELLO::currencies() const {
    return global().CompanyContext().parameters.currencies;
}

CurrencyConverter& FRMKV_TARSELLO::converter() {
    if (!clsConvValuta) clsConvValuta = global().CreateCurrencyConverter();
    return *clsConvValuta;
}

QString FRMKV_TARSELLO::valutaEffettiva(bool forEnabling) const {
    QString code = NullToString(TXT_VALUTA->Text()).trimmed().toUpper();
    if (!TXT_VALUTA->Valid()) return forEnabling ? BillFormTexts::kEuro : QString();
    if (code.isEmpty() && forEnabling) return BillFormTexts::kEuro;
    return code;
}

Decimal FRMKV_TARSELLO::cambio() const {
    const QVariant value = control(QStringLiteral("TXT_CAMBIO"))->Value();
    return Value::isNull(value) ? Decimal() : Value::toDecimal(value);
}

void FRMKV_TARSELLO::setHeaderValue(FrameControl* field, const QVariant& value) {
    if (!clsRstTestata || clsRstTestata->AtBOF() || clsRstTestata->AtEOF()) return;
    Field column = clsRstTestata->Fields(field->DataField());
    if (NullToString(column.Value()) != NullToString(value)) {
        column.setValue(value);
        FME_TESTATA->setRecordChanged(true);
    }
    field->setValue(column.Value());
}

void FRMKV_TARSELLO::AbilitaCampiValuta() {
    guard("AbilitaCampiValuta:", [&] {
        const QString currency = valutaEffettiva(true);
        const bool foreign = currency != BillFormTexts::kEuro;
        control(QStringLiteral("TXT_CAMBIO"))->setEnabled(foreign && !currencies().isFixed(currency));
        for (const char* name : kForeignOnly) control(QString::fromLatin1(name))->setEnabled(foreign);
        const bool onRow = clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF();
        const int digits = currencies().decimals(currency);
        for (const QString& name : AmountPairs::billHeader().currencyControls()) {
            auto* box = static_cast<NumericBox*>(control(name));
            box->setEnabled(foreign);
            box->setCurrencyLabel(currency);
            box->setDecimals(digits);
            // Shown again with the currency's digits.
            if (onRow) box->setValue(clsRstTestata->Fields(box->DataField()).Value());
        }
        for (const char* name : {"TXT_SPESERIT", "TXT_SPESERITBAN"})
            static_cast<NumericBox*>(control(QString::fromLatin1(name)))
                ->setCurrencyLabel(BillFormTexts::kEuro);
    });
}

void FRMKV_TARSELLO::TXT_VALUTA_AfterItem() {
    const QString typed = NullToString(TXT_VALUTA->Text()).toUpper();
    const QString entered = entryValues_.value(TXT_VALUTA->objectName()).toUpper();
    if (typed != entered && !typed.isEmpty() && !TXT_VALUTA->Valid())
        clsLog->MsgBox(BillFormTexts::kValutaNonValida.arg(typed), LogService::kExclamation,
                       BillFormTexts::kTitleAttenzione);
    const QString currency = valutaEffettiva(true);
    if (currency == entered) return;
    // One repaint for the whole change, resumed however it ends.
    setUpdatesEnabled(false);
    struct Resume {
        QWidget* w;
        ~Resume() { w->setUpdatesEnabled(true); }
    } resume{this};
    FormattaGridStorico();
    AbilitaCampiValuta();
    FrameControl* rate = control(QStringLiteral("TXT_CAMBIO"));
    FrameControl* date = control(QStringLiteral("TXT_DATACAMBIO"));
    const bool foreign = currency != BillFormTexts::kEuro;
    if (foreign) {
        if (const std::optional<Decimal> fixed = currencies().fixedRate(currency)) {
            setHeaderValue(rate, QVariant::fromValue(*fixed));
            setHeaderValue(date, kEuroStart);
        } else {
            // The rate is looked up when the clerk leaves its date.
            setHeaderValue(rate, QVariant());
            const QVariant document = clsRstTestata->Fields(QStringLiteral("EF01_DATADOC")).Value();
            setHeaderValue(date, Value::isNull(document) ? QVariant(QDate::currentDate()) : document);
        }
    } else {
        setHeaderValue(rate, QVariant());
        setHeaderValue(date, QVariant());
    }
    setHeaderValue(TXT_CONTRFINANZ, QVariant());
    for (const QString& name : AmountPairs::billHeader().currencyControls())
        setHeaderValue(control(name), foreign ? QVariant::fromValue(Decimal()) : QVariant());
}

void FRMKV_TARSELLO::RecuperaCambio_Orig() {
    const QString currency = valutaEffettiva(false);
    if (currency.isEmpty() || currency == BillFormTexts::kEuro) return;
    FrameControl* rate = control(QStringLiteral("TXT_CAMBIO"));
    Recordset fixed;
    fixed.Open(CurrencyStatements::fixedRate(currency), clsConnessione);
    // A currency of the euro area always uses its fixed rate, whatever the date.
    if (rateHint_) rateHint_->hide();
    if (!fixed.AtEOF()) {
        setHeaderValue(rate, fixed.Fields(QStringLiteral("CG08_CAMBIOFISSO")).Value());
        return;
    }
    auto* date = static_cast<DateBox*>(control(QStringLiteral("TXT_DATACAMBIO")));
    if (NullToString(date->Text()).isEmpty() || !date->Valid()) setHeaderValue(date, QDate::currentDate());
    const QDate day = Value::toDate(date->Value());
    for (const QString& sql : {CurrencyStatements::dailyRate(currency, day.year(), day.month(), day.day()),
                               CurrencyStatements::monthlyRate(currency, day.year(), day.month())}) {
        Recordset rs;
        rs.Open(sql, clsConnessione);
        if (!rs.AtEOF()) {
            setHeaderValue(rate, rs.Fields(QStringLiteral("CG09_CAMBIO")).Value());
            return;
        }
    }
    // A hint beside the date, not a question: once for each currency and date, so that tabbing
    // through the field, a save or a move never brings it back.
    const QString hint =
        BillFormTexts::kCambioNonTrovato.arg(currency, day.toString(QStringLiteral("dd/MM/yyyy")));
    if (hint == rateHintShown_) return;
    rateHintShown_ = hint;
    showRateHint(date, hint);
}

void FRMKV_TARSELLO::showRateHint(QWidget* date, const QString& text) {
    if (!rateHint_) {
        rateHint_ = new QLabel(this);
        rateHint_->setObjectName(QStringLiteral("LBL_CAMBIONONTROVATO"));
        rateHint_->setStyleSheet(
            QStringLiteral("background-color: #fff8c4; border: 1px solid #b8a200; padding: 2px;"));
    }
    rateHint_->setText(text);
    rateHint_->adjustSize();
    // Beside the field, kept inside the window; it goes by itself after a while.
    const QPoint right = date->mapTo(this, QPoint(date->width() + 4, 0));
    rateHint_->move(std::max(0, std::min(right.x(), width() - rateHint_->width())), right.y());
    rateHint_->show();
    rateHint_->raise();
    QTimer::singleShot(8000, rateHint_.data(), [hint = rateHint_, text] {
        if (hint && hint->text() == text) hint->hide();
    });
}

void FRMKV_TARSELLO::ImportoAfterItem(FrameControl* field) {
    if (NullToString(field->Text()) == entryValues_.value(field->objectName())) return;
    const bool adding = FME_TESTATA->Status() == VirtualFrame::kStatusAdding;
    const std::optional<AmountPairs::Step> step =
        AmountPairs::billHeader().changed(field->objectName(), adding);
    if (!step) return;
    const QVariant typed = clsRstTestata->Fields(field->DataField()).Value();
    // Every amount this change writes, as it stood: a refused conversion puts them all back, so
    // that no save stores the new amount beside the old one of the other currency.
    QList<std::pair<FrameControl*, QVariant>> before{
        {field, entryAmounts_.value(field->objectName(), typed)}};
    for (const QStringList& names : {step->copies, QStringList{step->target}, step->targetCopies})
        for (const QString& name : names)
            before.append({control(name), clsRstTestata->Fields(control(name)->DataField()).Value()});
    try {
        for (const QString& name : step->copies) setHeaderValue(control(name), typed);
        const QString currency = valutaEffettiva(false);
        const Decimal rate = cambio();
        if (currency.isEmpty() || currency == BillFormTexts::kEuro || rate.isZero()) return;
        if (step->ask &&
            clsLog->MsgBox(AmountPairs::kQuestion,
                           LogService::kYesNo | LogService::kQuestion | LogService::kDefaultButton2,
                           AmountPairs::kTitle) != LogService::kYes)
            return;
        const Decimal converted = step->direction == AmountPairs::Direction::ToCurrency
                                      ? converter().ToCurrency(typed, 2, currency, rate)
                                      : converter().ToEuro(typed, 2, currency, rate);
        setHeaderValue(control(step->target), QVariant::fromValue(converted));
        for (const QString& name : step->targetCopies)
            setHeaderValue(control(name), QVariant::fromValue(converted));
    } catch (const SuiteError& e) {
        for (const auto& [c, value] : before) setHeaderValue(c, value);
        clsLog->MsgBox(BillFormTexts::kConversioneRifiutata.arg(e.description()), LogService::kExclamation,
                       BillFormTexts::kTitleControlloDati);
    }
}

bool FRMKV_TARSELLO::ControlloValuta() {
    FrameControl* missing = nullptr;
    QString message = BillFormTexts::kValutaMancante;
    if (NullToString(TXT_VALUTA->Text()).isEmpty() || !TXT_VALUTA->Valid()) {
        missing = TXT_VALUTA;
    } else if (const QString currency = valutaEffettiva(false); currency != BillFormTexts::kEuro) {
        // A Bill in another currency is worth nothing without its rate and its amount in it.
        const auto value = [&](const char* column) {
            return clsRstTestata->Fields(QString::fromLatin1(column)).Value();
        };
        const QVariant rate = value("EF01_CAMBIO"), amount = value("EF01_IMPEFFVAL_S");
        const bool euroAmount =
            !Value::isNull(value("EF01_IMPEFF_S")) && !Value::toDecimal(value("EF01_IMPEFF_S")).isZero();
        message = BillFormTexts::kValutaIncompleta.arg(currency);
        if (Value::isNull(rate) || Value::toDecimal(rate).sign() <= 0)
            missing = control(QStringLiteral("TXT_CAMBIO"));
        else if (Value::isNull(amount) || (euroAmount && Value::toDecimal(amount).isZero()))
            missing = control(QStringLiteral("TXT_IMPEFFVAL"));
    }
    if (!missing) return true;
    clsLog->MsgBox(message, LogService::kExclamation, BillFormTexts::kTitleControlloDati);
    TAB_SCADENZE->setTab(TabDatiGenerali);
    if (missing->isVisible() && missing->isEnabled()) missing->setFocus();
    return false;
}
