#!/usr/bin/env bash
# Takes again every picture of the clerk's guide and the driver notes from the real application,
# drawn offscreen on a 1366 x 768 screen under the Italian locale, on a fresh demo company made
# around today as a clerk's first start makes it. Run it after a change to a screen and commit the
# pictures that changed.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

kv_build default kv_desk_pictures kv_driver
kv_italian_locale
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A laptop's screen: what the clerk sees on one.
export QT_QPA_PLATFORM="offscreen:configfile=$KV_ROOT/tests/support/laptop-screen.json" LANG=it_IT.UTF-8 LC_ALL=it_IT.UTF-8
docs="$KV_ROOT/docs"
# The desk as the clerk sees it, started by the pictures' tool (not part of the package).
pictures="$KV_ROOT/build/default/tools/desk-pictures/kv_desk_pictures"
driver="$KV_ROOT/build/default/src/driver/kv_driver"
db="sqlite:$work/demo.sqlite"
common=(--db "$db" --company 1 --user MROSSI --password Rossi.2024 --registry "$work/moduli.json")

"$pictures" "${common[@]}" --screenshot "$docs/host-application.png"
"$pictures" "${common[@]}" --screenshot-ageing "$docs/ageing-view.png"
"$pictures" "${common[@]}" --screenshot-form "$docs/bill-form.png"
"$pictures" "${common[@]}" --screenshot-slip "$docs/slip-dialog.png"
"$pictures" "${common[@]}" --pdf "$work/effetto.pdf"
if command -v pdftoppm >/dev/null; then
    pdftoppm -png -r 60 -singlefile "$work/effetto.pdf" "$docs/bill-print"
fi

# The child forms, as their scenarios leave them on screen.
(cd "$docs" && "$driver" --db "sqlite:$work/history.sqlite" --demo --company 1 --user MROSSI --password Rossi.2024 \
    scenarios/history-undo.scn >/dev/null)
# The reminder scenario names its Bill by the first customer registration of the demo company.
"$driver" --db "sqlite:$work/reminder.sqlite" --demo --company 1 --user MROSSI --password Rossi.2024 /dev/null >/dev/null
numreg=$(sqlite3 "$work/reminder.sqlite" "SELECT EF01_NUMREG_CO99 FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = 1 \
    AND EF01_TIPOCF_CG44 = 0 ORDER BY EF01_NUMREG_CO99, EF01_RIGACONT_CG42, EF01_PROGEC_EC01, EF01_PROGEFF LIMIT 1")
sed -e "s/@NUMREG@/$numreg/g" -e 's/^click GNV_DETTSOLLECITI Conferma$/grab reminder-form.png\n&/' \
    "$KV_ROOT/tests/scenarios/reminder_interest.scn" >"$work/reminder.scn"
(cd "$docs" && "$driver" --db "sqlite:$work/reminder.sqlite" --company 1 --user MROSSI --password Rossi.2024 "$work/reminder.scn" >/dev/null)
# The Bill in dollars once its amounts are converted (the first reading of the totals).
awk '{ print } $0 == "get TXT_TOTDOCVAL" && !done { print "grab bill-form-currency.png"; done = 1 }' \
    "$KV_ROOT/tests/scenarios/currency_bill.scn" >"$work/currency.scn"
(cd "$docs" && "$driver" --db "sqlite:$work/currency.sqlite" --demo --company 1 --user MROSSI --password Rossi.2024 \
    "$work/currency.scn" >/dev/null)
echo "pictures in $docs: $(cd "$docs" && ls -- *.png | tr '\n' ' ')"
