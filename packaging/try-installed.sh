#!/usr/bin/env bash
# As root: installs the checked .deb (BUILD/package, left by check-package.sh) with apt as a
# clerk's machine would, starts the installed `dettaglio` as a new user would (a fresh home, the
# demo company made on first use, MROSSI signed in by a script, the desk left open until the
# trial ends it), checks its Italian help, and removes the package again. The pictures of the
# desk are the source tree's tool (tools/desk-pictures), which the package does not hold.
set -euo pipefail
build=$(cd "$1" && pwd)
source_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "try-installed.sh installs a package: run it as root" >&2; exit 1; }
ls "$build"/package/*.deb >/dev/null 2>&1 || bash "$source_root/packaging/check-package.sh" "$build"
deb=$(ls "$build"/package/*.deb)
home=$(mktemp -d)
# A desktop session's runtime folder (only its user may enter), as a clerk's login gives one.
runtime="$home/runtime"
mkdir -m 700 "$runtime"
trap 'rm -rf "$home"; apt-get remove -y -qq dettaglio-effetti >/dev/null 2>&1 || true' EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null
failed=0
fail() {
    echo "installed package: $*"
    failed=1
}
[ "$(command -v dettaglio)" = /usr/bin/dettaglio ] || fail "dettaglio is not /usr/bin/dettaglio"

# The clerk's desk: an Italian locale, a laptop's screen, nothing of the build tree around.
run() {
    env -i HOME="$home" XDG_RUNTIME_DIR="$runtime" PATH=/usr/bin:/bin LANG=it_IT.UTF-8 \
        QT_QPA_PLATFORM="offscreen:configfile=$source_root/tests/support/laptop-screen.json" \
        timeout "${wait:-180}" dettaglio "$@"
}
help=$(run --help) || fail "--help exited with $?"
grep -q "Mostra questa guida" <<<"$help" || fail "--help is not in Italian: $help"
! grep -q -- "--screenshot" <<<"$help" || fail "--help lists the documentation's picture options"
# Signed in, the desk stays open (a failure ends the program at once with its reason on stderr):
# still running after a minute, ended by timeout, is what a clerk's desk does.
code=0
errors=$(wait=60 run --user MROSSI --password Rossi.2024 2>&1 >/dev/null) || code=$?
[ "$code" -eq 124 ] || fail "the desk did not stay open (exit $code): $errors"
# The offscreen platform says what a window asked of it that it cannot do; the desk's own lines count.
errors=$(grep -v "^This plugin does not support" <<<"$errors" || true)
[ -z "$errors" ] || fail "the desk wrote on stderr: $errors"
# The demo company lives today: open Bills due in the coming months, none overdue by years.
db="$home/.local/share/Contabilita/Dettaglio effetti/demo.sqlite"
days="julianday(substr(EF01_SCADE_S, 1, 4) || '-' || substr(EF01_SCADE_S, 5, 2) || '-' || substr(EF01_SCADE_S, 7, 2)) - julianday('now', 'localtime')"
ahead=$(sqlite3 "$db" "SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_INDSTATO_S = 0 AND $days BETWEEN 0 AND 130") ||
    fail "no demo company in the new home"
late=$(sqlite3 "$db" "SELECT CAST(-MIN($days) AS INTEGER) FROM EF01_SCADENZE WHERE EF01_INDSTATO_S = 0") || true
[ "${ahead:-0}" -gt 0 ] || fail "the demo has no open Bill due in the coming months"
[ "${late:-9999}" -lt 730 ] || fail "the demo's oldest open Bill is $late days overdue"
if ((failed == 0)); then
    echo "installed package: started, made the demo company, signed in MROSSI and kept the desk open"
fi
exit $failed
