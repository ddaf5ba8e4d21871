#pragma once

#include "EditBox.h"

struct DecodeRequest;
struct LookupRequest;

// An edit box holding the code of another archive. Whenever its text changes (typed, chosen from
// the search list, or shown from the frame's row) it raises StartDecode and runs the decode the
// handler prepared: a row found fills the target controls and sets the valid mark; no row empties
// them and clears it. An empty code is valid and needs no decode. F3 or the search button raises
// StartLookup and shows the search list the handler prepared; the chosen row's LookupKey column
// becomes the text.
class IdEditBox : public EditBox {
    Q_OBJECT
public:
    explicit IdEditBox(QWidget* parent = nullptr);

    void setText(const QString& text) override;

    // The column of the search list whose value the box takes; empty: the first column.
    const QString& LookupKey() const { return lookupKey_; }
    void setLookupKey(const QString& column) { lookupKey_ = column; }

    // Raises StartLookup and shows the list; true when the user chose a row.
    bool lookup();
    // Raises StartDecode for the current text and runs the prepared decode.
    void decode();

signals:
    void StartLookup(LookupRequest* request);
    void StartDecode(DecodeRequest* request);

protected:
    void completeEntry() override;
    bool handleKey(int qtKey, Qt::KeyboardModifiers modifiers) override;

private:
    static void fill(const DecodeRequest& request, const QVariantList& values);

    QString lookupKey_;
    QString decodedText_;
};
