// The history movement form's field rules: the amount pairs kept in step between euro and the
// Bill's currency, the combos that open and empty groups of fields, the look-ups and decodes of
// the distinta, the payment order, the SEPA purpose, the banks and agencies, and the keys that
// confirm a movement from its last field.
#include "AmountPairs.h"
#include "ArchiveConnector.h"
#include "CheckBox.h"
#include "Cinterface.h"
#include "ComboBox.h"
#include "CurrencyConverter.h"
#include "DecodeRequest.h"
#include "EditBox.h"
#include "FRMKV_STORICO.h"
#include "GridNavigator.h"
#include "HistoryFormTexts.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LogService.h"
#include "LookupRequest.h"
#include "MDLKV_TARSELLO.h"
#include "Recordset.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

using MDLKV_TARSELLO::NullToString;

namespace {

const char* const kOrderFields[] = {"TXT_ANNOORDPBONIF", "TXT_NUMORDPBONIF", "CHK_ORDBONFLGCONF",
                                    "TXT_ORDBONCCFORN",  "TXT_ORDBONABI",    "TXT_ORDBONCAB",
                                    "TXT_ORDBONMOTIVO"};
const char* const kOrderColumns[] = {"EF06_ANNO_EF10",    "EF06_NUMORDPBONIF_EF10", "EF06_ORDBONFLGCONF",
                                     "EF06_ORDBONCCFORN", "EF06_ORDBONABI_CG13",    "EF06_ORDBONCAB_CG13",
                                     "EF06_ORDBONMOTIVO"};
constexpr int kMotivoOrdine = 36;
constexpr int kMotivoBonifico = 51;

// A whole number typed into a code field, or nullopt: only digits ever reach a statement.
std::optional<qint64> wholeNumber(const QString& text) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || text.trimmed().startsWith(QLatin1Char('+'))) return std::nullopt;
    return n;
}

}  // namespace

int FRMKV_STORICO::comboCode(const char* name) const {
    const QVariant code = combo(QString::fromLatin1(name))->Value();
    return Value::isNull(code) ? -1 : Value::toInt(code);
}

void FRMKV_STORICO::setRowValue(FrameControl* field, const QVariant& value) {
    const std::shared_ptr<Recordset> rs = FME_STORICO->recordset();
    if (rs && rs->State() == 1 && !rs->AtBOF() && !rs->AtEOF() && !field->DataField().isEmpty())
        rs->Fields(field->DataField()).setValue(value);
    field->setValue(value);
}

void FRMKV_STORICO::remember(FrameControl* field) {
    connect(field, &FrameControl::BeforeItem, this,
            [this, field] { entryValues_[field->objectName()] = NullToString(field->Text()); });
}

bool FRMKV_STORICO::changedSinceEntry(FrameControl* field) const {
    return NullToString(field->Text()) != entryValues_.value(field->objectName());
}

void FRMKV_STORICO::connectFieldRules() {
    const AmountPairs& pairs = AmountPairs::historyMovement();
    for (const QString& name : pairs.euroControls() + pairs.currencyControls()) {
        FrameControl* c = control(name);
        remember(c);
        onGuarded(c, &FrameControl::AfterItem, name + QStringLiteral("_AfterItem:"),
                  [this, c] { ImportoAfterItem(c); });
    }
    connectCombos();
    connectNumbered({ArchiveConnector::Archive::Slips, "CBO_INDTIPODIST", "TXT_ANNODIST", "TXT_NUMDIST"});
    connectNumbered({ArchiveConnector::Archive::TransferOrders, "CBO_INDORDPBONIF", "TXT_ANNOORDPBONIF",
                     "TXT_NUMORDPBONIF"});
    connectPurpose();
    connectBanks({"TXT_BANCAPRE", "TXT_DESBANCAPRE", "TXT_AGENZPRE", "TXT_DESAGENZPRE"});
    connectBanks({"TXT_ORDBONABI", "TXT_DESORDBONABI", "TXT_ORDBONCAB", "TXT_DESORDBONCAB"});
    connectSingleFields();
}

