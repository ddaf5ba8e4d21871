#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

// One maintenance program of an archive, as data: the table, the fields the clerk edits, the
// columns fixed by where the program was opened (the company, a counterpart) and what it hands
// back. Column types and lengths come from the database catalogue.
struct ArchiveDescription {
    struct Field {
        QString column;
        QString caption;
        bool required = false;
        bool upper = false;  // codes are kept upper-case
        // An empty value stored as an empty text, so that it matches as one (a pair without CUP).
        bool emptyIsText = false;
    };
    // Rows of `table` the program links to the context (CIG/CUP pairs to a counterpart): saving a
    // row adds its link with `values`, removing the last link of a row removes the row.
    struct Link {
        QString table;
        QString rowColumn;  // the link's column holding the row's generated key
        QList<std::pair<QString, QVariant>> values;
    };

    QString progId;
    QString objectName;  // the window's, as the driver names it
    QString title;
    QString table;
    QList<Field> fields;
    // Columns the program's context fixes: written into every row, the list narrowed to them.
    QList<std::pair<QString, QVariant>> fixed;
    // The key column the program numbers itself (the next number after the highest), if any.
    QString generatedKey;
    // The columns that identify a row besides the fixed ones (the typed code, or the generated
    // key); and columns whose values no two rows may share (a CIG/CUP pair).
    QStringList key;
    QStringList unique;
    std::optional<Link> link;
    // The column whose value goes back to the caller when the clerk chooses a row.
    QString handBack;
    // Values the fields start with, and the row the list first stands on (column, value).
    QList<std::pair<QString, QVariant>> preset;
};
