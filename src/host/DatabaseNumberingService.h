#pragma once

#include "NumberingService.h"

// Numbers kept in the company database, one row per series, company and year. The next number
// is taken by an UPDATE that adds one and a read of the result inside one transaction of the
// service's own connection: the engine's row lock makes two users asking at once get two
// different numbers. A series met for the first time starts at 1 with the year as its prefix.
class DatabaseNumberingService : public NumberingService {
public:
    qint64 NextNumber() override;
    QString Prefix() const override { return prefix_; }

private:
    QString prefix_;
};
