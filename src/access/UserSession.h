#pragma once

#include "Accounts.h"
#include "ConnectionFactory.h"
#include "ProgramRights.h"

#include <memory>

class Connection;

// Who is at the desk once signed in: the user, their group's rights in the program, read once at
// sign-in, and the factory of every connection opened on their behalf, which applies their
// access rule on an engine without roles.
class UserSession {
public:
    UserSession() = default;
    UserSession(Account account, ProgramRights rights, ConnectionFactory connections)
        : account_(std::move(account)), rights_(rights), connections_(std::move(connections)) {}

    const Account& account() const { return account_; }
    const ProgramRights& rights() const { return rights_; }
    const ConnectionFactory& connections() const { return connections_; }
    // A new connection as the user; throws SuiteError when it cannot open or the user may no
    // longer work.
    std::shared_ptr<Connection> open() const { return connections_.open(); }

private:
    Account account_;
    ProgramRights rights_;
    ConnectionFactory connections_;
};
