#pragma once
// A form declares its data controls as a table: name, kind, bound column and caption. The
// factory builds each control from its line, so every form's fields are made, bound and
// labelled alike.
#include <QAnyStringView>
#include <QString>
#include <span>

class FrameControl;
class QLabel;
class QWidget;

enum class ControlKind {
    Text,
    Memo,  // multi-line text
    Number,
    Amount,
    Rate,
    Date,
    Code,  // a code with a lookup button
    Combo,
    Check,
    Description,  // read-only text shown beside a code; never takes focus
    RowKey        // a row's identifier, kept as read; shows what the form says about the row
};

struct ControlDef {
    const char* name;
    ControlKind kind;
    const char* column;  // bound column; empty for an unbound control
    const char* caption;
};

namespace ControlFactory {

// The control of one table line, named, bound, captioned for tooltips and screen readers.
FrameControl* create(const ControlDef& def, QWidget* parent);

// The caption of a line of the table, empty when no line has that name.
QString caption(std::span<const ControlDef> table, QAnyStringView name);

// A field's label, named after it (LBL_TXT_...) so that it can be hidden with its field.
QLabel* label(const QString& text, QWidget* buddy, QWidget* parent);

}  // namespace ControlFactory
