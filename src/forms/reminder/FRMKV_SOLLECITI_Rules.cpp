// The reminder form's field rules: the interest group opened by its tick and its amount worked
// out from the Bill's amount, the document group and its section, the block code, the letter's
// decode and search, the menus that open the host's maintenance programs, and the keys of the
// last field.
#include "CheckBox.h"
#include "Cinterface.h"
#include "ComboBox.h"
#include "Connection.h"
#include "DateBox.h"
#include "DecodeRequest.h"
#include "FRMKV_SOLLECITI.h"
#include "GridNavigator.h"
#include "HostGlobal.h"
#include "IdEditBox.h"
#include "LogService.h"
#include "LookupRequest.h"
#include "Recordset.h"
#include "ReminderFormTexts.h"
#include "ReminderStatements.h"
#include "SimpleInterest.h"
#include "Value.h"
#include "VirtualFrame.h"

namespace {
const char* const kInterestFields[] = {"TXT_TASSOINT", "TXT_DADATACALC", "TXT_ADATACALC", "TXT_IMPINTERES"};
const char* const kDocumentFields[] = {"TXT_DOCUMENTO", "TXT_DATADOC", "TXT_NUMDOC"};

void enable(FrameControl* c, bool on) {
    c->setEnabled(on);
    c->setTabStop(on);
}
}  // namespace

void FRMKV_SOLLECITI::connectFieldRules() {
    connectGroupTicks();
    connectInterestRules();
    connectCodes();
    connect(control(QStringLiteral("CHK_FLGPERS2")), &FrameControl::KeyDown, this,
            [this](int key, int) { CHK_FLGPERS2_KeyDown(key); });
}

// The ticks and the combo that open or close a group of fields.
void FRMKV_SOLLECITI::connectGroupTicks() {
    auto* interest = static_cast<CheckBox*>(control(QStringLiteral("CHK_FLGCALCINT")));
    connect(interest, &CheckBox::Click, this, [this, interest] {
        guard("CHK_FLGCALCINT_Click:", [&] { enableInterest(interest->Text() == QLatin1String("1")); });
    });
    connect(interest, &FrameControl::AfterItem, this, [this] { CHK_FLGCALCINT_AfterItem(); });
    auto* document = static_cast<CheckBox*>(control(QStringLiteral("CHK_FLGEMISDOC")));
    connect(document, &CheckBox::Click, this, [this, document] {
        guard("CHK_FLGEMISDOC_Click:", [&] {
            enableDocument(document->Text() == QLatin1String("1"),
                           FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding);
        });
    });
    connect(document, &FrameControl::AfterItem, this, [this] { CHK_FLGEMISDOC_AfterItem(); });
    connect(control(QStringLiteral("TXT_DATADOC")), &FrameControl::AfterItem, this,
            [this] { TXT_DATADOC_AfterItem(); });
    ComboBox* block = combo(QStringLiteral("CBO_INDBLOCCO"));
    connect(block, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_INDBLOCCO_ChangeRow:", [&] { enableBlockCode(); }); });
    connect(block, &FrameControl::AfterItem, this, [this] { CBO_INDBLOCCO_AfterItem(); });
}

// The rate and period are checked as typed; a change to any of them suggests the interest again.
void FRMKV_SOLLECITI::connectInterestRules() {
    connect(control(QStringLiteral("TXT_TASSOINT")), &FrameControl::Validate, this,
            [this](bool* cancel) { validateRate(cancel); });
    for (const char* name : {"TXT_DADATACALC", "TXT_ADATACALC"}) {
        FrameControl* date = control(QString::fromLatin1(name));
        connect(date, &FrameControl::Validate, this,
                [this, date](bool* cancel) { validatePeriod(date, cancel); });
    }
    for (const char* name : {"TXT_TASSOINT", "TXT_DADATACALC", "TXT_ADATACALC"}) {
        FrameControl* field = control(QString::fromLatin1(name));
        connect(field, &FrameControl::AfterItem, this, [this, field] {
            if (entryChanged(field)) guard("suggestInterest:", [&] { suggestInterest(); });
        });
    }
}

// The letter and block codes: decode, search, the menus to their maintenance programs.
void FRMKV_SOLLECITI::connectCodes() {
    connectLetter();
    connectBlock();
    connectArchivedCodes();
    // Maintenance of the archives behind the codes, through the host.
    const std::pair<const char*, const QString*> maintained[] = {
        {"TXT_CODBLOCCO", &ReminderFormTexts::kProgLivelliBlocco},
        {"TXT_SEZDOC", &ReminderFormTexts::kProgSezionali}};
    for (const auto& [name, program] : maintained) {
        auto* box = static_cast<EditBox*>(control(QString::fromLatin1(name)));
        box->AddKeyButtonItem(ReminderFormTexts::kMenuGestione, ReminderFormTexts::kKeyGestione);
        connect(box, &EditBox::KeyButtonMenuPress, this, [this, box, program = *program](const QString& key) {
            if (key == ReminderFormTexts::kKeyGestione)
                guard("KeyButtonMenuPress:", [&] { runProgram(program, {box->Text().trimmed()}, box); });
        });
    }
    // A code emptied leaves no description behind.
    for (auto [code, description] : kDecoded) {
        FrameControl* c = control(QString::fromLatin1(code));
        FrameControl* d = control(QString::fromLatin1(description));
        connect(c, &FrameControl::AfterItem, this, [c, d] {
            if (c->Text().trimmed().isEmpty()) d->setText(QString());
        });
    }
}

void FRMKV_SOLLECITI::connectLetter() {
    auto* letter = static_cast<IdEditBox*>(control(QStringLiteral("TXT_SIGLALETTERA")));
    letter->setLookupKey(QStringLiteral("MG0B_CODTESTO"));
    connect(letter, &IdEditBox::StartDecode, this, [this, letter](DecodeRequest* r) {
        if (!in_.connection) return;
        r->query = ReminderStatements::letterDescription(company(), letter->Text().trimmed());
        r->targets = {control(QStringLiteral("TXT_DESCRLETTERA"))};
        r->connectionString = in_.connection->ConnectionString();
    });
    connect(letter, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        if (!in_.connection) return;
        r->query = ReminderStatements::letterLookup(company());
        r->columns = QStringList{QStringLiteral("Sigla"), QStringLiteral("Descrizione")};
        r->title = ReminderFormTexts::kLookupLetteraTitle;
        r->identifier = ReminderFormTexts::kLookupLettera;
        r->connectionString = in_.connection->ConnectionString();
    });
    connect(letter, &FrameControl::Validate, this, [this](bool* cancel) { validateLetter(cancel); });
    letter->AddKeyButtonItem(ReminderFormTexts::kMenuTestata, ReminderFormTexts::kKeyTestata);
    letter->AddKeyButtonItem(ReminderFormTexts::kMenuPiede, ReminderFormTexts::kKeyPiede);
    connect(letter, &EditBox::KeyButtonMenuPress, this, [this](const QString& key) {
        guard("TXT_SIGLALETTERA_KeyButtonMenuPress:", [&] { GestioneTestoFisso(key); });
    });
}

