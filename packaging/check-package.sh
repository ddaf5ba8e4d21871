#!/usr/bin/env bash
# Builds the .deb from a built tree and checks it as Debian would: the files a user and the
# packaging rules expect, every ELF file stripped, hardened and finding all its libraries from
# where it is installed, no path of the build or source tree in any installed file, and lintian
# with no error and no warning. The checked .deb stays in BUILD/package for
# packaging/try-installed.sh.
set -euo pipefail
build=$(cd "$1" && pwd)
source_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$build/package"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    exit 1
}
mv "$work"/cpack/*.deb "$out/"
deb=$(ls "$out"/*.deb)
failed=0
fail() {
    echo "$*"
    failed=1
}

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/dettaglio ./usr/share/applications/dettaglio.desktop \
    ./usr/share/icons/hicolor/scalable/apps/dettaglio.svg ./usr/share/man/man1/dettaglio.1.gz \
    ./usr/share/doc/dettaglio-effetti/copyright ./usr/share/doc/dettaglio-effetti/changelog.gz; do
    grep -qx -- "$f" <<<"$listing" || fail "missing from the package: $f"
done
grep -q -- "/dettaglio/libkvuo_tarsello.so$" <<<"$listing" || fail "the module plugin is not in the package"
grep -q -- "/dettaglio/kv_script_engine$" <<<"$listing" || fail "the users' script engine is not in the package"
grep -q -- "test_\|bench\|kv_driver" <<<"$listing" && fail "tests, benchmarks or the driver got into the package"

dpkg-deb -x "$deb" "$work/root"
while IFS= read -r -d '' f; do
    readelf -h "$f" >/dev/null 2>&1 || continue
    name=${f#"$work/root"}
    unresolved=$(ldd "$f" 2>&1 | grep "not found" || true)
    [ -z "$unresolved" ] || fail "$name does not find: $unresolved"
    readelf -S "$f" | grep -q "\.debug_info" && fail "$name is not stripped"
    readelf -d "$f" | grep -q "BIND_NOW\|FLAGS.*NOW" || fail "$name is not linked with -z now"
done < <(find "$work/root" -type f -print0)
for tree in "$build" "$source_root"; do
    found=$(grep -rl --binary-files=text -F -- "$tree" "$work/root" || true)
    [ -z "$found" ] || fail "installed files name $tree: ${found//$work\/root/}"
done

depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6sql6-sqlite libqt6sql6-odbc qt6-qpa-plugins qt6-translations-l10n; do
    grep -q "$d" <<<"$depends" || fail "the package does not depend on $d: $depends"
done

# Errors and warnings fail; the hardening notes lintian files as information fail too.
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
grep "hardening-no-" "$work/lintian.log" && fail "lintian finds binaries without hardening"
exit $failed
