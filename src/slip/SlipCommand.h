#pragma once

#include "Decimal.h"
#include "SlipKey.h"
#include "SlipWriter.h"

#include <QDate>
#include <QString>
#include <memory>

class Connection;

// The slip as a script asks for it, with its arguments as typed: presented by a filter (every
// Bill it admits goes on the slip) or withdrawn by its key. Wrong arguments and refusals are
// SuiteError with the reason in Italian; nothing is written then.
class SlipCommand {
public:
    struct Written {
        SlipKey key;
        int count = 0;
        Decimal total;
    };

    SlipCommand(std::shared_ptr<Connection> connection, qint32 company, SlipCheck check = {});

    // `billType`: "riba" or "2", "rid", "sdd" or "11"; `from`/`to`: dd/mm/yyyy, empty or "-" for
    // no bound; `bank`: the company bank's progressive (EF08_PROGR).
    Written present(const QString& billType, const QString& from, const QString& to, const QString& bank,
                    const QDate& date) const;
    // `key`: "kind,year,number". Answers the Bills given back.
    int withdraw(const QString& key) const;

    // "Creata la distinta Riba 2026/3 del 07/12/2026: 4 effetti per 1.234,56 euro."
    static QString told(const Written& written, const QDate& date);

private:
    std::shared_ptr<Connection> connection_;
    qint32 company_;
    SlipCheck check_;
};
