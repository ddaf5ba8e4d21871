#pragma once

#include "SchemaCatalogue.h"
#include "TableAccess.h"

#include <QAtomicInt>
#include <QString>
#include <functional>
#include <memory>

class Connection;

// How the connections of one signed-in session are opened: the database, the catalogue and, on
// an engine without roles, the user's access rule. Every connection the program works on comes
// from one (the host's, a form's, a background read's, a lookup's), so that none forgets the
// rule; a connection keeps the factory it came from to open its siblings.
class ConnectionFactory {
public:
    // Reads what the user may do through the connection being opened; throws SuiteError for a
    // user who may no longer work. Asked when the connection opens and again whenever the engine
    // says something changed since.
    using RuleSource = std::function<AccessRule(Connection& connection)>;

    ConnectionFactory() = default;
    ConnectionFactory(QString connectionString, std::shared_ptr<const SchemaCatalogue> catalogue,
                      RuleSource rule = {});

    // Throws SuiteError (connection failed) with the reason.
    std::shared_ptr<Connection> open() const;
    const QString& connectionString() const { return connectionString_; }
    const RuleSource& rule() const { return rule_; }
    const std::shared_ptr<const SchemaCatalogue>& catalogue() const { return catalogue_; }
    // The same factory, its connections given `catalogue`; it counts with this one.
    ConnectionFactory withCatalogue(std::shared_ptr<const SchemaCatalogue> catalogue) const;

    // How many connections this factory and its copies opened, reopenings after a lost server
    // included.
    int opened() const { return opened_->loadRelaxed(); }
    // Every connection the process opened, from a factory or not.
    static int openedInProcess();
    // Counts a connection opening (Connection does, as it opens).
    void countOpening() const;

private:
    QString connectionString_;
    std::shared_ptr<const SchemaCatalogue> catalogue_;
    RuleSource rule_;
    std::shared_ptr<QAtomicInt> opened_ = std::make_shared<QAtomicInt>(0);
};