void FRMKV_SOLLECITI::connectBlock() {
    auto* blockCode = static_cast<IdEditBox*>(control(QStringLiteral("TXT_CODBLOCCO")));
    blockCode->setLookupKey(QStringLiteral("MG25_CODICE"));
    connect(blockCode, &IdEditBox::StartDecode, this, [this, blockCode](DecodeRequest* r) {
        if (!in_.connection) return;
        r->query = ReminderStatements::blockDescription(company(), blockCode->Text().trimmed());
        r->targets = {control(QStringLiteral("TXT_DESBLOCCO"))};
        r->connectionString = in_.connection->ConnectionString();
    });
    connect(blockCode, &IdEditBox::StartLookup, this, [this](LookupRequest* r) {
        if (!in_.connection) return;
        r->query = ReminderStatements::blockLookup(company());
        r->columns = QStringList{QStringLiteral("Codice"), QStringLiteral("Descrizione")};
        r->title = QStringLiteral("Livelli di blocco");
        r->connectionString = in_.connection->ConnectionString();
    });
}

// The document type and the section: the inventory's and the common archives' codes.
void FRMKV_SOLLECITI::connectArchivedCodes() {
    const std::pair<const char*, std::pair<ArchiveConnector::Archive, const char*>> archived[] = {
        {"TXT_DOCUMENTO", {ArchiveConnector::Archive::Documents, "TXT_DESDOCUMENTO"}},
        {"TXT_SEZDOC", {ArchiveConnector::Archive::Sections, "TXT_DESSEZDOC"}}};
    for (const auto& [name, archive] : archived) {
        auto* box = static_cast<IdEditBox*>(control(QString::fromLatin1(name)));
        const QString label = QString::fromLatin1(name);
        // Codes are kept in capitals, as their archives hold them.
        connect(box, &FrameControl::Validate, this, [box](bool*) {
            if (const QString upper = box->Text().toUpper(); upper != box->Text()) box->setText(upper);
        });
        connect(box, &IdEditBox::StartDecode, this,
                [this, box, label, archive = archive.first, target = archive.second](DecodeRequest* r) {
                    guard(qPrintable(label + QStringLiteral("_StartDecode:")), [&] {
                        if (!in_.connection) return;
                        r->query = ArchiveConnector(archive, {company()}).decodeQuery(box->Text());
                        r->targets = {control(QString::fromLatin1(target))};
                        r->connectionString = in_.connection->ConnectionString();
                    });
                });
        connect(box, &IdEditBox::StartLookup, this, [this, label, archive = archive.first](LookupRequest* r) {
            guard(qPrintable(label + QStringLiteral("_StartLookup:")), [&] {
                if (!in_.connection) return;
                *r = LookupRequest::of(ArchiveConnector(archive, {company()}).lookup(),
                                       in_.connection->ConnectionString());
            });
        });
    }
}

