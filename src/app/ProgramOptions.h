#pragma once

#include <QDate>
#include <QString>

class QApplication;
class QCommandLineParser;

// What the program was started with: the database, who signs in, the company, the day, and
// what a script asks done instead of opening the desk.
struct ProgramOptions {
    QString database;
    qint32 company = 0;  // 0: the sign-in asks when there is more than one
    QString user;
    QString password;  // set: a script signs in, no window asks, errors go to stderr
    bool passwordGiven = false;
    QString registry;
    bool demo = true;
    QString today;  // as typed, dd/mm/yyyy; empty: today
    // A slip for the bank, made instead of opening the desk: presented by a filter (the bill type,
    // the due dates, the company bank's progressive) or withdrawn by its "kind,year,number".
    QString present;
    QString dueFrom;
    QString dueTo;
    QString bank;
    QString withdraw;
    // The bank's file of the slip "kind/year/number", written to `output`.
    QString slipFile;
    QString output;
    // An outcome on the slip "kind,year,number" (OutcomeScript): one of the credit, the payment
    // (of `bills`, ';'-separated, or of all), the unpaid Bill with its date and charges, the SEPA
    // status report; each as typed.
    QString outcomeSlip;
    QString credit;
    QString pay;
    QString bills;
    QString unpaid;
    QString unpaidDate;
    QString bankCharges;
    QString chargesMode;
    QString customerCharges;
    QString statusReport;
    bool reminder = false;
    bool outcomeAsked = false;

    // Reads the command line with `parser`, which may hold a tool's own options besides (the
    // help, in Italian, ends the program).
    static ProgramOptions parse(QApplication& app, QCommandLineParser& parser);
    // Why the options cannot run as given, in Italian; empty when they can.
    QString problem() const;
    // The folder the default database and registry live in.
    static QString dataFolder();
};
