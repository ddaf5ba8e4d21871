#include "ConnectionFactory.h"

#include "Connection.h"

namespace {
QAtomicInt openedInProcess_;
}

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

ConnectionFactory ConnectionFactory::withCatalogue(std::shared_ptr<const SchemaCatalogue> catalogue) const {
    ConnectionFactory copy = *this;
    copy.catalogue_ = std::move(catalogue);
    return copy;
}

int ConnectionFactory::openedInProcess() {
    return openedInProcess_.loadRelaxed();
}

void ConnectionFactory::countOpening() const {
    opened_->fetchAndAddRelaxed(1);
    openedInProcess_.fetchAndAddRelaxed(1);
}
