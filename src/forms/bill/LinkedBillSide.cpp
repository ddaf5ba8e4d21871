#include "LinkedBillSide.h"

#include "BillFormTexts.h"
#include "CLSKV_TARSELLO.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "Connection.h"
#include "DecodeRequest.h"
#include "FRMKV_TARSELLO.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LinkStatements.h"
#include "LogService.h"
#include "LookupRequest.h"
#include "MDLKV_TARSELLO.h"
#include "MainNavigator.h"
#include "Recordset.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

using MDLKV_TARSELLO::NullToString;

namespace {
// What an unresolved number leaves as the number on entry: the next exit searches again even
// with the same text.
const QString kNotValid = QStringLiteral("NV");
constexpr int kEnterKey = 13;

QString trimmedRight(const QVariant& value) {
    QString text = NullToString(value);
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    return text;
}
}  // namespace

LinkedBillSide::LinkedBillSide(FRMKV_TARSELLO& form, const Names& names, std::function<void()> loadTypes)
    : QObject(&form),
      form_(form),
      names_(names),
      loadTypes_(std::move(loadTypes)),
      check_(static_cast<CheckBox*>(form.control(QString::fromLatin1(names.checkBox)))),
      type_(form.combo(QString::fromLatin1(names.type))),
      code_(static_cast<IdEditBox*>(form.control(QString::fromLatin1(names.code)))),
      name_(form.control(QString::fromLatin1(names.name))),
      number_(static_cast<IdEditBox*>(form.control(QString::fromLatin1(names.number)))) {
    // The number is a bill's: digits only, as in every number field.
    number_->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number_));
    number_->setLookupKey(QStringLiteral("EF01_NUMEFF"));
    // The counterpart follows the linked Bill: it is shown, never typed.
    code_->setAcceptsInput(false);

    connect(check_, &FrameControl::BeforeItem, this, [this] {
        form_.guard(label(names_.checkBox, "BeforeItem"), [&] { checkOnEntry_ = check_->Text().trimmed(); });
    });
    connect(check_, &CheckBox::Click, this, [this] {
        form_.guard(label(names_.checkBox, "Click"), [&] {
            clicked_ = true;
            enableForBox();
        });
    });
    connect(check_, &FrameControl::Validate, this,
            [this](bool*) { form_.guard(label(names_.checkBox, "Validate"), [&] { checkChanged(); }); });
    connect(check_, &FrameControl::LostFocus, this,
            [this] { form_.guard(label(names_.checkBox, "LostFocus"), [&] { checkChanged(); }); });
    if (names_.receivedSide)
        connect(check_, &FrameControl::KeyDown, this, [this](int key, int shift) {
            form_.guard(label(names_.checkBox, "KeyDown"), [&] {
                if (key == kEnterKey && (shift & 1) == 0 && check_->Text() == QLatin1String("0"))
                    moveOnLater();
            });
        });

    connect(type_, &FrameControl::BeforeItem, this, [this] {
        form_.guard(label(names_.type, "BeforeItem"), [&] { typeOnEntry_ = QString::number(typeCode()); });
    });
    connect(type_, &FrameControl::LostFocus, this,
            [this] { form_.guard(label(names_.type, "LostFocus"), [&] { typeChanged(); }); });

    connect(number_, &FrameControl::BeforeItem, this, [this] {
        form_.guard(label(names_.number, "BeforeItem"), [&] {
            if (numberOnEntry_ != kNotValid) numberOnEntry_ = number_->Text().trimmed();
        });
    });
    connect(number_, &FrameControl::KeyDown, this, [this](int key, int shift) {
        form_.guard(label(names_.number, "KeyDown"), [&] {
            if (key == kEnterKey && (shift & 1) == 0) moveOnLater();
        });
    });
    connect(number_, &FrameControl::Validate, this, [this](bool* cancel) {
        form_.guard(label(names_.number, "Validate"), [&] { *cancel = refuseBadNumber(); });
    });
    connect(number_, &FrameControl::LostFocus, this,
            [this] { form_.guard(label(names_.number, "LostFocus"), [&] { resolve(); }); });
    connect(number_, &IdEditBox::StartLookup, this, [this](LookupRequest* request) {
        form_.guard(label(names_.number, "StartLookup"), [&] { startLookup(request); });
    });
    connect(code_, &IdEditBox::StartDecode, this, [this](DecodeRequest* request) {
        form_.guard(label(names_.code, "StartDecode"), [&] { startDecode(request); });
    });

    for (FrameControl* c : {static_cast<FrameControl*>(check_), static_cast<FrameControl*>(type_),
                            static_cast<FrameControl*>(number_)})
        connect(c, &FrameControl::GotFocus, this, [this] { form_.ContestoAllegatiCambiali(); });
}

