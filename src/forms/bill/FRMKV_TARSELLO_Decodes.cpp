// The header's coded fields: each shows its archive's description beside it and opens the
// archive's search list (F3); the agent is typed by code and kept by id; the customer's bank
// account is found by its progressive and kept by id; the CIG/CUP pair is checked against the
// pairs registered for the Bill's counterpart.
#include "ArchiveBrowser.h"
#include "ArchiveConnector.h"
#include "BillFormTexts.h"
#include "CLSKV_TARSELLO.h"
#include "ComboBox.h"
#include "Connection.h"
#include "DecodeRequest.h"
#include "DescriptionCache.h"
#include "FRMKV_TARSELLO.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LookupRequest.h"
#include "MDLKV_TARSELLO.h"
#include "Recordset.h"
#include "RowKeyBox.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

using MDLKV_TARSELLO::NullToDecimal;
using MDLKV_TARSELLO::NullToString;
using Archive = ArchiveConnector::Archive;

namespace {

// Each coded field with its description control and whether it decodes on the host's own
// connection string rather than the form's.
struct CodedField {
    const char* field;
    const char* description;  // nullptr: the decode only checks the code
    bool hostConnection;
};
const CodedField kCodedFields[] = {
    {"TXT_CLIFOR", "TXT_DESCLFOPDC", true},
    {"TXT_PDC", "TXT_DESCLFOPDC", true},
    {"TXT_CODPAG", "TXT_DESPAG", false},
    {"TXT_CODAGE", "TXT_DESAGE", false},
    {"TXT_CODBANCAAPP", "TXT_DESBANCAAPP", false},
    {"TXT_CODAGENAPP", "TXT_DESAGENAPP", false},
    {"TXT_CODBANCAPRES", "TXT_DESBANCAPRES", false},
    {"TXT_CODAGENPRES", "TXT_DESAGENPRES", false},
    {"TXT_SEZDOC", nullptr, false},
    {"TXT_SEZPART", nullptr, false},
    {"TXT_STIPOEFF", "TXT_DESSTIPOEFF", true},
    {"TXT_CAUSMGO", "TXT_DESCRSCAUSMGO", true},
    {"TXT_PROGR_EF08", "TXT_DESCR_EF08", true},
};

// The bank and agency fields of the two pairs.
struct BankPair {
    const char* bank;
    const char* agency;
};
const BankPair kBankPairs[] = {{"TXT_CODBANCAAPP", "TXT_CODAGENAPP"},
                               {"TXT_CODBANCAPRES", "TXT_CODAGENPRES"}};

// A code of a numeric archive as a key (Null when it is not a number).
QVariant numericKey(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? QVariant(n) : QVariant();
}

// A value as a number in SQL text: 0 for Null or anything that is not a number.
QString sqlNumber(const QVariant& value) {
    return Value::toText(NullToDecimal(value));
}

}  // namespace

bool FRMKV_TARSELLO::headerOnRow() const {
    return clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF();
}

QVariant FRMKV_TARSELLO::headerValue(const QString& column) const {
    return headerOnRow() ? clsRstTestata->Fields(column).Value() : QVariant();
}

int FRMKV_TARSELLO::tipoArchivio() const {
    return ActiveClass ? Value::toInt(ActiveClass->TipoArchivio) : -1;
}

