#pragma once

#include "SqlDialect.h"

#include <QString>

// What a connection string names:
//   sqlite:PATH[?user=CODE]                        an SQLite file, created when missing; with a
//                                                  user, only what that user may do runs
//   postgresql://[user[:password]@][host][:port]/database[?host=SOCKETDIR&schema=NAME]
//   odbc:ODBC-CONNECTION-STRING                    SQL Server through an ODBC driver
// `schema` makes a PostgreSQL connection work inside that schema (one per test, or per company).
struct ConnectionString {
    SqlDialect::Engine engine = SqlDialect::Engine::Sqlite;
    QString databaseName;  // file path, database, or ODBC connection string
    QString host;
    int port = -1;
    QString user;
    QString password;
    QString schema;

    // Throws SuiteError (connection failed) naming what is wrong with the text.
    static ConnectionString parse(const QString& text);
    // `text` opened as `user`: on PostgreSQL the login role and its password (empty: the
    // server's other ways, ~/.pgpass or the operating-system user), on SQLite the suite user.
    // True when the engine has roles of its own: the clerk signs in as one.
    bool signsInAsRole() const;
    static QString asUser(const QString& text, const QString& user, const QString& password);
};
