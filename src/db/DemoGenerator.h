#pragma once

#include "Connection.h"

#include <QList>
#include <functional>
#include <memory>

// Fills an installed, empty database with a believable Italian company: its archives
// (counterparts with their registry periods, banks and agencies, bank accounts, currencies and
// rates, codes) and its Bills with every child record, each Bill's history consistent with its
// state. The data depend only on the seed: every run writes the same rows.
class DemoGenerator {
public:
    struct Options {
        int bills = 1500;
        quint64 seed = 20240630;
        // Bills written per transaction; 0 writes everything in one transaction.
        int billsPerTransaction = 0;
        // Customers of the company; 0: one every 25 Bills, from 40 to 20,000.
        int customers = 0;
        // Called now and then with the number of Bills written so far.
        std::function<void(long long)> progress = {};
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
    // The day the demo company's books stand at: bills due before it are mostly settled.
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
