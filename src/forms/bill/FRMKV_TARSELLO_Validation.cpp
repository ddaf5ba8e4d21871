// The header's field rules: each field remembers its value when the user enters it, and when
// the user leaves it changed, completes the related fields that are still empty.
#include "ComboBox.h"
#include "DateBox.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "MDLKV_TARSELLO.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "Value.h"
#include "VirtualFrame.h"

using MDLKV_TARSELLO::NullToString;

namespace {
// The fields whose value on entry is remembered.
const char* const kRemembered[] = {"CHK_BISDOC",      "TXT_DATADOC",      "TXT_DATAREG",
                                   "TXT_NUMDOC",      "TXT_SCADE",        "TXT_SEZDOC",
                                   "TXT_CODBANCAAPP", "TXT_CODBANCAPRES", "TXT_PROGR_MG35"};
}  // namespace

void FRMKV_TARSELLO::connectFieldRules() {
    for (const char* name : kRemembered) {
        FrameControl* c = control(QString::fromLatin1(name));
        connect(c, &FrameControl::BeforeItem, this,
                [this, c] { entryValues_[c->objectName()] = NullToString(c->Text()); });
    }
    // Document number, due date and section complete the item's number, original due date and
    // section when those are still empty.
    struct Completion {
        const char* field;
        const char* related;
    };
    for (const Completion& p :
         {Completion{"TXT_NUMDOC", "TXT_NUMPART"}, Completion{"TXT_SCADE", "TXT_SCADEORIG"},
          Completion{"TXT_SEZDOC", "TXT_SEZPART"}}) {
        FrameControl* field = control(QString::fromLatin1(p.field));
        FrameControl* related = control(QString::fromLatin1(p.related));
        connect(field, &FrameControl::LostFocus, this,
                [this, field, related, label = QString::fromLatin1(p.field) + QStringLiteral("_LostFocus:")] {
                    guard(label.toLatin1().constData(),
                          [&] { completeRelated(field, related, field->Value()); });
                });
    }
    FrameControl* docDate = control(QStringLiteral("TXT_DATADOC"));
    connect(docDate, &FrameControl::LostFocus, this,
            [this] { guard("TXT_DATADOC_LostFocus:", [&] { TXT_DATADOC_LostFocus(); }); });
    connect(control(QStringLiteral("TXT_DATAREG")), &FrameControl::LostFocus, this,
            [this] { guard("TXT_DATAREG_LostFocus:", [&] { TXT_DATAREG_LostFocus(); }); });
    connect(control(QStringLiteral("CHK_BISDOC")), &FrameControl::LostFocus, this, [this] {
        guard("CHK_BISDOS_LostFocus:", [&] {
            FrameControl* bis = control(QStringLiteral("CHK_BISDOC"));
            const QString value = NullToString(bis->Text());
            if (value == entryValues_.value(bis->objectName())) return;
            clsRstTestata->Fields(QStringLiteral("EF01_FLGPARTBIS")).setValue(value);
            FME_TESTATA->Refresh();
        });
    });
    auto* type = combo(QStringLiteral("CBO_TIPOEFF"));
    connect(type, &ComboBox::ChangeRow, this,
            [this] { guard("CBO_TIPOEFF_ChangeRow:", [&] { enableSubtype(); }); });
    connect(type, &FrameControl::LostFocus, this, [this, type] {
        guard("CBO_TIPOEFF_LostFocus:", [&] {
            const QString code = NullToString(type->Value());
            bool subtype = false;
            for (int n = 7; n <= 16; ++n) subtype = subtype || code == QString::number(n);
            if (subtype) return;
            // The column goes with the text: a sub-type left behind would be saved unseen.
            FrameControl* field = control(QStringLiteral("TXT_STIPOEFF"));
            field->setValue(QVariant());
            if (clsRstTestata && !clsRstTestata->AtBOF() && !clsRstTestata->AtEOF() &&
                !Value::isNull(clsRstTestata->Fields(field->DataField()).Value())) {
                clsRstTestata->Fields(field->DataField()).setValue(QVariant());
                FME_TESTATA->setRecordChanged(true);
            }
        });
    });
}

void FRMKV_TARSELLO::enableSubtype() {
    const QVariant value = combo(QStringLiteral("CBO_TIPOEFF"))->Value();
    const int code = Value::isNull(value) ? 0 : Value::toInt(value);
    control(QStringLiteral("TXT_STIPOEFF"))->setEnabled(code == 2 || (code >= 7 && code <= 16));
}

// The common pattern: a changed, non-empty, valid value fills the related field when it is empty.
void FRMKV_TARSELLO::completeRelated(FrameControl* field, FrameControl* related, const QVariant& value) {
    const QString text = NullToString(field->Text());
    if (text == entryValues_.value(field->objectName())) return;
    if (text.isEmpty() || !field->Valid()) return;
    if (!NullToString(related->Text()).isEmpty()) return;
    clsRstTestata->Fields(related->DataField()).setValue(value);
    related->setValid(true);
    FME_TESTATA->Refresh();
}

void FRMKV_TARSELLO::applySectionsRule() {
    enableSections();
    if (SezionaleAbilitato()) return;
    for (const char* name : {"TXT_SEZDOC", "TXT_SEZPART"})
        clsRstTestata->Fields(control(QString::fromLatin1(name))->DataField()).setValue(QStringLiteral("00"));
    FME_TESTATA->Refresh();
}

void FRMKV_TARSELLO::TXT_DATADOC_LostFocus() {
    FrameControl* date = control(QStringLiteral("TXT_DATADOC"));
    const QVariant value = clsRstTestata->Fields(date->DataField()).Value();
    if (NullToString(date->Text()) == entryValues_.value(date->objectName())) return;
    if (!Value::isNull(value) && date->Valid())
        completeRelated(date, TXT_ANNOPART, Value::toDate(value).year());
    applySectionsRule();
}

void FRMKV_TARSELLO::TXT_DATAREG_LostFocus() {
    FrameControl* reg = control(QStringLiteral("TXT_DATAREG"));
    const QString text = NullToString(reg->Text());
    if (text == entryValues_.value(reg->objectName()) || text.isEmpty() || !reg->Valid()) return;
    FrameControl* doc = control(QStringLiteral("TXT_DATADOC"));
    if (!NullToString(doc->Text()).isEmpty()) return;
    const QDate date = Value::toDate(reg->Value());
    clsRstTestata->Fields(QStringLiteral("EF01_DATADOC")).setValue(date);
    doc->setValid(true);
    if (NullToString(TXT_ANNOPART->Text()).isEmpty()) {
        clsRstTestata->Fields(QStringLiteral("EF01_ANNOPART")).setValue(date.year());
        TXT_ANNOPART->setValid(true);
    }
    FME_TESTATA->Refresh();
    applySectionsRule();
}