std::optional<ArchiveConnector> FRMKV_TARSELLO::connectorOf(const QString& field) const {
    const QVariant company = companyCode();
    if (field == QLatin1String("TXT_CLIFOR")) {
        // The name the counterpart had on the document's date.
        const QVariant doc = headerValue(QStringLiteral("EF01_DATADOC"));
        const QDate date = Value::isNull(doc) ? QDate::currentDate() : Value::toDate(doc);
        return ArchiveConnector(Archive::Customers,
                                {company, tipoArchivio() == 0 ? 0 : 1,
                                 ArchiveConnector::dateKey(date.isValid() ? date : QDate::currentDate())});
    }
    if (field == QLatin1String("TXT_PDC"))
        return ArchiveConnector(Archive::LedgerAccounts, {global().CompanyContext().parameters.ledgerGroup});
    if (field == QLatin1String("TXT_CODPAG")) return ArchiveConnector(Archive::PaymentConditions);
    if (field == QLatin1String("TXT_CODAGE")) return ArchiveConnector(Archive::Agents, {company});
    if (field == QLatin1String("TXT_CODBANCAAPP") || field == QLatin1String("TXT_CODBANCAPRES"))
        return ArchiveConnector(Archive::Banks);
    for (const BankPair& p : kBankPairs)
        if (field == QLatin1String(p.agency))
            return ArchiveConnector(Archive::Agencies,
                                    {numericKey(control(QString::fromLatin1(p.bank))->Text())});
    if (field == QLatin1String("TXT_SEZDOC") || field == QLatin1String("TXT_SEZPART"))
        return ArchiveConnector(Archive::Sections, {company});
    if (field == QLatin1String("TXT_STIPOEFF"))
        return ArchiveConnector(Archive::SubTypes, {combo(QStringLiteral("CBO_TIPOEFF"))->Value()});
    if (field == QLatin1String("TXT_CAUSMGO")) return ArchiveConnector(Archive::MgoCausals);
    if (field == QLatin1String("TXT_PROGR_EF08")) return ArchiveConnector(Archive::CompanyBanks, {company});
    if (field == QLatin1String("TXT_PROGR_MG35")) {
        if (!hasCounterpart()) return std::nullopt;
        return ArchiveConnector(Archive::CustomerBanks,
                                {company, headerValue(QStringLiteral("EF01_TIPOCF_CG44")),
                                 headerValue(QStringLiteral("EF01_CLIFOR_CG44"))});
    }
    if (field == QLatin1String("TXT_CIG") || field == QLatin1String("TXT_CUP")) {
        if (tipoArchivio() == 1 && cigCupGeneric_) return ArchiveConnector(Archive::CigCup);
        return ArchiveConnector(
            Archive::CigCup,
            {company, tipoArchivio(), sqlNumber(headerValue(QStringLiteral("EF01_CLIFOR_CG44")))});
    }
    return std::nullopt;
}

bool FRMKV_TARSELLO::hasCounterpart() const {
    return !Value::isNull(headerValue(QStringLiteral("EF01_TIPOCF_CG44"))) &&
           !Value::isNull(headerValue(QStringLiteral("EF01_CLIFOR_CG44")));
}

void FRMKV_TARSELLO::InizializzaDecodifiche() {
    // The agent is shown and typed by its code; the Bill keeps the agent's id.
    TXT_CODAGE->setIdColumns({QStringLiteral("MG17_AGENTI"), QStringLiteral("MG17_IDAGENTE"),
                              QStringLiteral("MG17_AGENTE"), QStringLiteral("MG17_DITTA_CG18"), companyCode(),
                              clsConnessione->ConnectionString()});
}

void FRMKV_TARSELLO::connectDecodifiche() {
    // Bills shown one after another mostly share their banks, sections and payment kinds.
    descriptions_ = std::make_shared<DescriptionCache>();
    for (IdEditBox* box : findChildren<IdEditBox*>()) box->setDescriptionCache(descriptions_);
    connectCodedFields();
    connectBankPairs();
    connectContoCorrente();
    connectCigCup();
    connectRowState();
    connectManagementMenus();
}