void FRMKV_STORICO::connectCombos() {
    for (const char* name : {"CBO_INDSPERIT", "CBO_INDTIPODIST", "CBO_INDORDPBONIF"})
        remember(control(QString::fromLatin1(name)));
    ComboBox* charges = combo(QStringLiteral("CBO_INDSPERIT"));
    connect(charges, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDSPERIT_ChangeRow:", [&] { CBO_INDSPERIT_ChangeRow(); }); });
    onGuarded(charges, &FrameControl::AfterItem, QStringLiteral("CBO_INDSPERIT_AfterItem:"),
              [this] { CBO_INDSPERIT_AfterItem(); });
    ComboBox* distinta = combo(QStringLiteral("CBO_INDTIPODIST"));
    connect(distinta, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDTIPODIST_ChangeRow:", [&] { CBO_INDTIPODIST_ChangeRow(); }); });
    onGuarded(distinta, &FrameControl::AfterItem, QStringLiteral("CBO_INDTIPODIST_AfterItem:"),
              [this] { CBO_INDTIPODIST_AfterItem(); });
    ComboBox* order = combo(QStringLiteral("CBO_INDORDPBONIF"));
    connect(order, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDORDPBONIF_ChangeRow:", [&] { CBO_INDORDPBONIF_ChangeRow(); }); });
    onGuarded(order, &FrameControl::AfterItem, QStringLiteral("CBO_INDORDPBONIF_AfterItem:"),
              [this] { CBO_INDORDPBONIF_AfterItem(); });
}

std::optional<ArchiveConnector> FRMKV_STORICO::numberedArchive(const NumberedArchive& a) const {
    const std::optional<qint64> year = wholeNumber(control(QString::fromLatin1(a.year))->Text());
    const int kind = comboCode(a.kind);
    if (!year || kind < 0) return std::nullopt;
    return ArchiveConnector(a.archive, {company(), kind, *year});
}

void FRMKV_STORICO::connectNumbered(const NumberedArchive& a) {
    auto* number = static_cast<IdEditBox*>(control(QString::fromLatin1(a.number)));
    const QString name = number->objectName();
    remember(number);
    connect(number, &IdEditBox::StartDecode, this, [this, a, number, name](DecodeRequest* r) {
        guard((name + QStringLiteral("_StartDecode:")).toLatin1().constData(), [&] {
            const std::optional<ArchiveConnector> archive = numberedArchive(a);
            if (!archive || !wholeNumber(number->Text())) {
                // Nothing to look for: a number without its kind and year, or not a number at all.
                r->handled = true;
                number->setValid(false);
                return;
            }
            r->query = archive->decodeQuery(number->Text());
            r->connectionString = in_.connection->ConnectionString();
        });
    });
    connect(number, &IdEditBox::StartLookup, this, [this, a, name](LookupRequest* r) {
        guard((name + QStringLiteral("_StartLookup:")).toLatin1().constData(), [&] {
            const std::optional<ArchiveConnector> archive = numberedArchive(a);
            if (!archive) return;
            fillLookup(*archive, r);
            r->title += QStringLiteral(" - ") + combo(QString::fromLatin1(a.kind))->Text().trimmed();
        });
    });
    onGuarded(number, &FrameControl::AfterItem, name + QStringLiteral("_AfterItem:"), [this, number] {
        if (!changedSinceEntry(number) || number->Valid()) return;
        in_.log->MsgBox(HistoryFormTexts::kNonTrovato.arg(number->accessibleName(), number->Text().trimmed()),
                        LogService::kExclamation, HistoryFormTexts::kTitleAttenzione);
    });
}

void FRMKV_STORICO::fillLookup(const ArchiveConnector& archive, LookupRequest* r) const {
    *r = LookupRequest::of(archive.lookup(), in_.connection->ConnectionString());
}

// The SEPA purpose code and its description; the list narrowed to the operation's movements.
void FRMKV_STORICO::connectPurpose() {
    auto* purpose = static_cast<IdEditBox*>(control(QStringLiteral("TXT_ORDBONCAUPAG")));
    connect(purpose, &IdEditBox::StartDecode, this, [this, purpose](DecodeRequest* r) {
        guard("TXT_ORDBONCAUPAG_StartDecode:", [&] {
            r->query = ArchiveConnector(ArchiveConnector::Archive::SepaPurposes).decodeQuery(purpose->Text());
            r->targets = {control(QStringLiteral("TXT_DESCORDBONCAUPAG"))};
            r->connectionString = in_.connection->ConnectionString();
        });
    });
    connect(purpose, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        guard("TXT_ORDBONCAUPAG_StartLookup:", [&] {
            QVariantList movementKind;
            switch (comboCode("CBO_INDTIPOPER")) {
                case 4:
                    movementKind = {1};  // unpaid direct debits
                    break;
                case 10:
                    movementKind = {2};  // recalled direct debits
                    break;
                case 1:
                case 16:
                    movementKind = {0};  // credit transfers
                    break;
                default:
                    break;
            }
            fillLookup(ArchiveConnector(ArchiveConnector::Archive::SepaPurposes, movementKind), r);
        });
    });
}

// A bank and its agency, the agency decoded with the pair's bank.
void FRMKV_STORICO::connectBanks(const BankPair& p) {
    auto* bank = static_cast<IdEditBox*>(control(QString::fromLatin1(p.bank)));
    auto* agency = static_cast<IdEditBox*>(control(QString::fromLatin1(p.agency)));
    remember(bank);
    for (IdEditBox* code : {bank, agency})
        // Digits only: the comma and letters are refused as they are typed.
        code->lineEdit()->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), code));
    FrameControl* bankDescription = control(QString::fromLatin1(p.bankDescription));
    FrameControl* agencyDescription = control(QString::fromLatin1(p.agencyDescription));
    auto agencies = [bank] {
        const std::optional<qint64> abi = wholeNumber(bank->Text());
        return ArchiveConnector(ArchiveConnector::Archive::Agencies, {abi ? QVariant(*abi) : QVariant()});
    };
    auto list = [this](const ArchiveConnector& connector, const QString& title, LookupRequest* r) {
        fillLookup(connector, r);
        r->columns = HistoryFormTexts::kLookupBancheColonne;
        r->title = title;
    };
    connect(bank, &IdEditBox::StartDecode, this, [this, bank, bankDescription](DecodeRequest* r) {
        r->query = ArchiveConnector(ArchiveConnector::Archive::Banks).decodeQuery(bank->Text());
        r->targets = {bankDescription};
        r->connectionString = in_.connection->ConnectionString();
    });
    connect(agency, &IdEditBox::StartDecode, this,
            [this, agency, agencies, agencyDescription](DecodeRequest* r) {
                r->query = agencies().decodeQuery(agency->Text());
                r->targets = {agencyDescription};
                r->connectionString = in_.connection->ConnectionString();
            });
    connect(bank, &IdEditBox::StartLookup, this, [list](LookupRequest* r) {
        list(ArchiveConnector(ArchiveConnector::Archive::Banks), HistoryFormTexts::kLookupBanche, r);
    });
    connect(agency, &IdEditBox::StartLookup, this, [bank, agencies, list](LookupRequest* r) {
        if (!wholeNumber(bank->Text())) return;
        list(agencies(), HistoryFormTexts::kLookupAgenzie, r);
    });
    // A new bank: the agency of the former one means nothing any more.
    onGuarded(bank, &FrameControl::AfterItem, bank->objectName() + QStringLiteral("_AfterItem:"),
              [this, bank, agency] {
                  if (changedSinceEntry(bank)) setRowValue(agency, QVariant());
              });
}

