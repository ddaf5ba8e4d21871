#pragma once

#include <clocale>

// While it lives, the C library's printf family in this thread writes numbers with a point,
// whatever the process's locale: a writer that formats numbers with printf (the .xlsx one)
// works for a clerk whose LC_NUMERIC puts a comma in "5708,89". Thread-local (uselocale), so it
// neither races with other threads nor depends on what anyone did to the process's locale.
class ClassicNumbers {
public:
    ClassicNumbers();
    ~ClassicNumbers();
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t classic_;
    locale_t previous_;
};
