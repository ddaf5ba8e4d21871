// What the host's navigator asks of the form: the export of the Bill with all its tabs, the
// record in focus for the attachment buttons, the attachment context of the header fields, and
// the objects offered to the user's layout and script.
#include "BillFormTexts.h"
#include "BillGridLayouts.h"
#include "CLSKV_TARSELLO.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "FRMKV_TARSELLO.h"
#include "FlagTexts.h"
#include "Grid.h"
#include "HistoryCodeTables.h"
#include "IdEditBox.h"
#include "LayoutScriptHolder.h"
#include "MDLKV_TARSELLO.h"
#include "OfficeExport.h"
#include "Recordset.h"
#include "ReminderCodeTables.h"
#include "RowKeyBox.h"
#include "SuiteError.h"
#include "TabControl.h"
#include "Value.h"
#include "VirtualFrame.h"

#include <QComboBox>
#include <QSet>
#include <algorithm>

namespace {

bool onRow(const std::shared_ptr<Recordset>& rs) {
    return rs && rs->State() == 1 && !rs->AtBOF() && !rs->AtEOF();
}

// A bound control's value as the document shows it: a flag as its word, a code as its
// description, texts without the blanks that pad them, anything else with its own type (amounts,
// dates, numbers).
QVariant shownValue(const FrameControl* control, const QVariant& value) {
    if (qobject_cast<const CheckBox*>(control))
        return Value::toInt(value) == 1 ? FlagTexts::kYes : FlagTexts::kNo;
    if (const auto* combo = qobject_cast<const ComboBox*>(control)) {
        const QComboBox* list = combo->comboBox();
        for (int i = 0; i < list->count(); ++i)
            if (!Value::isNull(value) && Value::compare(list->itemData(i), value) == 0)
                return list->itemText(i).trimmed();
        return MDLKV_TARSELLO::NullToString(value);
    }
    if (value.metaType().id() == QMetaType::QString) return value.toString().trimmed();
    return value;
}

// A frame's section: one column per named bound control (each column once; the row's identifier
// and the internal ids are no reading for a person), one row per row of its recordset. On the
// current row a code is written as the clerk sees it, followed by its description.
void frameSection(OfficeExport& e, const QString& title, const VirtualFrame* frame,
                  const std::shared_ptr<Recordset>& rs, bool currentRowOnly) {
    struct Column {
        const FrameControl* control;
        QString heading;
        bool description;
    };
    QList<Column> columns;
    QSet<QString> written;
    for (const auto& c : frame->controls()) {
        if (!c || c->DataField().isEmpty() || c->accessibleName().isEmpty()) continue;
        // A row's identifier is written as the box shows it (its state, its attributes), each
        // box once; any other identifier is no reading for a person.
        const bool described = qobject_cast<const RowKeyBox*>(c.data()) != nullptr;
        const QString shownAs = described ? c->objectName() : c->DataField();
        if ((!described && c->DataField().endsWith(QLatin1String("_GUID"))) || written.contains(shownAs))
            continue;
        written.insert(shownAs);
        columns.append({c, c->accessibleName(), false});
        const auto* code = qobject_cast<const IdEditBox*>(c.data());
        if (currentRowOnly && code && code->hasDescription())
            columns.append({c, c->accessibleName() + BillFormTexts::kExportDescrizione, true});
    }
    // A caption two fields share ("Bis") is told apart by the field before it.
    QStringList headings;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString& h = columns[i].heading;
        const bool shared = std::count_if(columns.cbegin(), columns.cend(),
                                          [&](const Column& c) { return c.heading == h; }) > 1;
        headings.append(shared && i > 0 ? QStringLiteral("%1 (%2)").arg(h, columns[i - 1].heading) : h);
    }
    QList<QVariantList> rows;
    auto addRow = [&](Recordset& r, bool shown) {
        QVariantList row;
        for (const Column& c : columns) {
            const auto* code = qobject_cast<const IdEditBox*>(c.control);
            if (const auto* key = qobject_cast<const RowKeyBox*>(c.control))
                row.append(shown ? key->Text().trimmed() : QString());
            else if (shown && code)
                row.append(c.description ? code->description() : code->Text().trimmed());
            else
                row.append(shownValue(c.control, r.Fields(c.control->DataField()).Value()));
        }
        rows.append(row);
    };
    if (currentRowOnly) {
        if (onRow(rs)) addRow(*rs, true);
    } else if (rs && rs->State() == 1) {
        auto copy = rs->Clone();
        if (copy->RecordCount() != 0)
            for (copy->MoveFirst(); !copy->AtEOF(); copy->MoveNext()) addRow(*copy, false);
    }
    e.AddMasterDetail(title, headings, rows);
}

