#pragma once

#include "EditBox.h"

#include <functional>

// A row's identifier (its GUID) bound to its column and never typed: the box keeps the value as
// read, so the frame never sees it change, and shows what the form says about the row (its
// workflow state, its extended attributes) instead of the identifier itself.
class RowKeyBox : public EditBox {
    Q_OBJECT
public:
    explicit RowKeyBox(QWidget* parent = nullptr);

    using Describer = std::function<QString(const QVariant& key)>;
    // What the box shows for a key; none: it shows nothing.
    void setDescriber(Describer describe) { describe_ = std::move(describe); }

    QVariant Value() const override { return key_; }
    void setValue(const QVariant& value) override;

private:
    QVariant key_;
    Describer describe_;
};
