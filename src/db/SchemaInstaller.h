#pragma once

#include "Connection.h"
#include "SchemaCatalogue.h"

#include <memory>
#include <optional>

// Creates the company database on an empty SQLite file or PostgreSQL schema and checks, when a
// database is opened, that it holds this program's schema version: a foreign database or one of
// another version is refused at once with a clear message instead of failing later on a
// missing column.
class SchemaInstaller {
public:
    enum class State {
        Empty,    // no tables at all
        Current,  // this program's schema version
        Older,    // an earlier version of the schema
        Newer,    // written by a later version of the program
        Foreign,  // tables, but no version of ours
    };

    explicit SchemaInstaller(std::shared_ptr<Connection> connection);

    State state() const;
    // The version recorded in the database; 0 when there is none.
    int installedVersion() const;

    // Creates every table and view and records the version, in one transaction. Throws
    // SuiteError when the database is not empty.
    void install();
    // Throws SuiteError (with the reason, in Italian) unless the database is Current.
    void verify() const;
    // install() on an empty database, upgrade() on an older one, then verify() and
    // addMissingIndexes().
    void installOrVerify();
    // Brings a database of an earlier version to this one: the tables, views and indexes it
    // lacks are created and the version recorded, in one transaction. Rows already there are kept.
    void upgrade();
    // Creates the indexes of the schema definition that a database of this version lacks (one
    // installed before they were declared): it reads which are there and touches no table when
    // they all are. Throws like verify().
    void addMissingIndexes();

    // The catalogue of the schema, for Connection::setCatalogue.
    static std::shared_ptr<const SchemaCatalogue> catalogue();

private:
    std::optional<int> recordedVersion() const;
    // The rules the database keeps itself (layouts and scripts to their owners; on a server the
    // routines that count the sign-in attempts), made
    // again by every installation and upgrade.
    void installRules();
    // The schema's secondary indexes that the database lacks (each created only when missing).
    void createIndexes();

    std::shared_ptr<Connection> connection_;
};
