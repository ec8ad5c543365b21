#!/usr/bin/env bash
# "livrax book LX52" on the demo company: the grand total of a year of
# entries and of exits against the database's own sums, the three groupings
# agreeing on it, every page headed, and the errors a batch user must see.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/demo" --invoices 600 --no-gui >/dev/null 2>"$work/err"
database="$work/demo/livrax_erp.fdb"

# The sum of the database in cents: amounts cut to two decimals, natures left
# out of the books (ATUGIAICM 'N') not counted.
database_cents() { # table, FAT condition, date column, amount column
  isql-fb -user SYSDBA -q "$database" <<<"SELECT SUM(TRUNC(A.$4 * 100)) FROM $1 A WHERE ($2)
    AND A.$3 BETWEEN '2026-01-01' AND '2026-12-31' AND NOT EXISTS (SELECT 1 FROM VRTNNAT N
    WHERE N.NATOPER = A.NATOPER AND N.ATUGIAICM = 'N');" |
    awk 'NF == 1 && $1 ~ /^-?[0-9]+$/ { print $1 }'
}
# The grand-total line of a book as text.
grand_total() {
  iconv -f cp1252 -t utf-8 "$1" | tr -d '\r' | awk '/TOTAL  GERAL/ { line = $0 } END { print line }'
}
# Column n (1: valor contábil, 2: base) of that line in cents.
total_cents() { # line, column
  awk -v n="$2" '{ print $(n + 2) }' <<<"$1" | tr -d ,
}

for group in 0 1 2; do
  "$livrax" book LX52 --year 26 --group "$group" --out "$work/e$group.txt" >/dev/null 2>"$work/err"
  "$livrax" book LX52 --from 01/01/26 --to 31/12/26 --exits --group "$group" \
    --out "$work/s$group.txt" >/dev/null 2>"$work/err"
done
entries="$(grand_total "$work/e0.txt")"
exits="$(grand_total "$work/s0.txt")"
expected="$(database_cents VRTNPDE "A.FAT = 'F' OR A.FAT = 'C'" DATA LIQUIDO)"
[[ -n $expected && "$(total_cents "$entries" 1)" == "$expected" ]]
expected="$(database_cents VRTNPDE "A.FAT = 'F' OR A.FAT = 'C'" DATA ICMBASE)"
[[ "$(total_cents "$entries" 2)" == "$expected" ]]
expected="$(database_cents VRTNPDS "A.FAT = 'F'" DTNOTA LIQUIDO)"
[[ -n $expected && "$(total_cents "$exits" 1)" == "$expected" ]]
# Every grouping ends on the same grand total.
for group in 1 2; do
  [[ "$(grand_total "$work/e$group.txt")" == "$entries" ]]
  [[ "$(grand_total "$work/s$group.txt")" == "$exits" ]]
done

# Every page of the analytic book carries its header, its number and the
# state of its lines; each state begins a page.
iconv -f cp1252 -t utf-8 "$work/e0.txt" | tr -d '\r' | awk -v RS='\f' '
  { sub(/^\n/, ""); split($0, line, "\n")
    want = sprintf("Folha: %4d", NR)
    if (index(line[1], "LX52") != 1 || index(line[1], want) == 0 || $0 !~ /ESTADO: [A-Z][A-Z]/ ||
        $0 !~ /ENTRADAS   Mes\/Período: 01\/01\/26 A 31\/12\/26/) {
      print "page " NR " without its header: " line[1] > "/dev/stderr"; bad = 1 } }
  END { exit bad || NR < 2 }'
# The PDF has the same grand total.
"$livrax" book LX52 --year 26 --group 2 --out "$work/e.pdf" >/dev/null 2>"$work/err"
pdftotext -layout "$work/e.pdf" "$work/e-pdf.txt"
grep -q "IPI Imposto" "$work/e-pdf.txt" # the last column is not cut at the edge
[[ "$(awk '/TOTAL +GERAL/ { print $3 }' "$work/e-pdf.txt")" == "$(awk '{ print $3 }' <<<"$entries")" ]]

# The runs left the saved settings as they were: there are none.
saved="$(isql-fb -user SYSDBA -q "$database" <<<"SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE STARTING WITH 'PAR_LX52';" |
  awk 'NF == 1 && $1 ~ /^[0-9]+$/ { print $1 }')"
[[ $saved == 0 ]]

# Usage errors: status 2, a message, no file.
refused() { # expected message, options...
  local message="$1"
  shift
  set +e
  "$livrax" book LX52 "$@" --out "$work/x.txt" >/dev/null 2>"$work/err"
  local status=$?
  set -e
  [[ $status == 2 ]]
  grep -q -- "$message" "$work/err"
  [[ ! -e "$work/x.txt" ]]
}
refused "data inválida" --from 31/02/26 --to 31/03/26
refused "período invertido" --from 01/04/26 --to 31/03/26
refused "precisa das duas datas" --from 01/03/26
refused "precisa das duas datas"
refused "--year deve ter dois dígitos" --year 2026
refused "não ambos" --year 26 --from 01/01/26
refused "--group deve ser 0, 1 ou 2" --year 26 --group 3
refused "não usa --field" --year 26 --field DATA
refused "não usa --no-ipi" --year 26 --no-ipi