// Each coded field's description and search from its archive, the agent's by code.
void FRMKV_TARSELLO::connectCodedFields() {
    for (const CodedField& m : kCodedFields) {
        auto* box = static_cast<IdEditBox*>(control(QString::fromLatin1(m.field)));
        FrameControl* description = m.description ? control(QString::fromLatin1(m.description)) : nullptr;
        const QString name = box->objectName();
        connect(box, &IdEditBox::StartDecode, this, [this, box, name, description, m](DecodeRequest* r) {
            guard((name + QStringLiteral("_StartDecode:")).toLatin1().constData(), [&] {
                // The customer's name depends on the document date of the row shown.
                if (name == QLatin1String("TXT_CLIFOR") && !headerOnRow()) return;
                const std::optional<ArchiveConnector> connector = connectorOf(name);
                if (!connector) return;
                r->query = connector->decodeQuery(NullToString(box->Text()));
                if (description) r->targets = {description};
                r->connectionString =
                    m.hostConnection ? global().DatabaseSettings() : clsConnessione->ConnectionString();
            });
        });
        connect(box, &IdEditBox::StartLookup, this, [this, name](LookupRequest* r) {
            guard((name + QStringLiteral("_StartLookup:")).toLatin1().constData(),
                  [&] { prepareLookup(name, r); });
        });
    }
    connect(TXT_CODAGE, &IdEditBox::StartDecode, this, [this](DecodeRequest* r) {
        guard("TXT_CODAGE_StartDecode:", [&] {
            r->query = ArchiveConnector(Archive::Agents, {companyCode()})
                           .decodeQuery(NullToString(TXT_CODAGE->Text()));
            r->targets = {control(QStringLiteral("TXT_DESAGE"))};
            r->connectionString = clsConnessione->ConnectionString();
        });
    });
    connect(TXT_CODAGE, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        guard("TXT_CODAGE_StartLookup:", [&] { prepareLookup(QStringLiteral("TXT_CODAGE"), r); });
    });
}

// Bank and agency codes: digits only, and another bank clears the agency.
void FRMKV_TARSELLO::connectBankPairs() {
    for (const BankPair& p : kBankPairs) {
        auto* bank = static_cast<IdEditBox*>(control(QString::fromLatin1(p.bank)));
        auto* agency = static_cast<IdEditBox*>(control(QString::fromLatin1(p.agency)));
        for (IdEditBox* code : {bank, agency})
            // Bank and agency codes are numbers: the comma and letters are refused as typed.
            code->lineEdit()->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), code));
        connect(bank, &FrameControl::BeforeItem, this,
                [this, bank] { entryValues_[bank->objectName()] = NullToString(bank->Text()); });
        connect(bank, &FrameControl::AfterItem, this, [this, bank, agency] {
            guard((bank->objectName() + QStringLiteral("_AfterItem:")).toLatin1().constData(), [&] {
                // Another bank: the agency of the former one means nothing any more.
                if (NullToString(bank->Text()) == entryValues_.value(bank->objectName())) return;
                if (headerOnRow() && !Value::isNull(headerValue(agency->DataField()))) {
                    clsRstTestata->Fields(agency->DataField()).setValue(QVariant());
                    FME_TESTATA->setRecordChanged(true);
                }
                agency->setValue(QVariant());
            });
        });
    }
}

// Every coded field opens its archive's management list; the company banks field runs the
// banks' own program and, with its second item, the list of all the company's banks.
void FRMKV_TARSELLO::connectManagementMenus() {
    QStringList managed = {QStringLiteral("TXT_CODAGE"), QStringLiteral("TXT_PROGR_MG35")};
    for (const CodedField& m : kCodedFields) managed << QString::fromLatin1(m.field);
    for (const QString& name : managed) {
        auto* box = static_cast<IdEditBox*>(control(name));
        box->AddKeyButtonItem(BillFormTexts::kMenuGestione, BillFormTexts::kKeyGestione);
        connect(box, &EditBox::KeyButtonMenuPress, this, [this, box, name](const QString& key) {
            guard((name + QStringLiteral("_KeyButtonMenuPress:")).toLatin1().constData(), [&] {
                if (key == BillFormTexts::kKeyGestione) {
                    if (box == TXT_PROGR_EF08)
                        GestioneBancheAziendali();
                    else
                        GestioneArchivio(name);
                    repaint();
                    global().SetActiveModule(ActiveInterface_);
                    BuildScript();
                } else if (box == TXT_PROGR_EF08 &&
                           (key == QLatin1String("1") || key == BillFormTexts::kKeyPers1)) {
                    allCompanyBanks_ = true;
                    TXT_PROGR_EF08->lookup();
                    allCompanyBanks_ = false;
                }
            });
        });
    }
}