void FRMKV_STORICO::connectSingleFields() {
    auto* printed = static_cast<CheckBox*>(control(QStringLiteral("CHK_FLGSTEFF")));
    connect(printed, &CheckBox::Click, this, [this, printed] {
        guard("CHK_FLGSTEFF_Click:", [&] {
            control(QStringLiteral("TXT_NUMSTEFF"))->setEnabled(printed->Text() == QStringLiteral("1"));
        });
    });
    onGuarded(control(QStringLiteral("TXT_PROGSTO")), &FrameControl::AfterItem,
              QStringLiteral("TXT_PROGSTO_AfterItem:"), [this] {
                  if (FME_STORICO->Status() != VirtualFrame::kStatusAdding) return;
                  setUpdatesEnabled(false);
                  FME_STORICO->Refresh();
                  setUpdatesEnabled(true);
              });
    auto* spese = static_cast<EditBox*>(control(QStringLiteral("TXT_PROGEFFSPE")));
    spese->AddKeyButtonItem(HistoryFormTexts::kMenuGestione, QStringLiteral("Kgestione"));
    connect(spese, &EditBox::KeyButtonMenuPress, this, [this](const QString& key) {
        guard("TXT_PROGEFFSPE_KeyButtonMenuPress:", [&] {
            if (key == QStringLiteral("Kgestione")) GestioneEffetti();
        });
    });
    connect(control(QStringLiteral("TXT_ORDBONMOTIVO")), &FrameControl::KeyDown, this,
            [this](int key, int shift) {
                guard("TXT_ORDBONMOTIVO_KeyDown:", [&] {
                    if (shift != 0 || (key != 13 && key != 9 && key != 40)) return;
                    if (FME_STORICO->Status() == VirtualFrame::kStatusShown)
                        GNV_DETTSTORICO->press(QStringLiteral("Conferma"));
                    else if (FME_STORICO->Status() == VirtualFrame::kStatusAdding)
                        GNV_DETTSTORICO->press(QStringLiteral("Nuovo"));
                });
            });
}