bool FRMKV_SOLLECITI::sectionApplies() const {
    auto* date = static_cast<DateBox*>(control(QStringLiteral("TXT_DATADOC")));
    if (!date->Valid() || date->Text().trimmed().isEmpty()) return false;
    return sections_.apply(Value::toDate(date->Value()));
}

void FRMKV_SOLLECITI::enableInterest(bool on) {
    for (const char* name : kInterestFields) enable(control(QString::fromLatin1(name)), on);
}

void FRMKV_SOLLECITI::enableDocument(bool on, bool adding) {
    for (const char* name : kDocumentFields) enable(control(QString::fromLatin1(name)), on);
    const bool section = on && sectionApplies();
    FrameControl* sezdoc = control(QStringLiteral("TXT_SEZDOC"));
    enable(sezdoc, section);
    if (on && !section && adding) {
        setColumn("EF05_SEZDOC", ReminderFormTexts::kSectionNone);
        sezdoc->setValue(ReminderFormTexts::kSectionNone);
    }
}

void FRMKV_SOLLECITI::enableBlockCode() {
    const QVariant kind = combo(QStringLiteral("CBO_INDBLOCCO"))->Value();
    enable(control(QStringLiteral("TXT_CODBLOCCO")), !Value::isNull(kind) && Value::toInt(kind) != 0);
}

void FRMKV_SOLLECITI::CHK_FLGCALCINT_AfterItem() {
    guard("CHK_FLGCALCINT_AfterItem:", [&] {
        FrameControl* tick = control(QStringLiteral("CHK_FLGCALCINT"));
        const bool on = tick->Text() == QLatin1String("1");
        enableInterest(on);
        if (on || !entryChanged(tick)) return;
        setColumnsNull({"EF05_TASSOINT", "EF05_DADATACALC", "EF05_ADATACALC", "EF05_IMPINTERES"});
        for (const char* name : kInterestFields) control(QString::fromLatin1(name))->setValue(QVariant());
    });
}

void FRMKV_SOLLECITI::CHK_FLGEMISDOC_AfterItem() {
    guard("CHK_FLGEMISDOC_AfterItem:", [&] {
        FrameControl* tick = control(QStringLiteral("CHK_FLGEMISDOC"));
        const bool on = tick->Text() == QLatin1String("1");
        enableDocument(on, FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding);
        if (on || !entryChanged(tick)) return;
        setColumnsNull({"EF05_DOCUM_MG36", "EF05_DATADOC", "EF05_NUMDOC", "EF05_SEZDOC", "EF05_FLGDOCBIS"});
        for (const char* name : {"TXT_DOCUMENTO", "TXT_DATADOC", "TXT_NUMDOC", "TXT_SEZDOC", "CHK_FLGDOCBIS"})
            control(QString::fromLatin1(name))->setValue(QVariant());
    });
}

void FRMKV_SOLLECITI::TXT_DATADOC_AfterItem() {
    guard("TXT_DATADOC_AfterItem:", [&] {
        if (!entryChanged(control(QStringLiteral("TXT_DATADOC")))) return;
        if (control(QStringLiteral("CHK_FLGEMISDOC"))->Text() != QLatin1String("1")) return;
        FrameControl* sezdoc = control(QStringLiteral("TXT_SEZDOC"));
        if (sectionApplies()) {
            enable(sezdoc, true);
            return;
        }
        enable(sezdoc, false);
        setColumn("EF05_SEZDOC", ReminderFormTexts::kSectionNone);
        sezdoc->setValue(ReminderFormTexts::kSectionNone);
    });
}

void FRMKV_SOLLECITI::CBO_INDBLOCCO_AfterItem() {
    guard("CBO_INDBLOCCO_AfterItem:", [&] {
        enableBlockCode();
        ComboBox* block = combo(QStringLiteral("CBO_INDBLOCCO"));
        if (!entryChanged(block) || Value::toInt(block->Value()) != 0) return;
        setColumn("EF05_CODBLOC_MG25", QVariant());
        control(QStringLiteral("TXT_CODBLOCCO"))->setValue(QVariant());
        control(QStringLiteral("TXT_DESBLOCCO"))->setText(QString());
    });
}

void FRMKV_SOLLECITI::validateRate(bool* cancel) {
    const QVariant rate = control(QStringLiteral("TXT_TASSOINT"))->Value();
    if (Value::isNull(rate)) return;
    const Decimal r = Value::toDecimal(rate);
    if (r >= Decimal(0) && r <= Decimal(100)) return;
    in_.log->MsgBox(ReminderFormTexts::kTassoNonValido, LogService::kExclamation,
                    ReminderFormTexts::kTitleControlloDati);
    *cancel = true;
}

