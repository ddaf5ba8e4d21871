#!/usr/bin/env bash
# Every C++ source of the project as .clang-format lays it out; lists the files that are not.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'tools/*.cpp' 'tools/*.h')
if ! clang-format --dry-run --Werror "${files[@]}" 2> build-format.log; then
    grep -o "^[^:]*\.\(cpp\|h\)" build-format.log | sort -u
    rm -f build-format.log
    echo "Not formatted: run clang-format -i on the files above" >&2
    exit 1
fi
rm -f build-format.log