void FRMKV_TARSELLO::GestioneArchivio(const QString& field) {
    // The clerk may change descriptions there: from now on they are read anew.
    descriptions_->clear();
    // The bank account program is the customer's: without one there is nothing to open.
    if (field == QLatin1String("TXT_PROGR_MG35") && !hasCounterpart()) return;
    const std::optional<ArchiveConnector> connector = connectorOf(field);
    if (!connector) return;
    if (field == QLatin1String("TXT_SEZDOC")) sectionTarget_ = 0;
    if (field == QLatin1String("TXT_SEZPART")) sectionTarget_ = 1;
    if (field == QLatin1String("TXT_CODBANCAAPP") || field == QLatin1String("TXT_CODAGENAPP"))
        bankTarget_ = 0;
    if (field == QLatin1String("TXT_CODBANCAPRES") || field == QLatin1String("TXT_CODAGENPRES"))
        bankTarget_ = 1;
    const ArchiveConnector::Management m = connector->management();
    ArchiveBrowser browser(LookupRequest::of(m.list, clsConnessione->ConnectionString()),
                           connector->archiveNumber(), m.transferColumns, this);
    browser.setObjectName(QStringLiteral("GST_") + field.mid(4));
    connect(&browser, &ArchiveBrowser::TransferData, this,
            [this](int archive, const QVariant& data) { clsConnectCommon_TransferData(archive, data); });
    browser.exec();
}

void FRMKV_TARSELLO::GestioneBancheAziendali() {
    descriptions_->clear();
    // The company banks have a program of their own, a sibling module of the suite; the bank
    // the clerk chose there comes back into the field.
    QVariant chosen;
    global().RunProgram(BillFormTexts::kProgBancheAziendali,
                        {NullToString(TXT_PROGR_EF08->Text()), companyCode(),
                         global().CompanyContext().parameters.ledgerGroup, true},
                        &chosen);
    if (NullToString(chosen).isEmpty()) return;
    if (headerOnRow())
        setHeaderValue(TXT_PROGR_EF08, NullToString(chosen));
    else
        TXT_PROGR_EF08->setText(NullToString(chosen));
}

void FRMKV_TARSELLO::CigCupGestione() {
    descriptions_->clear();
    const int tipo = tipoArchivio();
    const QVariant counterpart = sqlNumber(headerValue(QStringLiteral("EF01_CLIFOR_CG44")));
    const bool registered = ControlloCigCup();
    // A registered pair opens the archive on it; an unregistered one opens the counterpart's
    // pairs on a customer Bill, and nothing on a supplier's.
    QVariantList parameters{tipo, counterpart};
    if (registered)
        parameters << NullToString(TXT_CIG->Text())
                   << NullToString(control(QStringLiteral("TXT_CUP"))->Text());
    if (registered || tipo == 0) global().RunProgram(BillFormTexts::kProgCigCup, parameters);
    global().SetActiveModule(ActiveInterface_);
    BuildScript();
    // The clerk may have registered or removed the pair shown.
    ControlloCigCup();
}

void FRMKV_TARSELLO::clsConnectCommon_TransferData(int archive, const QVariant& data) {
    guard("clsConnectCommon_TransferData:", [&] {
        const QVariantList list = data.toList();
        const QVariant single = data.metaType().id() == QMetaType::QVariantList ? list.value(0) : data;
        auto write = [this](const char* name, const QVariant& value) {
            FrameControl* field = control(QString::fromLatin1(name));
            if (headerOnRow())
                setHeaderValue(field, value);
            else
                field->setValue(value);
        };
        switch (archive) {
            case 3:
                write(bankTarget_ == 0 ? "TXT_CODBANCAAPP" : "TXT_CODBANCAPRES", list.value(0));
                write(bankTarget_ == 0 ? "TXT_CODAGENAPP" : "TXT_CODAGENPRES", list.value(1));
                break;
            case 7:
                write("TXT_CODPAG", single);
                break;
            case 53:
                write(sectionTarget_ == 0 ? "TXT_SEZDOC" : "TXT_SEZPART", single);
                break;
            default:
                break;
        }
    });
}