void FRMKV_SOLLECITI::validatePeriod(FrameControl* field, bool* cancel) {
    const bool isFrom = field->objectName() == QLatin1String("TXT_DADATACALC");
    const QDate mine = Value::toDate(field->Value());
    const QDate other = Value::toDate(
        FME_SOLLECITI->recordset()
            ->Fields(isFrom ? QStringLiteral("EF05_ADATACALC") : QStringLiteral("EF05_DADATACALC"))
            .Value());
    if (!mine.isValid() || !other.isValid()) return;
    if (isFrom ? mine <= other : other <= mine) return;
    in_.log->MsgBox(ReminderFormTexts::kDateInteressi, LogService::kExclamation,
                    ReminderFormTexts::kTitleControlloDati);
    *cancel = true;
}

void FRMKV_SOLLECITI::validateLetter(bool* cancel) {
    FrameControl* letter = control(QStringLiteral("TXT_SIGLALETTERA"));
    const QString code = letter->Text().trimmed().toUpper();
    if (code.isEmpty() || !in_.connection) return;
    // Letter codes are kept in capitals, as the fixed texts are.
    if (code != letter->Text()) letter->setText(code);
    const bool found = guard("TXT_SIGLALETTERA_Validate:", [&] {
        Recordset rs;
        rs.Open(ReminderStatements::letterDescription(company(), code), in_.connection);
        if (!rs.AtEOF()) return;
        control(QStringLiteral("TXT_DESCRLETTERA"))->setText(QString());
        in_.log->MsgBox(ReminderFormTexts::kLetteraInesistente, LogService::kExclamation,
                        ReminderFormTexts::kTitleControlloDati);
        *cancel = true;
    });
    if (!found) *cancel = true;
}

void FRMKV_SOLLECITI::suggestInterest() {
    if (columnText("EF05_FLGCALCINT") != QLatin1String("1") || !in_.billAmount) return;
    Recordset& rs = *FME_SOLLECITI->recordset();
    const QVariant rate = rs.Fields(QStringLiteral("EF05_TASSOINT")).Value();
    if (Value::isNull(rate)) return;
    const std::optional<Decimal> interest =
        SimpleInterest::of(*in_.billAmount, Value::toDecimal(rate),
                           Value::toDate(rs.Fields(QStringLiteral("EF05_DADATACALC")).Value()),
                           Value::toDate(rs.Fields(QStringLiteral("EF05_ADATACALC")).Value()));
    if (!interest) return;
    setColumn("EF05_IMPINTERES", QVariant::fromValue(*interest));
    control(QStringLiteral("TXT_IMPINTERES"))->setValue(QVariant::fromValue(*interest));
}

void FRMKV_SOLLECITI::GestioneTestoFisso(const QString& key) {
    // The letter's text at its head (1) or at its foot (2).
    const int part = key == ReminderFormTexts::kKeyTestata ? 1 : key == ReminderFormTexts::kKeyPiede ? 2 : 0;
    if (part == 0) return;
    runProgram(ReminderFormTexts::kProgTestiFissi,
               {control(QStringLiteral("TXT_SIGLALETTERA"))->Text().trimmed(), part});
}

void FRMKV_SOLLECITI::runProgram(const QString& progId, const QVariantList& parameters,
                                 FrameControl* target) {
    HostGlobal* global = in_.host ? in_.host->ClsGlobal().get() : nullptr;
    QVariant chosen;
    if (global && global->RunProgram(progId, parameters, &chosen)) {
        // The code chosen there comes back into the field, decoded as if typed.
        if (target && target->isEnabled() && !Value::toText(chosen).trimmed().isEmpty()) {
            target->setText(Value::toText(chosen).trimmed());
            if (!target->DataField().isEmpty())
                setColumn(target->DataField().toLatin1().constData(), target->Value());
        }
        return;
    }
    in_.log->MsgBox(ReminderFormTexts::kProgrammaNonDisponibile, LogService::kInformation,
                    ReminderFormTexts::kTitleInformazione);
}

void FRMKV_SOLLECITI::CHK_FLGPERS2_KeyDown(int keyCode) {
    guard("CHK_FLGPERS2_KeyDown:", [&] {
        if (keyCode != 13 && keyCode != 9 && keyCode != 40) return;
        if (FME_SOLLECITI->Status() == VirtualFrame::kStatusShown)
            GNV_DETTSOLLECITI->press(QStringLiteral("Conferma"));
        else if (FME_SOLLECITI->Status() == VirtualFrame::kStatusAdding)
            GNV_DETTSOLLECITI->press(QStringLiteral("Nuovo"));
    });
}