// The groups the combos open follow the movement shown.
void FRMKV_STORICO::applyGroups() {
    CBO_INDSPERIT_ChangeRow();
    CBO_INDTIPODIST_ChangeRow();
    CBO_INDORDPBONIF_ChangeRow();
    control(QStringLiteral("TXT_NUMSTEFF"))
        ->setEnabled(control(QStringLiteral("CHK_FLGSTEFF"))->Text() == QStringLiteral("1"));
}

void FRMKV_STORICO::ImportoAfterItem(FrameControl* field) {
    if (NullToString(field->Text()) == entryValues_.value(field->objectName())) return;
    const std::optional<AmountPairs::Step> step =
        AmountPairs::historyMovement().changed(field->objectName(), false);
    const QString currency = in_.currency.trimmed().toUpper();
    if (!step || currency.isEmpty() || currency == HistoryFormTexts::kEuro || in_.cambio.isZero()) return;
    if (step->ask && in_.log->MsgBox(AmountPairs::kQuestion,
                                     LogService::kYesNo | LogService::kQuestion | LogService::kDefaultButton2,
                                     AmountPairs::kTitle) != LogService::kYes)
        return;
    if (!converter_) converter_ = in_.host->ClsGlobal()->CreateCurrencyConverter();
    const QVariant amount = field->Value();
    const Decimal converted = step->direction == AmountPairs::Direction::ToCurrency
                                  ? converter_->ToCurrency(amount, 2, currency, in_.cambio)
                                  : converter_->ToEuro(amount, 2, currency, in_.cambio);
    setRowValue(control(step->target), QVariant::fromValue(converted));
}

void FRMKV_STORICO::CBO_INDSPERIT_ChangeRow() {
    const bool charged = comboCode("CBO_INDSPERIT") > 0;
    for (const char* name : {"TXT_SPESERIT", "TXT_SPESERITBAN"})
        control(QString::fromLatin1(name))->setEnabled(charged);
}

void FRMKV_STORICO::CBO_INDSPERIT_AfterItem() {
    FrameControl* c = control(QStringLiteral("CBO_INDSPERIT"));
    if (NullToString(c->Text()) == entryValues_.value(c->objectName()) || comboCode("CBO_INDSPERIT") != 0)
        return;
    for (const char* name : {"TXT_SPESERIT", "TXT_SPESERITBAN"})
        setRowValue(control(QString::fromLatin1(name)), QVariant());
}

