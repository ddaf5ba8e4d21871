#!/usr/bin/env bash
# Builds the .deb from a built tree and checks what it installs: the program, its libraries and
# the module plugin in the private folder, the desktop entry and the icon; nothing from the
# build tree in the program's run paths.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    exit 1
}
deb=$(ls "$out"/*.deb)
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
missing=0
for f in ./usr/bin/dettaglio ./usr/lib/dettaglio/libkvuo_tarsello.so ./usr/lib/dettaglio/libkv_app.so \
    ./usr/lib/dettaglio/libkv_data.so ./usr/lib/dettaglio/libkv_forms_bill.so \
    ./usr/lib/dettaglio/libkv_access.so ./usr/lib/dettaglio/kv_script_engine \
    ./usr/share/applications/dettaglio.desktop ./usr/share/icons/hicolor/scalable/apps/dettaglio.svg; do
    grep -qx -- "$f" <<<"$listing" || { echo "missing from the package: $f"; missing=1; }
done
if grep -q -- "test_\|bench\|kv_driver" <<<"$listing"; then
    echo "tests, benchmarks or the driver got into the package"
    missing=1
fi
dpkg-deb -x "$deb" "$out/root"
if readelf -d "$out/root/usr/bin/dettaglio" | grep -E "RUNPATH|RPATH" | grep -q "$build"; then
    echo "the installed program still looks into the build tree"
    missing=1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6sql6-sqlite qt6-qpa-plugins; do
    grep -q "$d" <<<"$depends" || { echo "the package does not depend on $d: $depends"; missing=1; }
done
exit $missing
