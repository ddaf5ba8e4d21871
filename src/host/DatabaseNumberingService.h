#pragma once

#include "NumberingService.h"

#include <memory>

class Connection;

// Numbers kept in the company database, one row per series, company and year. The next number
// is taken by an UPDATE that adds one and a read of the result inside one transaction of the
// service's own connection: the engine's row lock makes two users asking at once get two
// different numbers. A series met for the first time starts at 1 with the year as its prefix.
// The connection is the one given (the host's) when it is free, else one more from its factory
// (inside a save's transaction): opening one for each number cost more than the number itself.
// A series of another database than the host's is refused.
class DatabaseNumberingService : public NumberingService {
public:
    explicit DatabaseNumberingService(std::shared_ptr<Connection> host) : shared_(std::move(host)) {}
    qint64 NextNumber() override;
    QString Prefix() const override { return prefix_; }

private:
    std::shared_ptr<Connection> connectionFor() const;

    std::shared_ptr<Connection> shared_;
    QString prefix_;
};
