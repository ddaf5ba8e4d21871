#pragma once

#include "EditBox.h"

#include <QPointer>
#include <memory>
#include <optional>

class Connection;
class DescriptionCache;
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

    // A box whose column holds the archive row's id while the user sees and types its code (the
    // agent): Value is the id of the code shown, Null when none of the company's rows has it.
    struct IdColumns {
        QString table;
        QString idColumn;
        QString codeColumn;
        QString companyColumn;
        qint32 company = 0;
        QString connectionString;
    };
    void setIdColumns(const IdColumns& columns) { idColumns_ = columns; }
    QVariant Value() const override;
    void setValue(const QVariant& value) override;

    // The column of the search list whose value the box takes; empty: the first column.
    const QString& LookupKey() const { return lookupKey_; }
    void setLookupKey(const QString& column) { lookupKey_ = column; }

    // Raises StartLookup and shows the list; true when the user chose a row.
    bool lookup();
    // Raises StartDecode for the current text and runs the prepared decode on the database.
    void decode() { decode(true); }
    // Look-ups of codes shown from a row answered from `cache` when it holds them (shared by the
    // boxes of one form); a code the user typed or chose is always read from the database.
    void setDescriptionCache(std::shared_ptr<DescriptionCache> cache) { cache_ = std::move(cache); }
    // Whether the last decode fills a description, and the description it shows.
    bool hasDescription() const { return !lastTargets_.isEmpty() && lastTargets_.first(); }
    QString description() const;

signals:
    void StartLookup(LookupRequest* request);
    void StartDecode(DecodeRequest* request);
    // A row chosen from the search list, every column in the list's order; raised once the
    // chosen code is the text, before it is decoded.
    void LookupReturn(const QVariantList& row);

protected:
    void completeEntry() override;
    bool handleKey(int qtKey, Qt::KeyboardModifiers modifiers) override;

private:
    static void fill(const DecodeRequest& request, const QVariantList& values);
    // `fresh`: the code was typed or chosen, not shown from a row, so the cache is not asked.
    void decode(bool fresh);
    // The first row of `sql` (empty: none), from the cache unless `fresh`.
    QVariantList firstRow(const QString& connectionString, const QString& sql, bool fresh) const;
    // The first column of the first row of `sql` on the id table's database (Null: no row).
    QVariant idTableValue(const QString& sql, bool fresh) const;
    // The shared connection to that database, held while the box reads through it.
    Connection& reader(const QString& connectionString) const;

    QString lookupKey_;
    QString decodedText_;
    QList<QPointer<FrameControl>> lastTargets_;
    mutable std::shared_ptr<Connection> reader_;
    std::shared_ptr<DescriptionCache> cache_;
    std::optional<IdColumns> idColumns_;
    QVariant id_;
};
