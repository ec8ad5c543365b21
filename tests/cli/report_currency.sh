#!/usr/bin/env bash
# "livrax report currency": the currency of the day set twice on one day is
# one quotation row of the logged-in user holding the last value; a value
# that is not a number is refused before anything is written, whatever it
# holds, and so is a name with other characters than letters, digits and
# spaces; the help names both options.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM

"$livrax" demo --dir "$work/demo" --invoices 5 --no-gui >/dev/null 2>&1
db="$work/demo/livrax_erp.fdb"
fail() { echo "$*" >&2; cat "$work/err" >&2 || true; exit 1; }
today_rows() {
  isql-fb -user SYSDBA -q "$db" <<<"SELECT MOEDA, COMPRA, VENDA, TIPO, USUARIO FROM VRTNMOE WHERE DATA = CURRENT_DATE AND MOEDA = 'EURO TESTE';" |
    awk 'NF >= 5 && $1 == "EURO" { print $1, $2, $3, $4, $5, $6 }'
}

"$livrax" report currency --help >"$work/out" 2>"$work/err" || fail "help: exit $?"
grep -q -- "--title" "$work/out" && grep -q -- "--value" "$work/out" || fail "help: $(cat "$work/out")"

"$livrax" report currency --title "euro teste" --value "6,1" >"$work/out" 2>"$work/err" ||
  fail "first: exit $?"
"$livrax" report currency --title "EURO TESTE" --value 6.2345 >"$work/out" 2>"$work/err" ||
  fail "second: exit $?"
grep -qF "Moeda do dia: EURO TESTE = 6.2345" "$work/out" || fail "second: $(cat "$work/out")"
rows="$(today_rows)"
[[ $rows == "EURO TESTE 6.2345 6.2345 C DEMO" ]] || fail "rows after two runs: \"$rows\""

for value in "6,2'); DELETE FROM VRTNMOE; --" "seis" "-1" "123456789012345678901"; do
  set +e
  "$livrax" report currency --title "EURO TESTE" --value "$value" >"$work/out" 2>"$work/err"
  status=$?
  set -e
  [[ $status == 2 ]] || fail "value \"$value\": exit $status, expected 2"
  grep -qF "valor inválido" "$work/err" || fail "value \"$value\": no refusal"
  [[ "$(today_rows)" == "$rows" ]] || fail "value \"$value\" changed the quotation"
done
# A name with other characters than letters, digits and spaces is a wrong
# argument, told with the usage before the database is opened.
for title in "EURO;TESTE" "EURO'TESTE" "EURO-1"; do
  set +e
  "$livrax" report currency --title "$title" --value 7 >"$work/out" 2>"$work/err"
  status=$?
  set -e
  [[ $status == 2 ]] || fail "title \"$title\": exit $status, expected 2"
  grep -qF "Uso: livrax report currency" "$work/err" || fail "title \"$title\": no usage"
  [[ "$(today_rows)" == "$rows" ]] || fail "title \"$title\" changed the quotation"
done
count="$(isql-fb -user SYSDBA -q "$db" <<<"SELECT COUNT(*) FROM VRTNMOE;" | awk 'NF == 1 && $1 ~ /^[0-9]+$/ { print $1 }')"
[[ $count -gt 1 ]] || fail "the quotations are gone: $count"
echo "ok"
