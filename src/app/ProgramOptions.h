#pragma once

#include <QDate>
#include <QString>

class QApplication;

// What the program was started with: the database, who signs in and, for the documentation
// and the scripts around the desk, which picture or print to make before leaving.
struct ProgramOptions {
    QString database;
    qint32 company = 0;  // 0: the sign-in asks when there is more than one
    QString user;
    QString password;  // set: a script signs in, no window asks, errors go to stderr
    bool passwordGiven = false;
    QString registry;
    bool demo = true;
    QString screenshot;
    QString screenshotForm;
    QString screenshotAgeing;
    QString pdf;
    bool timing = false;
    QString today;  // as typed, dd/mm/yyyy; empty: today

    // Reads the command line (the help, in Italian, ends the program).
    static ProgramOptions parse(QApplication& app);
    // The folder the default database and registry live in.
    static QString dataFolder();
};
