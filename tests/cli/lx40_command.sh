#!/usr/bin/env bash
# "livrax book LX40" on the demo company: the total balance of the inventory
# against the database's own sums, the layouts agreeing on the products and
# values, the landscape layout whole in the PDF, the saved settings left as
# they were, and the errors a batch user must see.
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
# The book as UTF-8 lines.
book_text() {
  iconv -f cp1252 -t utf-8 "$1" | tr -d '\r'
}
# Field n from the end of the TOTAL GERAL line, in cents.
total_cents() { # file, field from the end (1 = last)
  book_text "$1" | awk -v n="$2" '/TOTAL GERAL/ { line = $0 } END { split(line, f, " ");
    v = f[length(f) - n + 1]; gsub(/[.,]/, "", v); print v }'
}

# The stock on the last day of the year: every initial balance plus the
# invoiced items that move stock, entries by DATA and exits by DTNOTA, in
# cents cut toward zero as the book prints it.
counted="FAT = 'F' AND ATUPRO NOT IN ('N', 'X', '*')"
expected="$(sql_number "SELECT TRUNC(((SELECT COALESCE(SUM(SALDOINIC), 0) FROM VRTNPRO)
  + (SELECT COALESCE(SUM(QUANT), 0) FROM VRTNPIE WHERE $counted AND DATA <= '2026-12-31')
  - (SELECT COALESCE(SUM(QUANT), 0) FROM VRTNPIS WHERE $counted AND DTNOTA <= '2026-12-31'))
  * 100) FROM RDB\$DATABASE;")"
[[ -n $expected ]]

"$livrax" book LX40 --date 31/12/26 --layout 00 --value 2 --all-balances --summary \
  --out "$work/b00.txt" >/dev/null 2>"$work/err"
# "*** TOTAL GERAL *** balance value": the balance is the next to last field.
[[ "$(total_cents "$work/b00.txt" 2)" == "$expected" ]]
# The summary values the same products at the sale price: the book's total.
sale="$(book_text "$work/b00.txt" | awk '/Saldo X Preço de Venda/ { v = $NF; gsub(/[.,]/, "", v); print v }')"
[[ -n $sale && "$sale" == "$(total_cents "$work/b00.txt" 1)" ]]

# Layout "05" (without a total line) lists the same products, each with its
# balance in the last column: their sum is the same total.
"$livrax" book LX40 --date 31/12/26 --layout 05 --all-balances --out "$work/b05.txt" \
  >/dev/null 2>"$work/err"
sum05="$(book_text "$work/b05.txt" | awk '$NF ~ /^-?[0-9]+,[0-9][0-9]$/ && NF >= 5 {
  v = $NF; sub(/,/, "", v); s += v; n++ } END { if (n > 0) printf "%d\n", s }')"
[[ "$sum05" == "$expected" ]]

# Every page carries the standard header with the base date.
book_text "$work/b05.txt" | awk -v RS='\f' 'NF { if ($0 !~ /DATA BASE: 31\/12\/26/) bad = 1; n++ }
  END { exit bad || n < 1 }'

# Layout "01" in the PDF: landscape, its last column ("ACERTOS") not cut.
"$livrax" book LX40 --date 31/12/26 --layout 01 --out "$work/b01.pdf" >/dev/null 2>"$work/err"
pdftotext -layout "$work/b01.pdf" "$work/b01-pdf.txt"
grep -q "ACERTOS" "$work/b01-pdf.txt"

# The runs left the saved settings as they were: there are none.
saved="$(sql_number "SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE STARTING WITH 'PAR_LX40';")"
[[ $saved == 0 ]]

# Saved settings are the defaults of the options not given, and stay as they
# were: layout "05", a title, and a base date that is no date.
crlf="|| ASCII_CHAR(13) || ASCII_CHAR(10) ||"
isql-fb -user SYSDBA -q "$database" <<SQL
INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LX40',
  '002)INVENTARIO SALVO' $crlf '005)05 - Entradas/Saídas/Acertos/Saldos' $crlf '008)31/02/26');
SQL
stored="SELECT CAST(TEXTO AS VARCHAR(500)) FROM VRTNPAR WHERE CHAVE = 'PAR_LX40';"
before="$(isql-fb -user SYSDBA -q "$database" <<<"$stored")"
set +e
"$livrax" book LX40 --out "$work/saved.txt" >/dev/null 2>"$work/err"
status=$?
set -e
[[ $status == 2 && ! -e "$work/saved.txt" ]]
grep -q -- "informe --date" "$work/err"
"$livrax" book LX40 --date 31/12/26 --all-balances --out "$work/saved.txt" >/dev/null 2>"$work/err"
book_text "$work/saved.txt" >"$work/saved-utf8.txt"
grep -q "INVENTARIO SALVO" "$work/saved-utf8.txt"
grep -q "Entradas  *Saidas  *Acertos  *Saldo" "$work/saved-utf8.txt"
[[ "$(isql-fb -user SYSDBA -q "$database" <<<"$stored")" == "$before" ]]

# Usage errors: status 2, a message, no file.
refused() { # expected status, expected message, options...
  local want="$1" message="$2"
  shift 2
  set +e
  "$livrax" book LX40 "$@" --out "$work/x.txt" >/dev/null 2>"$work/err"
  local status=$?
  set -e
  [[ $status == "$want" ]]
  grep -q -- "$message" "$work/err"
  [[ ! -e "$work/x.txt" ]]
}
refused 2 "data inválida" --date 31/02/26
refused 2 "data inválida" --date ontem
refused 2 "--layout deve ser" --date 31/12/26 --layout 02
refused 2 "--value deve ser" --date 31/12/26 --value 12
refused 2 "não os dois" --date 31/12/26 --positive --all-balances
refused 2 "só pode restringir" --date 31/12/26 --entry-filter "PIE.PEDIDO = 1) OR (1 = 1"
refused 2 "não usa --from" --date 31/12/26 --from 01/01/26
# A query the database refuses: status 1, its reason, no file.
refused 1 "A consulta do livro falhou" --date 31/12/26 --exit-filter "NO_SUCH_COLUMN = 1"
