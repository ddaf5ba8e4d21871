#pragma once

#include "Connection.h"
#include "HeaderQuery.h"

#include <QDate>
#include <QList>
#include <functional>
#include <memory>

// Fills an installed, empty database with a believable Italian company: its archives
// (counterparts with their registry periods, banks and agencies, bank accounts, currencies and
// rates, codes) and its Bills with every child record, each Bill's history consistent with its
// state. The books run from `booksStart` to `today`: Bills due before it mostly settled, the
// open ones due from the start of the books to four months after it, reminders on the overdue
// ones. The data depend only on the seed and those days: every run writes the same rows.
class DemoGenerator {
public:
    struct Options {
        int bills = 1500;
        quint64 seed = 20240630;
        // The day the books stand at: the fixed day of the tests, benchmarks and scenarios unless
        // told (the application gives the day it creates the demo company, see aroundDay).
        QDate today = QDate(2024, 6, 28);
        // The first day of the books; none: the first working day of the year before `today`
        // (02/01/2023 for the fixed day).
        QDate booksStart = {};
        // Bills written per transaction; 0 writes everything in one transaction.
        int billsPerTransaction = 0;
        // Customers of the company; 0: one every 25 Bills, from 40 to 20,000.
        int customers = 0;
        // Called now and then with the number of Bills written so far.
        std::function<void(long long)> progress = {};

        // The demo company as the application makes it on `day`: six months of books up to that
        // day, so that its open Bills fall due from about five months before it to four months
        // after, over every bucket of the ageing.
        static Options aroundDay(const QDate& day);
    };

    struct Counts {
        long long bills = 0;
        long long documents = 0;
        long long history = 0;
        long long reminders = 0;
        long long billsOfExchange = 0;
        long long notes = 0;
        long long customers = 0;
        long long suppliers = 0;
    };

    // The company the demo fills, its ledger group and its customer and supplier control accounts.
    static constexpr int kCompany = 1;
    static constexpr int kLedgerGroup = 1;
    static QString customerAccount();
    static QString supplierAccount();
    // The demo company's customer Bills as the calling program lists them with no filter.
    static HeaderQuery customerBills();
    // The day the books stand at when Options::today is left as it is.
    static QDate today();

    // The demo company's users and their documented passwords (docs/user-guide.md).
    struct User {
        QString code;
        QString name;
        QString group;
        bool privileged = false;
        QString password;
    };
    static QList<User> users();
    // The user's password hash, made once per process: hashing is slow on purpose.
    static QString passwordHash(const QString& code);

    DemoGenerator(std::shared_ptr<Connection> connection, Options options);

    // Installs the schema on an empty database (its catalogue set on the connection) and writes
    // the demo company: what a test or benchmark starts from.
    static Counts installOn(const std::shared_ptr<Connection>& connection, Options options);

    // Writes the demo company; on a server with roles also the group roles with their GRANTs and
    // a login role per user with its demo password.
    Counts run();

private:
    std::shared_ptr<Connection> connection_;
    Options options_;
};