void FRMKV_TARSELLO::prepareLookup(const QString& field, LookupRequest* r) {
    std::optional<ArchiveConnector> connector = connectorOf(field);
    // The company banks related to the Bill's counterpart, unless "Tutte le banche" asked for all.
    if (field == QLatin1String("TXT_PROGR_EF08") && !allCompanyBanks_ && hasCounterpart())
        connector.emplace(Archive::CompanyBanks,
                          QVariantList{companyCode(), headerValue(QStringLiteral("EF01_TIPOCF_CG44")),
                                       headerValue(QStringLiteral("EF01_CLIFOR_CG44"))});
    if (!connector) return;
    const bool host = field == QLatin1String("TXT_CLIFOR") || field == QLatin1String("TXT_PDC") ||
                      field == QLatin1String("TXT_PROGR_EF08") || field == QLatin1String("TXT_STIPOEFF") ||
                      field == QLatin1String("TXT_CAUSMGO");
    *r = LookupRequest::of(connector->lookup(),
                           host ? global().DatabaseSettings() : clsConnessione->ConnectionString());
}

QVariantList FRMKV_TARSELLO::customerBankRow(const QString& id) {
    const QString sql = ArchiveConnector::customerBankById(sqlNumber(id));
    const QString database = clsConnessione->ConnectionString();
    if (!bankAccountTyped_)
        if (std::optional<QVariantList> kept = descriptions_->find(database, sql)) return *kept;
    Recordset rs;
    rs.Open(sql, clsConnessione);
    QVariantList row;
    if (!rs.AtEOF())
        row = {rs.Fields(QStringLiteral("MG35_PROGR")).Value(),
               rs.Fields(QStringLiteral("DESCRCANPASS")).Value()};
    descriptions_->keep(database, sql, row);
    return row;
}

void FRMKV_TARSELLO::connectContoCorrente() {
    FrameControl* description = control(QStringLiteral("TXT_DESCR_CG12"));
    auto* byId = static_cast<IdEditBox*>(TXT_ID_MG35);
    connect(byId, &IdEditBox::StartDecode, this, [this, description](DecodeRequest* r) {
        guard("TXT_ID_MG35_StartDecode:", [&] {
            r->handled = true;
            // An emptied id empties the description; the progressive typed stays for the clerk.
            r->targets = {description};
            description->setValue(QVariant());
            const QVariantList account = customerBankRow(NullToString(TXT_ID_MG35->Text()));
            bankAccountGuard_ = true;
            TXT_PROGR_MG35->setText(NullToString(account.value(0)));
            bankAccountGuard_ = false;
            TXT_PROGR_MG35->setValid(true);
            description->setValue(account.value(1));
        });
    });
    connect(TXT_PROGR_MG35, &IdEditBox::StartDecode, this, [this, description](DecodeRequest* r) {
        guard("TXT_PROGR_MG35_StartDecode:", [&] {
            r->handled = true;
            if (bankAccountGuard_ || Value::isNull(headerValue(QStringLiteral("EF01_TIPOCF_CG44")))) return;
            bankAccountGuard_ = true;
            Recordset rs;
            rs.Open(ArchiveConnector::customerBankId(
                        companyCode(), sqlNumber(headerValue(QStringLiteral("EF01_TIPOCF_CG44"))),
                        sqlNumber(headerValue(QStringLiteral("EF01_CLIFOR_CG44"))),
                        sqlNumber(TXT_PROGR_MG35->Text())),
                    clsConnessione);
            if (rs.AtEOF()) {
                setHeaderValue(TXT_ID_MG35, QVariant());
                description->setValue(QVariant());
                FME_TESTATA->setRecordChanged(true);
                TXT_PROGR_MG35->setValid(false);
            } else {
                const QVariant id = rs.Fields(QStringLiteral("MG35_ID")).Value();
                bankAccountGuard_ = false;
                // The account the clerk typed is described as the database holds it now.
                bankAccountTyped_ = true;
                if (sqlNumber(id) != sqlNumber(TXT_ID_MG35->Text()) ||
                    NullToString(description->Text()).isEmpty())
                    setHeaderValue(TXT_ID_MG35, id);
                bankAccountTyped_ = false;
                TXT_PROGR_MG35->setValid(true);
            }
            bankAccountGuard_ = false;
        });
    });
    connect(TXT_PROGR_MG35, &FrameControl::AfterItem, this, [this, description] {
        guard("TXT_PROGR_MG35_AfterItem:", [&] {
            if (NullToString(TXT_PROGR_MG35->Text()) == entryValues_.value(TXT_PROGR_MG35->objectName()))
                return;
            if (!hasCounterpart() || !NullToString(TXT_PROGR_MG35->Text()).isEmpty()) return;
            setHeaderValue(TXT_ID_MG35, QVariant());
            description->setValue(QVariant());
        });
    });
    connect(TXT_PROGR_MG35, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        guard("TXT_PROGR_MG35_StartLookup:", [&] { prepareLookup(QStringLiteral("TXT_PROGR_MG35"), r); });
    });
}

