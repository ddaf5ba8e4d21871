#!/usr/bin/env bash
# Installs what is missing, builds, starts PostgreSQL and runs every test through CTest as a
# clerk's desk runs the program: the Italian locale and a laptop's 1366x768 screen. As root it
# then installs the .deb the tests checked, starts the installed program and removes it again.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

kv_install_packages
kv_italian_locale
kv_timed "format" bash "$KV_ROOT/scripts/check-format.sh"
kv_start_postgres
# The machine's test database unless the caller names another (machines shared by several runs).
export KV_TEST_PG="${KV_TEST_PG:-postgresql:///kvtest?host=/var/run/postgresql}"
# The test server's commits do not wait for its disk (their sync was most of a PostgreSQL test's
# time here): the tests check what the program does, not what a server that loses power keeps.
# Only the sessions of this run: a benchmark run later syncs as a clerk's server does.
export PGOPTIONS="${PGOPTIONS:+$PGOPTIONS }-c synchronous_commit=off"
# A missing engine or program (pdftotext, unzip, the PostgreSQL server programs) fails its test
# here instead of skipping it.
export KV_REQUIRE_TOOLS=1
export QT_QPA_PLATFORM="offscreen:configfile=$KV_ROOT/tests/support/laptop-screen.json"

kv_timed "build default" kv_build default
kv_timed "tidy" bash "$KV_ROOT/scripts/tidy.sh"
kv_timed "tests default (package included)" env LANG=it_IT.UTF-8 LC_ALL=it_IT.UTF-8 ctest --preset default

# As root, the .deb the tests checked is installed and its desk kept open for a minute: mostly
# waiting, so it runs beside the sanitizer build instead of after it.
package_pid=
if [ "$(id -u)" -eq 0 ]; then
    package_log=$(mktemp)
    kv_timed "installed package" bash "$KV_ROOT/packaging/try-installed.sh" "$KV_ROOT/build/default" \
        >"$package_log" 2>&1 &
    package_pid=$!
    # A failing step below ends the script: the trial still ends and removes its package first.
    trap 'wait "$package_pid" 2>/dev/null; cat "$package_log"; rm -f "$package_log"' EXIT
fi

# The data layer and the pure rules also run under AddressSanitizer and UBSan, in the C locale:
# only what those tests link is built.
kv_timed "build asan" kv_build asan sanitize_tests
kv_timed "tests asan" env LANG=C.UTF-8 LC_ALL=C.UTF-8 ctest --preset asan

if [ -n "$package_pid" ]; then
    package_rc=0
    wait "$package_pid" || package_rc=$?
    trap - EXIT
    cat "$package_log"
    KV_TIMES+=("$(sed -n 's/^== \(installed package: .*\)/\1 (beside the sanitizer build)/p' "$package_log")")
    rm -f "$package_log"
    ((package_rc == 0)) || { echo "== installed package: failed" >&2; exit "$package_rc"; }
fi
kv_times
