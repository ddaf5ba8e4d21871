#pragma once

#include "ArchiveDescription.h"

#include <QMap>
#include <memory>
#include <optional>

class Connection;
class Recordset;

// Reads and writes the rows of one archive as its description says, through the signed-in user's
// connection (the database refuses what the user's group may not do). What the clerk typed
// reaches the SQL only as escaped text or checked numbers.
class ArchiveStore {
public:
    using Record = QMap<QString, QString>;  // column -> text as typed

    ArchiveStore(ArchiveDescription description, std::shared_ptr<Connection> connection);

    const ArchiveDescription& description() const { return description_; }
    // The rows of the archive whose fields contain `typed` (all when empty), ordered by key.
    std::shared_ptr<Recordset> list(const QString& typed) const;
    // What is wrong with `record` for the clerk, first thing first; empty when it can be saved.
    // `original` is the record as read (empty for a new one).
    QString check(const Record& record, const Record& original) const;
    // Writes `record` (adds it when `original` is empty) with its link in one transaction; returns
    // it as stored (a generated key filled). Throws SuiteError when the database refuses.
    Record save(const Record& record, const Record& original);
    // The row `original` as it is stored now (after a colleague's change); none when it is gone.
    std::optional<Record> reread(const Record& original) const;
    // Removes the row `original` (or only its link, when other links keep it).
    void remove(const Record& original);

    // The SQL literal of `text` for `column`: quoted text, or a number; empty when it is not one.
    QString literal(const QString& column, const QString& text) const;

private:
    Record normalised(const Record& record) const;
    // The save's parts. The key of the row with the same unique values, registered already
    // (linked elsewhere); empty when there is none.
    QString registeredRow(const Record& stored) const;
    // Inserts the row, numbering its key when the program does; answers the key.
    QString insertRow(Record& stored) const;
    void insertLink(const QString& rowKey) const;
    // Updates the row as `original` read it; SuiteError (write conflict) when it has changed.
    void update(const Record& stored, const Record& original) const;
    QString whereFixed() const;
    QString whereKey(const Record& record) const;
    QString linkWhere(const QString& rowKey) const;
    bool isNumber(const QString& column) const;
    bool isDate(const QString& column) const;
    int maxLength(const QString& column) const;
    QString caption(const QString& column) const;
    bool exists(const QString& condition) const;

    ArchiveDescription description_;
    std::shared_ptr<Connection> connection_;
};
