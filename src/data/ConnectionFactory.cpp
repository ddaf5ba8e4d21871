#include "ConnectionFactory.h"

#include "Connection.h"

ConnectionFactory::ConnectionFactory(QString connectionString,
                                     std::shared_ptr<const SchemaCatalogue> catalogue, RuleSource rule)
    : connectionString_(std::move(connectionString)),
      catalogue_(std::move(catalogue)),
      rule_(std::move(rule)) {}

std::shared_ptr<Connection> ConnectionFactory::open() const {
    auto connection = std::make_shared<Connection>();
    connection->Open(*this);
    connection->setCatalogue(catalogue_);
    return connection;
}
