#pragma once

#include <QDate>
#include <QString>

class QApplication;
class QCommandLineParser;

// What the program was started with: the database, who signs in, the company, the day.
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

    // Reads the command line with `parser`, which may hold a tool's own options besides (the
    // help, in Italian, ends the program).
    static ProgramOptions parse(QApplication& app, QCommandLineParser& parser);
    // The folder the default database and registry live in.
    static QString dataFolder();
};
