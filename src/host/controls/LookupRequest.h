#pragma once

#include "ArchiveConnector.h"

#include <QString>
#include <QStringList>

// What a StartLookup handler fills in: the query of the search list, the captions of its
// columns, the list's title, the lookup's identifier and the connection string to run it on.
// An empty query means no list is shown.
struct LookupRequest {
    QString query;
    QStringList columns;
    QString title;
    QString identifier;
    QString connectionString;
    // A list over a large archive pages and filters by itself: `orderColumn` is a result column
    // unique in the list, by which it is sorted and read a page at a time (the query then has no
    // ORDER BY); what the user types is looked for in `searchColumns`. Empty: every row of the
    // query is shown as it comes.
    QString orderColumn;
    QStringList searchColumns;

    // The search list of an archive, run on `connectionString`.
    static LookupRequest of(const ArchiveConnector::Lookup& list, const QString& connectionString) {
        return {list.query,       list.columns,   list.title,        list.identifier,
                connectionString, list.keyColumn, list.searchColumns};
    }
};
