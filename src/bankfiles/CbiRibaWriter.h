#pragma once

#include "SlipContent.h"

#include <QByteArray>
#include <QDateTime>

// The CBI file of a Ri.Ba. slip ("RIBA" flow of the Italian interbank standard): records of 120
// characters ended by CR LF; the header IB, for each Bill the records 14, 20, 30, 40, 50, 51 and
// 70 of its disposal, the trailer EF. docs/bank-files.md lists every field's position.
// Refuses (SuiteError, naming the Bill) what the bank could not collect: a company without SIA
// code, a Bill without the debtor's bank, an amount that is not positive or wider than its field.
class CbiRibaWriter {
public:
    static constexpr int kRecordLength = 120;

    static QByteArray write(const SlipContent& slip, const QDateTime& now);
    // The support name, unique per file: kind, year and number of the slip, and the moment.
    static QString supportName(const SlipContent& slip, const QDateTime& now);
};
