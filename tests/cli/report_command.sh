#!/usr/bin/env bash
# "livrax report": the demo's sample reports are checked and printed (their
# total against the database's own sum); a report stored by the test is
# checked, run to a text file, and refused before its query runs when a
# selection box holds a value its field cannot take, leaving the old output
# file as it was.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/demo" --invoices 50 --no-gui >/dev/null 2>&1
source "$(dirname "$0")/script_failures.sh"

# The demo's sample reports pass the check and print to every kind of file;
# the sales by customer total the year's sales as the database sums them.
for report in "PDS 1" "PDS 2" "PIS 1"; do
  # shellcheck disable=SC2086 # table and number are two arguments
  "$livrax" report check $report >"$work/out" 2>"$work/err"
  grep -q "sem problemas" "$work/out"
done
"$livrax" report run PDS 1 --out "$work/sales.txt" >"$work/out" 2>"$work/err"
"$livrax" report run PDS 2 --out "$work/days.pdf" >"$work/out" 2>"$work/err"
"$livrax" report run PIS 1 --out "$work/items.xlsx" >"$work/out" 2>"$work/err"
[[ -s "$work/days.pdf" && -s "$work/items.xlsx" ]]
expected="$(isql-fb -user SYSDBA -q "$work/demo/livrax_erp.fdb" <<<"SELECT SUM(LIQUIDO) FROM VRTNPDS WHERE DATA BETWEEN '2026-01-01' AND '2026-12-31';" |
  awk 'NF == 1 && $1 ~ /^[0-9.]+$/ { printf "%.2f", $1 }')"
printed="$(iconv -f cp1252 -t utf-8 "$work/sales.txt" | awk 'NF { last = $0 } END { print last }' |
  awk '{ print $(NF - 1) }' | tr -d . | tr , .)"
[[ -n $expected && $printed == "$expected" ]]
# The sales menu is replaced by the reports below (the demo's own sample
# reports go). Report 001: invoice number and value grouped by SIGLA;
# selection box 1 of the menu is the numeric NNOTA.
crlf="|| ASCII_CHAR(13) || ASCII_CHAR(10) ||"
isql-fb -user SYSDBA -q "$work/demo/livrax_erp.fdb" <<SQL
DELETE FROM VRTNPAR WHERE CHAVE STARTING WITH 'PAR_LFPDS';
INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LFPDS001A',
  '001)Notas por sigla#' $crlf '008)A.SIGLA#' $crlf '011)Nota#A.NNOTA#1#1#0#8#' $crlf
  '012)Valor#A.VALOR#1#1#60#12#');
INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LFPDS0000', '011)Nota#NNOTA#N#');
INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LFPDS002A',
  '001)Ruim#############NAOEXISTE = 1#' $crlf '006)A.NNOTAZ DESC' $crlf
  '011)Nota#A.NNOTAX#1#1#0#8#');
INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LFPDS003A',
  '001)Junta#' $crlf '010)PDS#PEDIDO#PEDIDO###1#N#' $crlf '011)Nota#A.NNOTA#1#1#0#8#' $crlf
  '012)Outra#S.NNOTA#1#1#60#8#');
COMMIT;
SQL

fail() { echo "$*" >&2; cat "$work/err" >&2 || true; exit 1; }

"$livrax" report check PDS 1 >"$work/out" 2>"$work/err" || fail "check: exit $?"
grep -q "sem problemas" "$work/out" || fail "check: $(cat "$work/out")"

# A statement typed into the numeric box is refused, naming the box.
echo "OLD REPORT" >"$work/report.txt"
set +e
"$livrax" report run PDS 1 --select "1=1; DELETE FROM VRTNPDS" --out "$work/report.txt" \
  >"$work/out" 2>"$work/err"
status=$?
set -e
[[ $status == 2 ]] || fail "run with a bad box value: exit $status, expected 2"
grep -qF 'Valor inválido em "Nota"' "$work/err" || fail "run: no refusal naming the box"
[[ "$(cat "$work/report.txt")" == "OLD REPORT" ]] || fail "run: the old file was replaced"

# The box with a number narrows the report to that invoice.
number="$(isql-fb -user SYSDBA -q "$work/demo/livrax_erp.fdb" <<<'SELECT FIRST 1 NNOTA FROM VRTNPDS WHERE NNOTA IS NOT NULL ORDER BY NNOTA;' | awk 'NF==1 && $1 ~ /^[0-9]+$/ {print $1}')"
"$livrax" report run PDS 1 --select "1=$number" --out "$work/report.txt" >"$work/out" 2>"$work/err" ||
  fail "run --select 1=$number: exit $?"
grep -q "gravado em" "$work/out" || fail "run: not reported as written"
lines="$(grep -cE "^$number +[0-9]" "$work/report.txt")"
others="$(grep -cE "^[0-9]+ +[0-9]+," "$work/report.txt" || true)"
[[ $lines -ge 1 && $lines == "$others" ]] || fail "run: $lines lines of invoice $number, $others in all"

# A report whose permanent filter names no column: check shows the statement
# and lists the filter, the misspelt sort column and the misspelt field by
# line.field; run fails without closing anything else.
set +e
"$livrax" report check PDS 2 >"$work/out" 2>"$work/err"
status=$?
set -e
[[ $status == 1 ]] || fail "check 002: exit $status, expected 1"
grep -q "^1.1: coluna desconhecida A.NNOTAX" "$work/out" || fail "check 002: $(cat "$work/out")"
grep -q "^SQL: .*NAOEXISTE" "$work/out" || fail "check 002: $(cat "$work/out")"
grep -q "^ordem: coluna desconhecida A.NNOTAZ$" "$work/out" || fail "check 002: $(cat "$work/out")"
grep -q "^ORDER BY A.NNOTAZ DESC" "$work/out" || fail "check 002: no statement shown"
set +e
"$livrax" report run PDS 2 --out "$work/report.txt" >"$work/out" 2>"$work/err"
status=$?
set -e
[[ $status == 1 ]] || fail "run 002: exit $status, expected 1"
grep -q "NAOEXISTE" "$work/err" || fail "run 002: no reason"

# A secondary table joined to the main one: its columns are read as S.name
# even where both tables have a column of that name.
"$livrax" report run PDS 3 --out "$work/joined.txt" >"$work/out" 2>"$work/err" || fail "run 003: exit $?"
tr -d '\r' <"$work/joined.txt" >"$work/joined.lines"
rows="$(grep -cE "^[0-9]+ +[0-9]+ *$" "$work/joined.lines" || true)"
same="$(awk '$0 ~ /^[0-9]+ +[0-9]+ *$/ && $1 == $2' "$work/joined.lines" | wc -l)"
[[ $rows -ge 1 && $rows == "$same" ]] || fail "run 003: $same of $rows rows show the joined number"
