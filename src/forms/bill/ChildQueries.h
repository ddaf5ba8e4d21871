#pragma once

#include <QString>

// The texts that read a Bill's child rows: bills of exchange (with the two linked bills in a
// second result), notes, reminders and history movements.
namespace ChildQueries {

struct Key {
    qint32 company = 0;
    QString numReg;
    qint32 row = 0, progEc = 0, progEff = 0;
};

QString cambialiCessioni(const Key& key);
QString note(const Key& key);
QString solleciti(const Key& key);
QString storico(const Key& key);

}  // namespace ChildQueries