QByteArray LinkedBillSide::label(const char* control, const char* event) const {
    return QByteArray(control) + '_' + event + ':';
}

void LinkedBillSide::enableForBox() {
    const bool on = check_->Text() == QLatin1String("1");
    type_->setEnabled(on);
    number_->setEnabled(on);
    number_->setAcceptsInput(on);
}

int LinkedBillSide::typeCode() const {
    const QVariant code = type_->Value();
    return Value::isNull(code) ? 0 : Value::toInt(code);
}

void LinkedBillSide::reset() {
    loadTypes_();
    type_->SelectFirst();
    checkOnEntry_ = typeOnEntry_ = numberOnEntry_ = QString();
    clicked_ = false;
    enableForBox();
}

void LinkedBillSide::show(Recordset* links) {
    int type = -1;
    QString code, number;
    if (links && !links->AtBOF() && !links->AtEOF()) {
        const QString prefix = QString::fromLatin1(names_.side) + QLatin1Char('_');
        auto read = [&](const char* column) {
            return trimmedRight(links->Fields(prefix + QString::fromLatin1(column)).Value());
        };
        type = LinkStatements::linkedType(read("TIPOCF_CG44"), read("GRUPPO_CG10"), read("CONTO_CG24"),
                                          form_.global().CompanyContext().parameters);
        if (type >= 0) {
            code = read("CLIFOR_CG44");
            number = read("NUMEFF");
        }
    }
    type_->setValue(type >= 0 ? QVariant(type) : QVariant());
    if (type_->ListIndex() < 0) type_->SelectFirst();
    // A linked Bill's counterpart is decoded with the type shown.
    showCounterpart(code);
    number_->setText(number);
    number_->setValid(true);
}

FrameControl* LinkedBillSide::fieldInError() const {
    if (check_->Text() != QLatin1String("1")) return nullptr;
    return number_->Text().trimmed().isEmpty() || !number_->Valid() ? number_ : nullptr;
}

void LinkedBillSide::checkChanged() {
    if (!clicked_) return;
    clicked_ = false;
    const QString value = check_->Text().trimmed();
    if (value == checkOnEntry_) return;
    checkOnEntry_ = value;
    loadTypes_();
    type_->SelectFirst();
    if (value == QLatin1String("0")) {
        storeLink(nullptr);
        number_->setText(QString());
        number_->setValid(true);
        showCounterpart(QString());
    }
    markChanged();
}

void LinkedBillSide::typeChanged() {
    const QString type = QString::number(typeCode());
    if (type == typeOnEntry_) return;
    typeOnEntry_ = type;
    number_->setText(QString());
    number_->setValid(true);
    showCounterpart(QString());
    storeLink(nullptr);
    markChanged();
}

bool LinkedBillSide::refuseBadNumber() {
    const QString typed = number_->Text().trimmed();
    if (typed.isEmpty() || LinkStatements::isBillNumber(typed)) return false;
    form_.clsLog->MsgBox(BillFormTexts::kNumeroEffettoNonValido.arg(typed), LogService::kExclamation,
                         BillFormTexts::kTitleControlloDati);
    return true;
}

void LinkedBillSide::resolve() {
    const QString typed = number_->Text().trimmed();
    if (typed == numberOnEntry_) return;
    if (typed.isEmpty()) {
        number_->setValid(true);
        storeLink(nullptr);
        showCounterpart(QString());
        numberOnEntry_ = typed;
        markChanged();
        return;
    }
    qint64 number = 0;
    Recordset found;
    // A number that cannot be a bill's (the field refuses it on exit) names none.
    if (LinkStatements::isBillNumber(typed, &number)) {
        const CompanyParameters& p = form_.global().CompanyContext().parameters;
        LinkStatements::Search search;
        search.company = form_.companyCode();
        search.type = typeCode();
        search.ledgerGroup = p.ledgerGroup;
        search.customerAccount = p.customerAccount;
        search.supplierAccount = p.supplierAccount;
        search.number = number;
        found.Open(LinkStatements::findBill(search), form_.clsConnessione);
    }
    const bool resolved = found.State() == 1 && !found.AtBOF() && !found.AtEOF();
    number_->setValid(resolved);
    storeLink(resolved ? &found : nullptr);
    showCounterpart(resolved ? trimmedRight(found.Fields(QStringLiteral("EF01_CLIFOR_CG44")).Value())
                             : QString());
    numberOnEntry_ = resolved ? typed : kNotValid;
    if (found.State() == 1) found.Close();
    markChanged();
}

