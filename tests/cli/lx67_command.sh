#!/usr/bin/env bash
# "livrax book LX67" on the demo company: the total quantity of the list
# against the database's own sum, every page with its form header numbered
# from 1, the saved settings left as they were, and the errors a batch user
# must see (a filter the database refuses: status 1 and no file).
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/demo" --invoices 600 --no-gui >/dev/null 2>"$work/err"
database="$work/demo/livrax_erp.fdb"

sql_number() { # statement
  isql-fb -user SYSDBA -q "$database" <<<"$1" | awk 'NF == 1 && $1 ~ /^-?[0-9]+$/ { print $1 }'
}
book_text() {
  iconv -f cp1252 -t utf-8 "$1" | tr -d '\r'
}
# The total: the last line holding a lone quantity, in cents.
total_cents() {
  book_text "$1" | awk '/^ *-?[0-9]+,[0-9][0-9] *$/ { v = $1 } END { gsub(/,/, "", v); print v }'
}

# The invoiced exit items of controlled products of the year, summed exactly
# and cut to the cent as the list prints it.
controlled="FROM VRTNPIS PIS JOIN VRTNPRO PRO ON PIS.PRODUTO = PRO.PRODUTO
  WHERE PIS.FAT = 'F' AND PRO.TIPOPRO IN ('C', 'D')
  AND PIS.DATA BETWEEN '2026-01-01' AND '2026-12-31'"
expected="$(sql_number "SELECT TRUNC(COALESCE(SUM(PIS.QUANT), 0) * 100) $controlled;")"
items="$(sql_number "SELECT COUNT(*) $controlled;")"
[[ -n $expected && $items -gt 0 ]]

"$livrax" book LX67 --from 01/01/26 --to 31/12/26 --out "$work/year.txt" >/dev/null 2>"$work/err"
[[ "$(total_cents "$work/year.txt")" == "$expected" ]]
# Every page has the form's header and its number, from 1.
book_text "$work/year.txt" | awk -v RS='\f' 'NF { n++
    if ($0 !~ /RELAÇÃO MENSAL DE VENDAS/ || $0 !~ ("Folha: +" n "\n")) bad = 1 }
  END { exit bad || n < 1 }'

# A filter on the items narrows the list; its total is the narrowed sum.
first="$(sql_number "SELECT MIN(PIS.NNOTA) $controlled;")"
narrowed="$(sql_number "SELECT TRUNC(COALESCE(SUM(PIS.QUANT), 0) * 100) $controlled
  AND PIS.NNOTA = $first;")"
"$livrax" book LX67 --from 01/01/26 --to 31/12/26 --filter "PIS.NNOTA = $first" \
  --order "PIS.QUANT DESC" --swap-titles --out "$work/one.txt" >/dev/null 2>"$work/err"
[[ "$(total_cents "$work/one.txt")" == "$narrowed" ]]
book_text "$work/one.txt" | grep -q "Num.DCB *Genérico *Nome do Med."

# The PDF of a month: landscape pages with the header's last column whole.
"$livrax" book LX67 --from 01/03/26 --to 31/03/26 --out "$work/march.pdf" >/dev/null 2>"$work/err"
pdftotext -layout "$work/march.pdf" "$work/march-pdf.txt"
grep -q "MES / ANO: *03 / 26" "$work/march-pdf.txt"
grep -q "UF" "$work/march-pdf.txt"

# The runs left the saved settings as they were: there are none.
saved="$(sql_number "SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE STARTING WITH 'PAR_LX67';")"
[[ $saved == 0 ]]

refused() { # expected status, expected message, options...
  local want="$1" message="$2"
  shift 2
  set +e
  "$livrax" book LX67 "$@" --out "$work/x.txt" >/dev/null 2>"$work/err"
  local status=$?
  set -e
  [[ $status == "$want" ]]
  grep -q -- "$message" "$work/err"
  [[ ! -e "$work/x.txt" ]]
}
refused 2 "data inválida" --from 31/02/26
refused 2 "não os dois" --swap-titles --keep-titles
refused 2 "só pode restringir" --filter "PIS.NNOTA = 1) OR (1 = 1"
refused 2 "não usa --field" --field DTNOTA
refused 2 "página inicial" --first-page 3
# The database refuses the filter or the order: status 1, its reason, no file.
refused 1 "NO_SUCH_COLUMN" --from 01/01/26 --to 31/12/26 --filter "PIS.NO_SUCH_COLUMN = 1"
refused 1 "SIGLA" --from 01/01/26 --to 31/12/26 --filter "SIGLA = 'X'"
refused 1 "NENHUMA" --from 01/01/26 --to 31/12/26 --order "PIS.NENHUMA"
