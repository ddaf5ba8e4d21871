#pragma once

#include <QString>

// The text of the query that reads the caller's Bills: EF01_SCADENZE with the operation type of
// its document, the archive conditions of the archive type, the caller's selection and order.
// The joined form, for a selection that names columns of the decode tables (the status filter
// view VFSEF01, agents, registry names), tests the selection inside an EXISTS over those joins.
// The calling program lists Bills with it and the bill form binds its header to it.
struct HeaderQuery {
    QString selection;  // the caller's selection text, may be empty
    QString order;      // the caller's order text, may be empty
    int tipoArchivio = 0;
    qint32 company = 0;
    qint32 ledgerGroup = 0;
    QString customerAccount;
    QString supplierAccount;
    bool joined = false;  // forced on when the selection mentions VFSEF01

    // True when the selection asks for the joined form by itself.
    static bool selectionNeedsJoin(const QString& selection);
    // The whole query, ordered.
    QString text() const;
    // Its two parts, for a read page by page: the query without ORDER BY, and the order.
    QString selectText() const;
    QString orderText() const;
};
