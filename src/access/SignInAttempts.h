#pragma once

#include <QString>

class Connection;

// Wrong passwords in a row, counted in the database so that every process on every workstation
// sees the same count. An attempt is taken before the password is tried, by one statement that
// moves the count on only if it is still what was read: guessers at once are counted one by one
// and each waits its turn. After two attempts in a row that did not get in, each one waits 1, 2,
// 4... seconds after the last (at most a minute), refused meanwhile even with the right password.
class SignInAttempts {
public:
    // On SQLite `connection` is the file's own (opened as nobody in particular) and `who` the
    // suite user; on a server it is the counting role's connection and `who` the login role.
    explicit SignInAttempts(Connection& connection) : connection_(connection) {}

    // Takes an attempt for `who`; throws SuiteError (not permitted) while the wait lasts.
    // A name the database does not know has nothing to count.
    void take(const QString& who);
    // The right password: the count starts again. On a server, `connection` is the user's own
    // session, which may clear its own count and no other.
    static void succeeded(Connection& connection, const QString& who);

    // How long the next attempt waits after `attempts` in a row that did not get in.
    static int waitSeconds(int attempts);

private:
    Connection& connection_;
};
