#pragma once

#include <QString>
#include <functional>

// What a statement does to a table, as an engine's access check sees it.
enum class TableAction { Read, Insert, Update, Delete };

// Answers whether the signed-in user may do `action` on `table` (upper-case name).
using AccessRule = std::function<bool(TableAction action, const QString& table)>;
