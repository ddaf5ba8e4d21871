#!/usr/bin/env bash
# clang-tidy (the checks of .clang-tidy, warnings as errors) on the sources changed since the
# commit named in .ci/tidy-base, the last tree found clean. The default build compiles sources in
# batches, which its compile_commands.json lists instead of the files: the commands come from a
# tree of the default preset configured (not built) with each source alone, build/tidy.
# Prints nothing but the findings; exits non-zero on any.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
base=$(cat .ci/tidy-base)
if git cat-file -e "$base^{commit}" 2>/dev/null; then
    mapfile -t files < <(git diff --name-only --diff-filter=AMR "$base" -- 'src/*.cpp' 'tools/*.cpp' | sed "s|^|$root/|")
else  # a clone without that history: the whole tree
    mapfile -t files < <(git ls-files -- 'src/*.cpp' 'tools/*.cpp' | sed "s|^|$root/|")
fi
((${#files[@]})) || exit 0
cmake --preset default -B build/tidy -DKV_UNITY_BUILD=OFF >/dev/null
echo "== clang-tidy on ${#files[@]} changed sources"
run-clang-tidy -quiet -j "$(nproc)" -p build/tidy "${files[@]}" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' > build/tidy.log || true
if grep -E "(error|warning): .*\[[a-z-]+(,[a-z-]+)*\]$" build/tidy.log; then
    echo "clang-tidy found the problems above" >&2
    exit 1
fi
