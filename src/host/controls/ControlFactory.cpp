#include "ControlFactory.h"

#include "CheckBox.h"
#include "ComboBox.h"
#include "DateBox.h"
#include "EditBox.h"
#include "IdEditBox.h"
#include "MemoBox.h"
#include "NumericBox.h"
#include "RowKeyBox.h"

#include <QLabel>

namespace ControlFactory {

namespace {

FrameControl* widgetFor(const ControlDef& def, QWidget* parent) {
    switch (def.kind) {
        case ControlKind::Text:
        case ControlKind::Description:
            return new EditBox(parent);
        case ControlKind::Memo:
            return new MemoBox(parent);
        case ControlKind::Number:
        case ControlKind::Rate:
            return new NumericBox(parent);
        case ControlKind::Amount: {
            auto* n = new NumericBox(parent);
            n->setGrouped(true);
            n->setMinimumWidth(130);
            return n;
        }
        case ControlKind::Date: {
            auto* d = new DateBox(parent);
            d->setMinimumWidth(100);
            return d;
        }
        case ControlKind::Code:
            return new IdEditBox(parent);
        case ControlKind::Combo: {
            auto* c = new ComboBox(parent);
            c->setMinimumWidth(140);
            return c;
        }
        case ControlKind::Check:
            return new CheckBox(QString::fromUtf8(def.caption), parent);
        case ControlKind::RowKey:
            return new RowKeyBox(parent);
    }
    return nullptr;
}

}  // namespace

FrameControl* create(const ControlDef& def, QWidget* parent) {
    FrameControl* c = widgetFor(def, parent);
    const QString caption = QString::fromUtf8(def.caption);
    c->setObjectName(QString::fromLatin1(def.name));
    c->setDataField(QString::fromLatin1(def.column));
    c->setToolTip(caption);
    c->setAccessibleName(caption);
    if (def.kind == ControlKind::Description) {
        c->setAcceptsInput(false);
        c->setTabStop(false);
        c->setFocusPolicy(Qt::NoFocus);
    }
    return c;
}

QString caption(std::span<const ControlDef> table, QAnyStringView name) {
    for (const ControlDef& d : table)
        if (name == QAnyStringView(d.name)) return QString::fromUtf8(d.caption);
    return {};
}

QLabel* label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("LBL_") + buddy->objectName());
    l->setBuddy(buddy);
    return l;
}

}  // namespace ControlFactory
