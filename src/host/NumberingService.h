#pragma once

#include <QDateTime>
#include <QString>

// The suite's numbering service: the next number of a series, for a company and a year, with
// the series' prefix. A form creates one for each request and sets what the series needs.
class NumberingService {
public:
    virtual ~NumberingService() = default;

    int year = 0;
    int kind = 0;
    QString company;
    QString subSeries;
    int series = 0;
    QDateTime date;
    QString connectionString;
    QDateTime secondDate;

    // Reserves and answers the next number of the series set above; throws SuiteError when it
    // cannot (the database went away, the series is exhausted).
    virtual qint64 NextNumber() = 0;
    // The prefix of the series the last number came from.
    virtual QString Prefix() const = 0;
};
