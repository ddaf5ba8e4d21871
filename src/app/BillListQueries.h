#pragma once

#include <QList>
#include <QString>

// The reads that complete the calling program's list: the names of the counterparts shown on a
// page, the counterparts found by name, the banks to filter by.
namespace BillListQueries {

// Code and name of the given counterparts of an archive: customers or suppliers (archives 0 and
// 1, by number) or ledger accounts of the group (archives 2 and 3, by account, quoted).
QString names(qint32 company, int tipoArchivio, qint32 ledgerGroup, const QStringList& codes);
// The codes of the counterparts of an archive whose name holds `text` (any case; % and _ are
// letters, not patterns), by code.
QString codesByName(qint32 company, int tipoArchivio, qint32 ledgerGroup, const QString& text);
// Every presentation bank: code and description, by description.
QString banks();

}  // namespace BillListQueries
