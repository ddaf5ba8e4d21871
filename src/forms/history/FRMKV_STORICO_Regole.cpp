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
#include "SqlText.h"
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

void FRMKV_STORICO::connectFieldRules() {
    auto remember = [this](FrameControl* c) {
        connect(c, &FrameControl::BeforeItem, this,
                [this, c] { entryValues_[c->objectName()] = NullToString(c->Text()); });
    };
    auto changed = [this](FrameControl* c) {
        return NullToString(c->Text()) != entryValues_.value(c->objectName());
    };
    auto on = [this](FrameControl* c, auto signal, const QString& label, auto body) {
        connect(c, signal, this, [this, label, body] { guard(label.toLatin1().constData(), body); });
    };

    const AmountPairs& pairs = AmountPairs::historyMovement();
    for (const QString& name : pairs.euroControls() + pairs.currencyControls()) {
        FrameControl* c = control(name);
        remember(c);
        on(c, &FrameControl::AfterItem, name + QStringLiteral("_AfterItem:"),
           [this, c] { ImportoAfterItem(c); });
    }

    for (const char* name : {"CBO_INDSPERIT", "CBO_INDTIPODIST", "CBO_INDORDPBONIF", "TXT_BANCAPRE",
                             "TXT_ORDBONABI", "TXT_NUMDIST", "TXT_NUMORDPBONIF"})
        remember(control(QString::fromLatin1(name)));
    ComboBox* charges = combo(QStringLiteral("CBO_INDSPERIT"));
    connect(charges, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDSPERIT_ChangeRow:", [&] { CBO_INDSPERIT_ChangeRow(); }); });
    on(charges, &FrameControl::AfterItem, QStringLiteral("CBO_INDSPERIT_AfterItem:"),
       [this] { CBO_INDSPERIT_AfterItem(); });
    ComboBox* distinta = combo(QStringLiteral("CBO_INDTIPODIST"));
    connect(distinta, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDTIPODIST_ChangeRow:", [&] { CBO_INDTIPODIST_ChangeRow(); }); });
    on(distinta, &FrameControl::AfterItem, QStringLiteral("CBO_INDTIPODIST_AfterItem:"),
       [this] { CBO_INDTIPODIST_AfterItem(); });
    ComboBox* order = combo(QStringLiteral("CBO_INDORDPBONIF"));
    connect(order, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDORDPBONIF_ChangeRow:", [&] { CBO_INDORDPBONIF_ChangeRow(); }); });
    on(order, &FrameControl::AfterItem, QStringLiteral("CBO_INDORDPBONIF_AfterItem:"),
       [this] { CBO_INDORDPBONIF_AfterItem(); });

    // The distinta and the order: a number of the chosen kind and year, looked up and decoded.
    auto* numDist = static_cast<IdEditBox*>(control(QStringLiteral("TXT_NUMDIST")));
    connect(numDist, &IdEditBox::StartDecode, this, [this](DecodeRequest* r) {
        guard("TXT_NUMDIST_StartDecode:", [&] { TXT_NUMDIST_StartDecode(r); });
    });
    connect(numDist, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        guard("TXT_NUMDIST_StartLookup:", [&] {
            const std::optional<qint64> year = wholeNumber(control(QStringLiteral("TXT_ANNODIST"))->Text());
            if (!year || comboCode("CBO_INDTIPODIST") < 0) return;
            r->query =
                QStringLiteral(
                    " SELECT    EF09_NUMDIST,    EF09_DATACRESUPP,    EF09_NUMTOTEFF,    EF09_IMPTOTEFF"
                    " FROM    EF09_DISTINTE WHERE    EF09_DITTA_CG18 = %1 AND    EF09_INDTIPODIST = %2"
                    " AND    EF09_ANNO = %3 ORDER BY    EF09_NUMDIST")
                    .arg(company())
                    .arg(comboCode("CBO_INDTIPODIST"))
                    .arg(*year);
            r->columns = HistoryFormTexts::kLookupDistinteColonne;
            r->title = HistoryFormTexts::kLookupDistinte + QStringLiteral(" - ") +
                       combo(QStringLiteral("CBO_INDTIPODIST"))->Text().trimmed();
            r->identifier = QStringLiteral("Lkp_NumDist");
            r->connectionString = in_.connection->ConnectionString();
        });
    });
    auto* numOrder = static_cast<IdEditBox*>(control(QStringLiteral("TXT_NUMORDPBONIF")));
    connect(numOrder, &IdEditBox::StartDecode, this, [this](DecodeRequest* r) {
        guard("TXT_NUMORDPBONIF_StartDecode:", [&] { TXT_NUMORDPBONIF_StartDecode(r); });
    });
    connect(numOrder, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        guard("TXT_NUMORDPBONIF_StartLookup:", [&] {
            const std::optional<qint64> year =
                wholeNumber(control(QStringLiteral("TXT_ANNOORDPBONIF"))->Text());
            if (!year || comboCode("CBO_INDORDPBONIF") < 0) return;
            r->query =
                QStringLiteral(
                    " SELECT    EF10_NUMORDPBONIF,    EF10_DATAORDPBONIF,    EF10_NUMTOTEFF,    "
                    "EF10_IMPTOTEFF"
                    " FROM    EF10_ORDPBONIF WHERE    EF10_DITTA_CG18 = %1 AND    EF10_INDORDPBONIF = %2"
                    " AND    EF10_ANNO = %3 ORDER BY    EF10_NUMORDPBONIF")
                    .arg(company())
                    .arg(comboCode("CBO_INDORDPBONIF"))
                    .arg(*year);
            r->columns = HistoryFormTexts::kLookupOrdiniColonne;
            r->title = HistoryFormTexts::kLookupOrdini;
            r->identifier = QStringLiteral("Lkp_NumOrdpBonif");
            r->connectionString = in_.connection->ConnectionString();
        });
    });
    for (IdEditBox* number : {numDist, numOrder}) {
        on(number, &FrameControl::AfterItem, number->objectName() + QStringLiteral("_AfterItem:"),
           [this, number, changed] {
               if (!changed(number) || number->Valid()) return;
               in_.log->MsgBox(
                   HistoryFormTexts::kNonTrovato.arg(number->accessibleName(), number->Text().trimmed()),
                   LogService::kExclamation, HistoryFormTexts::kTitleAttenzione);
           });
    }

    // The SEPA purpose code and its description.
    auto* purpose = static_cast<IdEditBox*>(control(QStringLiteral("TXT_ORDBONCAUPAG")));
    connect(purpose, &IdEditBox::StartDecode, this, [this, purpose](DecodeRequest* r) {
        guard("TXT_ORDBONCAUPAG_StartDecode:", [&] {
            r->query =
                QStringLiteral(
                    " SELECT    CG6G_DESCR FROM    CG6G_CAUSPAGSEPA WITH(NOLOCK) WHERE    CG6G_CODICE = ") +
                SqlText::quote(purpose->Text().trimmed());
            r->targets = {control(QStringLiteral("TXT_DESCORDBONCAUPAG"))};
            r->connectionString = in_.connection->ConnectionString();
        });
    });
    connect(purpose, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        guard("TXT_ORDBONCAUPAG_StartLookup:", [&] { TXT_ORDBONCAUPAG_StartLookup(r); });
    });

    // Banks and agencies: two pairs, each agency decoded with its pair's bank.
    struct BankPair {
        const char* bank;
        const char* bankDescription;
        const char* agency;
        const char* agencyDescription;
    };
    for (const BankPair& p :
         {BankPair{"TXT_BANCAPRE", "TXT_DESBANCAPRE", "TXT_AGENZPRE", "TXT_DESAGENZPRE"},
          BankPair{"TXT_ORDBONABI", "TXT_DESORDBONABI", "TXT_ORDBONCAB", "TXT_DESORDBONCAB"}}) {
        auto* bank = static_cast<IdEditBox*>(control(QString::fromLatin1(p.bank)));
        auto* agency = static_cast<IdEditBox*>(control(QString::fromLatin1(p.agency)));
        for (IdEditBox* code : {bank, agency})
            // Digits only: the comma and letters are refused as they are typed.
            code->lineEdit()->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), code));
        FrameControl* bankDescription = control(QString::fromLatin1(p.bankDescription));
        FrameControl* agencyDescription = control(QString::fromLatin1(p.agencyDescription));
        // The host's archive connector: the same decodes and paged lists as the bill form's.
        auto agencies = [bank] {
            const std::optional<qint64> abi = wholeNumber(bank->Text());
            return ArchiveConnector(ArchiveConnector::Archive::Agencies, {abi ? QVariant(*abi) : QVariant()});
        };
        auto list = [this](const ArchiveConnector& connector, const QString& title, LookupRequest* r) {
            const ArchiveConnector::Lookup l = connector.lookup();
            r->query = l.query;
            r->columns = HistoryFormTexts::kLookupBancheColonne;
            r->title = title;
            r->identifier = l.identifier;
            r->orderColumn = l.keyColumn;
            r->searchColumns = l.searchColumns;
            r->connectionString = in_.connection->ConnectionString();
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
        on(bank, &FrameControl::AfterItem, bank->objectName() + QStringLiteral("_AfterItem:"),
           [this, bank, agency, changed] {
               if (changed(bank)) setRowValue(agency, QVariant());
           });
    }

    auto* printed = static_cast<CheckBox*>(control(QStringLiteral("CHK_FLGSTEFF")));
    connect(printed, &CheckBox::Click, this, [this, printed] {
        guard("CHK_FLGSTEFF_Click:", [&] {
            control(QStringLiteral("TXT_NUMSTEFF"))->setEnabled(printed->Text() == QStringLiteral("1"));
        });
    });
    on(control(QStringLiteral("TXT_PROGSTO")), &FrameControl::AfterItem,
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

void FRMKV_STORICO::TXT_NUMDIST_StartDecode(DecodeRequest* r) {
    const std::optional<qint64> year = wholeNumber(control(QStringLiteral("TXT_ANNODIST"))->Text());
    const std::optional<qint64> number = wholeNumber(control(QStringLiteral("TXT_NUMDIST"))->Text());
    const int kind = comboCode("CBO_INDTIPODIST");
    if (!year || !number || kind < 0) {
        // Nothing to look for: a number without its kind and year, or not a number at all.
        r->handled = true;
        control(QStringLiteral("TXT_NUMDIST"))->setValid(false);
        return;
    }
    r->query =
        QStringLiteral(
            " SELECT    EF09_NUMDIST FROM    EF09_DISTINTE WITH (NOLOCK) WHERE    EF09_DITTA_CG18 = %1 AND"
            "    EF09_INDTIPODIST = %2 AND    EF09_ANNO = %3 AND    EF09_NUMDIST = %4")
            .arg(company())
            .arg(kind)
            .arg(*year)
            .arg(*number);
    r->connectionString = in_.connection->ConnectionString();
}

void FRMKV_STORICO::TXT_NUMORDPBONIF_StartDecode(DecodeRequest* r) {
    const std::optional<qint64> year = wholeNumber(control(QStringLiteral("TXT_ANNOORDPBONIF"))->Text());
    const std::optional<qint64> number = wholeNumber(control(QStringLiteral("TXT_NUMORDPBONIF"))->Text());
    const int kind = comboCode("CBO_INDORDPBONIF");
    if (!year || !number || kind < 0) {
        r->handled = true;
        control(QStringLiteral("TXT_NUMORDPBONIF"))->setValid(false);
        return;
    }
    r->query =
        QStringLiteral(
            " SELECT    EF10_NUMORDPBONIF FROM    EF10_ORDPBONIF WITH (NOLOCK) WHERE    EF10_DITTA_CG18 = %1"
            " AND    EF10_INDORDPBONIF = %2 AND    EF10_ANNO = %3 AND    EF10_NUMORDPBONIF = %4")
            .arg(company())
            .arg(kind)
            .arg(*year)
            .arg(*number);
    r->connectionString = in_.connection->ConnectionString();
}

void FRMKV_STORICO::TXT_ORDBONCAUPAG_StartLookup(LookupRequest* r) {
    QString condition;
    QString title = QStringLiteral("Elenco causali ISO area SEPA");
    switch (comboCode("CBO_INDTIPOPER")) {
        case 4:
            condition = QStringLiteral(" WHERE CG6G_INDTIPOMOV = 1");
            title = QStringLiteral("Elenco causali insoluti Rid SDD");
            break;
        case 10:
            condition = QStringLiteral(" WHERE CG6G_INDTIPOMOV = 2");
            title = QStringLiteral("Elenco causali richiami Rid SDD");
            break;
        case 1:
        case 16:
            condition = QStringLiteral(" WHERE CG6G_INDTIPOMOV = 0");
            title = QStringLiteral("Elenco causali bonifico SEPA");
            break;
        default:
            break;
    }
    r->query = QStringLiteral(" SELECT    CG6G_CODICE,    CG6G_DESCR FROM    CG6G_CAUSPAGSEPA WITH(NOLOCK)") +
               condition + QStringLiteral("  ORDER BY  CG6G_CODICE");
    r->columns = HistoryFormTexts::kLookupCausaliColonne;
    r->title = title;
    r->identifier = QStringLiteral("Lkp_CausaleSepa");
    r->connectionString = in_.connection->ConnectionString();
}

void FRMKV_STORICO::GestioneEffetti() {
    const std::optional<qint64> number = wholeNumber(control(QStringLiteral("TXT_PROGEFFSPE"))->Text());
    if (!number || !in_.host || !in_.host->ClsGlobal()) return;
    in_.host->ClsGlobal()->RunProgram(
        QStringLiteral("KVUO_TARSELLO.CLSKV_TARSELLO"),
        {QStringLiteral("EF01_DITTA_CG18 = %1 AND EF01_NUMEFF = %2").arg(company()).arg(*number)});
}