void LinkedBillSide::storeLink(Recordset* found) {
    const std::shared_ptr<Recordset>& rs = form_.clsRstCambialiCessioni;
    if (!rs || rs->State() != 1 || rs->AtBOF() || rs->AtEOF()) return;
    static const char* const kKey[][2] = {{"DITTA", "EF01_DITTA_CG18"},
                                          {"NUMREG", "EF01_NUMREG_CO99"},
                                          {"RIGACONT", "EF01_RIGACONT_CG42"},
                                          {"PROGEC", "EF01_PROGEC_EC01"},
                                          {"PROGEFF", "EF01_PROGEFF"}};
    for (const auto& [part, source] : kKey)
        rs->Fields(QStringLiteral("EF03_%1%2_EF01")
                       .arg(QString::fromLatin1(part), QString::fromLatin1(names_.side)))
            .setValue(found ? found->Fields(QString::fromLatin1(source)).Value() : QVariant());
}

void LinkedBillSide::showCounterpart(const QString& code) {
    code_->setText(code);
    // An empty code has nothing to decode: its name goes with it.
    if (code.isEmpty()) name_->setText(QString());
}

void LinkedBillSide::markChanged() {
    form_.FME_CAMBIALI->setRecordChanged(true);
}

void LinkedBillSide::moveOnLater() {
    // The field is left first, as Enter leaves it; the form then turns to its next page.
    QTimer::singleShot(0, &form_, [form = &form_] { form->INV_MAIN->press(QStringLiteral("Avanti")); });
}

void LinkedBillSide::startLookup(LookupRequest* request) {
    const HostGlobal& host = form_.global();
    const int type = typeCode();
    const QStringList lines = names_.receivedSide
                                  ? LinkStatements::receivedTypeLines()
                                  : LinkStatements::endorsedTypeLines([&](int billType) {
                                        return host.GetMessage(BillFormTexts::kMsgTipoEffetto + billType);
                                    });
    request->query = LinkStatements::lookup(form_.companyCode(), type, lines);
    request->identifier = QString::fromLatin1(names_.lookup);
    request->title =
        names_.receivedSide ? BillFormTexts::kTitleEffettiRicevuti : BillFormTexts::kTitleEffettiGirati;
    request->connectionString = form_.clsConnessione->ConnectionString();
    const bool customer = type_->Value() == QVariant(0);
    request->columns = QStringList{
        host.GetMessage(BillFormTexts::kMsgColNumero),
        host.GetMessage(BillFormTexts::kMsgColTipo),
        host.GetMessage(BillFormTexts::kMsgColScadenza),
        host.GetMessage(BillFormTexts::kMsgColImporto),
        host.GetMessage(customer ? BillFormTexts::kMsgColCliente : BillFormTexts::kMsgColFornitore),
        host.GetMessage(customer ? BillFormTexts::kMsgColRagSocCliente
                                 : BillFormTexts::kMsgColRagSocFornitore)};
}

void LinkedBillSide::startDecode(DecodeRequest* request) {
    request->handled = true;
    const std::shared_ptr<Recordset>& header = form_.clsRstTestata;
    if (!header || header->AtBOF() || header->AtEOF()) return;
    bool numeric = false;
    const qint64 code = code_->Text().trimmed().toLongLong(&numeric);
    QString name;
    if (numeric) {
        const QVariant documentDate = header->Fields(QStringLiteral("EF01_DATADOC")).Value();
        const QDate date = Value::isNull(documentDate) ? QDate::currentDate() : Value::toDate(documentDate);
        Recordset decoded;
        decoded.Open(LinkStatements::counterpartName(form_.companyCode(), typeCode(), code,
                                                     date.isValid() ? date : QDate::currentDate()),
                     form_.clsConnessione);
        if (!decoded.AtEOF()) name = trimmedRight(decoded.Fields(0).Value());
    }
    name_->setText(name);
    code_->setValid(!name.isEmpty());
}