// A grid's section: the grid's columns that the recordset has, coded cells as the grid shows them.
void gridSection(OfficeExport& e, const QString& title, const QList<BillGridLayouts::Column>& allColumns,
                 const std::shared_ptr<Recordset>& rs, QString (*cellText)(const QString&, const QString&)) {
    QStringList headings;
    QList<BillGridLayouts::Column> layout;
    for (const auto& c : allColumns)
        if (!rs || rs->State() != 1 || rs->FieldIndex(QString::fromLatin1(c.field)) >= 0) {
            layout.append(c);
            headings.append(QString::fromUtf8(c.caption));
        }
    QList<QVariantList> rows;
    if (rs && rs->State() == 1) {
        auto copy = rs->Clone();
        if (copy->RecordCount() != 0)
            for (copy->MoveFirst(); !copy->AtEOF(); copy->MoveNext()) {
                QVariantList row;
                for (const auto& c : layout) {
                    const QString field = QString::fromLatin1(c.field);
                    const QVariant value = copy->Fields(field).Value();
                    const QString text = MDLKV_TARSELLO::NullToString(value);
                    const QString described = cellText(field, text);
                    row.append(described != text ? QVariant(described.trimmed())
                                                 : shownValue(nullptr, value));
                }
                rows.append(row);
            }
    }
    e.AddMasterDetail(title, headings, rows);
}

}  // namespace

void FRMKV_TARSELLO::refreshAllTabs() {
    if (!bolTabConf_CambCess) bolTabIni_CambCess ? ShowCambialiCessioni() : InizializzaCambialiCessioni();
    if (!bolTabConf_Storico) bolTabIni_Storico ? ShowStorico() : InizializzaStorico();
    if (!bolTabConf_Solleciti) bolTabIni_Solleciti ? ShowSolleciti() : InizializzaSolleciti();
    if (!bolTabConf_Note) bolTabIni_Note ? ShowNote() : InizializzaNote();
}

void FRMKV_TARSELLO::exportToOffice(OfficeExport& e) {
    guard("ActiveNavigator_BeforeExportToOffice:", [&] {
        refreshAllTabs();
        e.TitoloMaster = BillFormTexts::kCaption;
        frameSection(e, e.TitoloMaster, FME_TESTATA, clsRstTestata, true);
        frameSection(e, BillFormTexts::kExportCambiali, FME_CAMBIALI, clsRstCambialiCessioni, false);
        gridSection(e, BillFormTexts::kExportStorico, BillGridLayouts::storico(), clsRstStorico,
                    &HistoryCodeTables::cellText);
        gridSection(e, BillFormTexts::kExportSolleciti, BillGridLayouts::solleciti(), clsRstSolleciti,
                    &ReminderCodeTables::cellText);
        frameSection(e, BillFormTexts::kExportNote, FME_NOTE, clsRstNote, false);
    });
}

FRMKV_TARSELLO::MediaRecord FRMKV_TARSELLO::recordInFocus() const {
    const QWidget* active = focusWidget();
    auto within = [&](const QWidget* area) {
        return active && area && (active == area || area->isAncestorOf(active));
    };
    auto* self = const_cast<FRMKV_TARSELLO*>(this);
    if (within(GRD_STORICO) && clsRstStorico)
        return {clsRstStorico, QStringLiteral("EF06_IDMEDIA_CG99"),
                [self] { self->bolStoricoModified = true; }};
    if (within(GRD_SOLLECITI) && clsRstSolleciti)
        return {clsRstSolleciti, QStringLiteral("EF05_IDMEDIA_CG99"),
                [self] { self->bolSollecitiModified = true; }};
    if (within(TAB_SCADENZE->widget(TabNote)) && clsRstNote)
        return {clsRstNote, QStringLiteral("EF04_IDMEDIA_CG99"),
                [self] { self->FME_NOTE->setRecordChanged(true); }};
    if (within(TAB_SCADENZE->widget(TabCambialiCessioni)) && clsRstCambialiCessioni)
        return {clsRstCambialiCessioni, QStringLiteral("EF03_IDMEDIA_CG99"),
                [self] { self->FME_CAMBIALI->setRecordChanged(true); }};
    return {clsRstTestata, QStringLiteral("EF01_IDMEDIA_CG99"),
            [self] { self->FME_TESTATA->setRecordChanged(true); }};
}

