#pragma once

#include "SqlDialect.h"

class Credentials;

#include <QString>

// What a connection string names:
//   sqlite:PATH[?user=CODE]                        an SQLite file, created when missing; with a
//                                                  user, only what that user may do runs
//   postgresql://[user[:password]@][host][:port]/database[?host=SOCKETDIR&schema=NAME]
//   postgresql://[user@]host1:port1,host2:port2/database?target_session_attrs=read-write
//   postgresql:///database?host=DIR1,DIR2&port=5432,5433&target_session_attrs=read-write
//   odbc:ODBC-CONNECTION-STRING[?schema=NAME][&user=CODE]
//                                                  the database an ODBC driver reaches, e.g.
//                                                  odbc:Driver={PostgreSQL
//                                                  Unicode};Server=db.local;Port=5432;Database=ditta; its
//                                                  engine the one the driver reports once connected
// `schema` makes a PostgreSQL connection work inside that schema (one per test, or per company).
// With several hosts the server that takes writes is sought among them in turn
// (`target_session_attrs=read-write`): a primary and its standby, whichever is the primary now.
// `connect_timeout` (seconds) bounds the wait for a host that does not answer.
struct ConnectionString {
    // None through a transport (odbc:): the engine is known once connected.
    std::optional<SqlDialect::Engine> engine = SqlDialect::Engine::Sqlite;
    bool odbc = false;
    QString databaseName;  // file path, database, or ODBC connection string
    QString host;
    int port = -1;
    QString user;
    QString password;
    QString schema;
    // libpq keywords passed on as they are ("host=a,b port=1,2 target_session_attrs=read-write"):
    // the host and port lists go here, not in host and port.
    QString connectOptions;

    // Throws SuiteError (connection failed) naming what is wrong with the text.
    static ConnectionString parse(const QString& text);
    // How the engine's users sign in; none through a transport: only the database behind it can tell.
    const Credentials* credentials() const;
    // `text` opened for the suite user `user`, whose access rule its connections apply (sqlite:, odbc:).
    static QString asUser(const QString& text, const QString& user);
    // `text` opened as the login role `role` with its password (empty: the server's other ways,
    // ~/.pgpass or the operating-system user) (postgresql:// or odbc:).
    static QString asRole(const QString& text, const QString& role, const QString& password);
    // The text as it may be shown or logged: never with its password.
    static QString shown(QString text);
};
