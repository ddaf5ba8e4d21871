#pragma once

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
};
