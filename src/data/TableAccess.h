#pragma once

#include <QString>
#include <functional>

// What a statement does to a table, as an engine's access check sees it.
enum class TableAction { Read, Insert, Update, Delete };

// The signed-in user a connection acts for, on an engine that checks rights in the program.
struct AccessRule {
    QString user;  // the suite user's code
    bool privileged = false;
    // Whether the user may do `action` on `table` (upper-case name).
    std::function<bool(TableAction action, const QString& table)> allows;
};