QString FRMKV_TARSELLO::mediaIdInFocus() const {
    const MediaRecord r = recordInFocus();
    if (!onRow(r.rs)) return {};
    return MDLKV_TARSELLO::NullToString(r.rs->Fields(r.column).Value());
}

bool FRMKV_TARSELLO::storeMediaIdInFocus(const QString& mediaId) {
    bool stored = false;
    guard("clsHyperMedia_AfterMediaCreate:", [&] {
        const MediaRecord r = recordInFocus();
        if (!onRow(r.rs) || r.rs->RecordCount() == 0) return;
        r.rs->Fields(r.column).setValue(mediaId);
        r.markChanged();
        // The header's own changes are saved with the Bill: the frame's navigator follows.
        if (r.rs != clsRstTestata) FME_TESTATA->setRecordChanged(true);
        stored = true;
    });
    return stored;
}

QString FRMKV_TARSELLO::holdMediaRecord(const QString& newId) {
    const MediaRecord r = recordInFocus();
    if (!onRow(r.rs) || r.rs->RecordCount() == 0)
        throw SuiteError(SuiteError::kNoCurrentRecord, QStringLiteral("holdMediaRecord"),
                         QStringLiteral("Nessun record selezionato a cui collegare l'allegato."));
    // A row still to be saved is nobody else's yet: its id goes with its save.
    if (r.rs->Status() == RowStatus::New) return {};
    return MDLKV_TARSELLO::NullToString(
        r.rs->ClaimValue(r.column, newId.isEmpty() ? QVariant() : QVariant(newId)));
}

void FRMKV_TARSELLO::ContestoAllegatiTestata() {
    guard("ContestoAllegatiTestata:", [&] {
        if (!ActiveClass || !clsRstTestata) return;
        ActiveClass->ImpostaIconaAllegati(
            onRow(clsRstTestata) ? clsRstTestata->Fields(QStringLiteral("EF01_IDMEDIA_CG99")).Value()
                                 : QVariant());
    });
}

void FRMKV_TARSELLO::ContestoAllegati() {
    guard("ContestoAllegati:", [&] {
        if (!ActiveClass) return;
        const MediaRecord r = recordInFocus();
        ActiveClass->ImpostaIconaAllegati(onRow(r.rs) ? r.rs->Fields(r.column).Value() : QVariant());
    });
}

void FRMKV_TARSELLO::connectAttachmentContext() {
    // Another Bill shown (a move, a new one, a save read back): the icon is the new record's,
    // whichever part of it has the focus; the tabs were brought up to date before.
    connect(FME_TESTATA, &VirtualFrame::ChangeStatus, this, [this](int) { ContestoAllegati(); });
    for (const char* name : {"CBO_TIPOEFF", "CHK_BISDOC", "TXT_CLIFOR", "TXT_DATADOC", "TXT_DATAREG",
                             "TXT_NUMDOC", "TXT_NUMDOCORIG", "TXT_NUMEFF", "TXT_NUMRATA", "TXT_PDC",
                             "TXT_SCADE", "TXT_SCADEORIG", "TXT_SEZDOC", "TXT_STIPOEFF", "TXT_TOTRATE"})
        if (FrameControl* field = control(QString::fromLatin1(name)))
            connect(field, &FrameControl::GotFocus, this, [this] { ContestoAllegatiTestata(); });
}

void FRMKV_TARSELLO::registerLayoutObjects(LayoutScriptHolder& layout) {
    layout.AddStructure(BillFormTexts::kCaption, this);
    layout.AddStructure(BillFormTexts::kLayoutStorico, GRD_STORICO);
    layout.AddStructure(BillFormTexts::kLayoutSolleciti, GRD_SOLLECITI);
}

void FRMKV_TARSELLO::registerScriptObjects(LayoutScriptHolder& script) {
    script.AddStructure(BillFormTexts::kCaption, this);
    script.AddStructure(QStringLiteral("DTS_Testata"), FME_TESTATA);
    // The data sources show the Bill in view: a script reads their fields.
    if (!bolTabConf_CambCess) bolTabIni_CambCess ? ShowCambialiCessioni() : InizializzaCambialiCessioni();
    script.AddStructure(QStringLiteral("DTS_CambialiCessioni"), FME_CAMBIALI);
    if (!bolTabConf_Note) bolTabIni_Note ? ShowNote() : InizializzaNote();
    script.AddStructure(QStringLiteral("DTS_Note"), FME_NOTE);
}
