#pragma once

#include "FrameControl.h"

class QComboBox;

// A drop-down list of code table entries: each item has a description and a code. The value is
// the selected item's code (Null when none is selected). ChangeRow is raised when the user picks
// another item; selections made by the form or by the frame raise nothing.
class ComboBox : public FrameControl {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    void Clear();
    void AddItem(const QString& description, const QVariant& code);
    // Items are kept in description order while set; the forms clear it before filling.
    bool Sorted() const { return sorted_; }
    void setSorted(bool on) { sorted_ = on; }
    int ListCount() const;
    void SelectFirst() { setListIndex(ListCount() > 0 ? 0 : -1); }
    int ListIndex() const;
    void setListIndex(int index);

    // The code whose item stands for an empty column (the blank entry): an empty value shows
    // it, and choosing it gives the column an empty value. Unset: an empty value selects nothing.
    void setNullCode(const QVariant& code) { nullCode_ = code; }
    const QVariant& NullCode() const { return nullCode_; }

    QVariant Value() const override;
    void setValue(const QVariant& code) override;
    QString Text() const override;
    void setText(const QString& description) override;

    QComboBox* comboBox() const { return combo_; }

signals:
    void ChangeRow();

private:
    QComboBox* combo_;
    bool sorted_ = false;
    bool programmatic_ = false;
    QVariant nullCode_;
};