void FRMKV_TARSELLO::connectCigCup() {
    auto* cup = static_cast<IdEditBox*>(control(QStringLiteral("TXT_CUP")));
    for (IdEditBox* box : {TXT_CIG, cup}) {
        const QString name = box->objectName();
        connect(box, &FrameControl::Validate, this, [this, box, name](bool*) {
            guard((name + QStringLiteral("_Validate:")).toLatin1().constData(), [&] {
                box->setText(box->Text().trimmed().toUpper());
                ControlloCigCup();
            });
        });
        // Shown from the row: the pair is checked again for the Bill shown.
        connect(box, &IdEditBox::StartDecode, this, [this](DecodeRequest* r) {
            r->handled = true;
            guard("ControlloCigCup:", [&] { ControlloCigCup(); });
        });
        connect(box, &IdEditBox::StartLookup, this, [this, name](LookupRequest* r) {
            guard((name + QStringLiteral("_StartLookup:")).toLatin1().constData(), [&] {
                if (tipoArchivio() != 0 && tipoArchivio() != 1) return;
                prepareLookup(name, r);
            });
        });
    }
    // A pick from either list writes both codes of the pair picked (the list's first column is
    // the CIG, its second the CUP).
    cup->setLookupKey(QStringLiteral("DESCRIZIONE"));
    connect(TXT_CIG, &IdEditBox::LookupReturn, this, [this, cup](const QVariantList& row) {
        guard("TXT_CIG_LookupReturn:", [&] {
            if (row.size() > 1) setHeaderValue(cup, NullToString(row[1]));
        });
    });
    connect(cup, &IdEditBox::LookupReturn, this, [this, cup](const QVariantList& row) {
        guard("TXT_CUP_LookupReturn:", [&] {
            if (row.size() < 2) return;
            setHeaderValue(TXT_CIG, NullToString(row[0]));
            setHeaderValue(cup, NullToString(row[1]));
        });
    });
    // A code typed with the pair's other one empty completes it; one the clerk emptied stays so.
    for (const auto& pair : {std::pair{TXT_CIG, cup}, std::pair{cup, TXT_CIG}}) {
        IdEditBox* box = pair.first;
        IdEditBox* other = pair.second;
        connect(box, &FrameControl::BeforeItem, this,
                [this, box] { entryValues_[box->objectName()] = NullToString(box->Text()); });
        connect(box, &FrameControl::AfterItem, this, [this, box, other] {
            guard((box->objectName() + QStringLiteral("_AfterItem:")).toLatin1().constData(), [&] {
                const QString text = NullToString(box->Text());
                if (text == entryValues_.value(box->objectName())) return;
                if (text.isEmpty())
                    cigCupEmptied_ = true;
                else
                    completeCigCup(box, other);
            });
        });
    }
    // Another Bill shown: its codes are the clerk's to complete again.
    connect(FME_TESTATA, &VirtualFrame::ChangeStatus, this, [this](int) { cigCupEmptied_ = false; });
    // Another counterpart: the pair must be registered for it.
    connect(TXT_CLIFOR, &FrameControl::AfterItem, this,
            [this] { guard("TXT_CLIFOR_AfterItem:", [&] { ControlloCigCup(); }); });
    connectCigCupMenus(cup);
}

