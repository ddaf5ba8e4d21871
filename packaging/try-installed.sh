#!/usr/bin/env bash
# As root: installs the checked .deb (BUILD/package, left by check-package.sh) with apt as a
# clerk's machine would, starts the installed `dettaglio` as a new user would (a fresh home, the
# demo company made on first use, MROSSI signed in by a script) on the list and on the first
# Bill's form, checks its Italian help and its pictures, and removes the package again.
set -euo pipefail
build=$(cd "$1" && pwd)
source_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "try-installed.sh installs a package: run it as root" >&2; exit 1; }
ls "$build"/package/*.deb >/dev/null 2>&1 || bash "$source_root/packaging/check-package.sh" "$build"
deb=$(ls "$build"/package/*.deb)
home=$(mktemp -d)
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
    env -i HOME="$home" PATH=/usr/bin:/bin LANG=it_IT.UTF-8 \
        QT_QPA_PLATFORM="offscreen:configfile=$source_root/tests/support/laptop-screen.json" \
        timeout 180 dettaglio "$@"
}
help=$(run --help) || fail "--help exited with $?"
grep -q "Mostra questa guida" <<<"$help" || fail "--help is not in Italian: $help"
signIn=(--user MROSSI --password Rossi.2024)
run "${signIn[@]}" --screenshot "$home/elenco.png" || fail "the list did not open (exit $?)"
run "${signIn[@]}" --screenshot-form "$home/effetto.png" || fail "the Bill did not open (exit $?)"
for picture in elenco effetto; do
    size=$(stat -c %s "$home/$picture.png" 2>/dev/null || echo 0)
    [ "$size" -gt 20000 ] || fail "$picture.png is missing or empty ($size bytes)"
done
# The demo company lives today: open Bills due in the coming months, none overdue by years.
db="$home/.local/share/Contabilita/Dettaglio effetti/demo.sqlite"
days="julianday(substr(EF01_SCADE_S, 1, 4) || '-' || substr(EF01_SCADE_S, 5, 2) || '-' || substr(EF01_SCADE_S, 7, 2)) - julianday('now', 'localtime')"
ahead=$(sqlite3 "$db" "SELECT COUNT(*) FROM EF01_SCADENZE WHERE EF01_INDSTATO_S = 0 AND $days BETWEEN 0 AND 130") ||
    fail "no demo company in the new home"
late=$(sqlite3 "$db" "SELECT CAST(-MIN($days) AS INTEGER) FROM EF01_SCADENZE WHERE EF01_INDSTATO_S = 0") || true
[ "${ahead:-0}" -gt 0 ] || fail "the demo has no open Bill due in the coming months"
[ "${late:-9999}" -lt 730 ] || fail "the demo's oldest open Bill is $late days overdue"
if ((failed == 0)); then
    mkdir -p "$build/package"
    cp "$home/elenco.png" "$home/effetto.png" "$build/package/"
    echo "installed package: started, signed in MROSSI, opened the list and a Bill (pictures in $build/package)"
fi
exit $failed
