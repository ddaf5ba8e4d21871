#pragma once

#include "SlipKey.h"

#include <memory>

class Connection;

// Takes a whole slip back while none of its Bills moved on after its presentation: in ONE
// transaction each Bill gets back the snapshot of its presentation movement (as undoing the
// last movement does), the movements go and so does the slip. SuiteError names the Bill that
// moved on, or says the slip is not there; nothing is written then.
class SlipWithdrawal {
public:
    explicit SlipWithdrawal(std::shared_ptr<Connection> connection);

    // Answers the number of Bills given back.
    int withdraw(const SlipKey& slip) const;

private:
    std::shared_ptr<Connection> connection_;
};