// "Gestione" opens the archive: at once from an empty field of a customer Bill, otherwise only
// for a pair the archive holds; the CIG's second item lists the pairs of every counterpart.
void FRMKV_TARSELLO::connectCigCupMenus(IdEditBox* cup) {
    for (IdEditBox* box : {TXT_CIG, cup}) {
        box->AddKeyButtonItem(BillFormTexts::kMenuGestione, BillFormTexts::kKeyGestione);
        connect(box, &EditBox::KeyButtonMenuPress, this, [this, box](const QString& key) {
            guard((box->objectName() + QStringLiteral("_KeyButtonMenuPress:")).toLatin1().constData(), [&] {
                const int tipo = tipoArchivio();
                if (key != BillFormTexts::kKeyGestione || (tipo != 0 && tipo != 1)) return;
                const bool empty = NullToString(box->Text()).isEmpty();
                if (tipo == 1 && empty) return;
                if (empty || ControlloCigCup()) CigCupGestione();
            });
        });
    }
    connect(TXT_CIG, &EditBox::KeyButtonMenuPress, this, [this](const QString& key) {
        guard("TXT_CIG_KeyButtonMenuPress:", [&] {
            if ((key != QLatin1String("1") && key != BillFormTexts::kKeyPers1) || tipoArchivio() != 1) return;
            cigCupGeneric_ = true;
            TXT_CIG->lookup();
            cigCupGeneric_ = false;
        });
    });
}

void FRMKV_TARSELLO::completeCigCup(IdEditBox* typed, IdEditBox* other) {
    // Only from the pairs registered for the Bill's counterpart, and only when one pair has it.
    const int tipo = tipoArchivio();
    if (!headerOnRow() || cigCupEmptied_ || (tipo != 0 && tipo != 1) || !hasCounterpart() ||
        !NullToString(other->Text()).isEmpty())
        return;
    const bool cig = typed == TXT_CIG;
    const QString code = NullToString(typed->Text()).toUpper();
    Recordset rs;
    rs.Open(ArchiveConnector(Archive::CigCup, {companyCode(), tipo,
                                               sqlNumber(headerValue(QStringLiteral("EF01_CLIFOR_CG44")))})
                .lookup()
                .query,
            clsConnessione);
    QStringList completions;
    for (; !rs.AtEOF(); rs.MoveNext())
        if (NullToString(rs.Fields(cig ? 0 : 1).Value()).toUpper() == code)
            completions.append(NullToString(rs.Fields(cig ? 1 : 0).Value()));
    if (completions.size() != 1) return;  // none, or several: the clerk says which
    setHeaderValue(other, completions.first());
    ControlloCigCup();
}

bool FRMKV_TARSELLO::ControlloCigCup() {
    auto* cup = control(QStringLiteral("TXT_CUP"));
    const int tipo = tipoArchivio();
    const QString cig = NullToString(TXT_CIG->Text()).toUpper();
    const QString cupText = NullToString(cup->Text()).toUpper();
    // Ledger-account Bills and Bills without a public contract have nothing to check.
    bool valid = (tipo != 0 && tipo != 1) || (cig.isEmpty() && cupText.isEmpty());
    if (!valid) {
        // A customer's Bill takes only the pairs assigned to that customer.
        const QVariant customer =
            tipo == 0 ? QVariant(sqlNumber(headerValue(QStringLiteral("EF01_CLIFOR_CG44")))) : QVariant();
        Recordset rs;
        rs.Open(ArchiveConnector::cigCupAssignment(companyCode(), cig, cupText, customer), clsConnessione);
        valid = !rs.AtEOF();
    }
    TXT_CIG->setValid(valid);
    cup->setValid(valid);
    return valid;
}

void FRMKV_TARSELLO::connectRowState() {
    // The Bill's workflow state, code and description, in place of its GUID. This database keeps
    // no extended attributes: their box shows nothing.
    auto* state = static_cast<RowKeyBox*>(control(QStringLiteral("TXT_EF01_GUID_STATO")));
    state->setDescriber([this](const QVariant& guid) {
        QString shown;
        if (Value::isNull(guid)) return shown;
        guard("TXT_EF01_GUID_STATO_Decode:", [&] {
            Recordset rs;
            rs.Open(ArchiveConnector::rowState(Value::toText(guid).trimmed()), clsConnessione);
            if (!rs.AtEOF())
                shown = (NullToString(rs.Fields(0).Value()).trimmed() + QLatin1Char(' ') +
                         NullToString(rs.Fields(1).Value()).trimmed())
                            .trimmed();
        });
        return shown;
    });
}
