#pragma once

// How a benchmark says whether a figure reached its goal.
inline const char* verdict(bool met) {
    return met ? "obiettivo raggiunto" : "obiettivo mancato";
}
