#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class Connection;

// The names of the counterparts of one archive, read for the codes a page shows and kept for
// the next pages: one read per page, never one per row.
class CounterpartNames {
public:
    CounterpartNames(std::shared_ptr<Connection> connection, qint32 company, int tipoArchivio,
                     qint32 ledgerGroup);

    // Reads the names of the codes not read yet. Throws SuiteError when the read fails.
    void load(const QStringList& codes);
    // The name of a code loaded before; empty when the archive has none.
    QString nameOf(const QString& code) const { return names_.value(code); }

private:
    std::shared_ptr<Connection> connection_;
    qint32 company_;
    int tipoArchivio_;
    qint32 ledgerGroup_;
    QHash<QString, QString> names_;  // every code asked for, with an empty name when unknown
};