void FRMKV_STORICO::CBO_INDTIPODIST_ChangeRow() {
    const bool chosen = comboCode("CBO_INDTIPODIST") >= 0;
    for (const char* name : {"TXT_ANNODIST", "TXT_NUMDIST", "TXT_ETICHRAGGRAVV"}) {
        FrameControl* c = control(QString::fromLatin1(name));
        c->setEnabled(chosen);
        c->setTabStop(chosen);
    }
}

void FRMKV_STORICO::CBO_INDTIPODIST_AfterItem() {
    FrameControl* c = control(QStringLiteral("CBO_INDTIPODIST"));
    if (NullToString(c->Text()) == entryValues_.value(c->objectName()) || comboCode("CBO_INDTIPODIST") != -1)
        return;
    for (const char* name : {"TXT_ANNODIST", "TXT_NUMDIST", "TXT_ETICHRAGGRAVV"})
        setRowValue(control(QString::fromLatin1(name)), QVariant());
}

void FRMKV_STORICO::CBO_INDORDPBONIF_ChangeRow() {
    const int kind = comboCode("CBO_INDORDPBONIF");
    for (const char* name : kOrderFields) control(QString::fromLatin1(name))->setEnabled(kind >= 0);
    LBL_ORDBONMOTIVO->setText(kind == 0 ? HistoryFormTexts::kNumeroAvviso : HistoryFormTexts::kMotivo);
}

void FRMKV_STORICO::CBO_INDORDPBONIF_AfterItem() {
    FrameControl* c = control(QStringLiteral("CBO_INDORDPBONIF"));
    if (NullToString(c->Text()) == entryValues_.value(c->objectName())) return;
    auto* motivo = static_cast<EditBox*>(control(QStringLiteral("TXT_ORDBONMOTIVO")));
    const int kind = comboCode("CBO_INDORDPBONIF");
    if (kind == -1) {
        for (size_t i = 0; i < std::size(kOrderFields); ++i) {
            const bool flag = QLatin1String(kOrderColumns[i]) == QLatin1String("EF06_ORDBONFLGCONF");
            setRowValue(control(QString::fromLatin1(kOrderFields[i])), flag ? QVariant(0) : QVariant());
        }
        motivo->setMaxLength(kMotivoBonifico);
    } else if (kind == 0) {
        // A payment order carries a notice number of 36 characters at most, and no supplier account.
        setRowValue(control(QStringLiteral("TXT_ORDBONCCFORN")), QVariant());
        const QString text = motivo->Text();
        if (text.size() > kMotivoOrdine) setRowValue(motivo, Value::leftWhole(text, kMotivoOrdine));
        motivo->setMaxLength(kMotivoOrdine);
    } else {
        motivo->setMaxLength(kMotivoBonifico);
    }
}

void FRMKV_STORICO::GestioneEffetti() {
    FrameControl* charges = control(QStringLiteral("TXT_PROGEFFSPE"));
    const std::optional<qint64> number = wholeNumber(charges->Text());
    if (!number || !in_.host || !in_.host->ClsGlobal()) return;
    // The Bill of the charges is of the same customer or supplier: the same archive type.
    const bool ran = in_.host->ClsGlobal()->RunProgram(
        QStringLiteral(KVUO_TARSELLO_PROGID),
        {QStringLiteral("EF01_DITTA_CG18 = %1 AND EF01_NUMEFF = %2").arg(company()).arg(*number),
         in_.host->property("TipoArchivio")});
    if (!ran)
        in_.log->MsgBox(HistoryFormTexts::kProgrammaNonDisponibile, LogService::kInformation,
                        HistoryFormTexts::kTitleInformazione);
    // Back from the other bill form, the clerk is where he left the movement.
    if (charges->isEnabled()) charges->setFocus();
}
