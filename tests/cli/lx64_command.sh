#!/usr/bin/env bash
# "livrax book LX50" and "livrax book LX64" on the demo company: the match
# table accounts for every exit item's quantity and never takes more from a
# purchase than it holds; the report prints a month with its totals; a filter
# the database refuses leaves no file.
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

"$livrax" book LX50 >"$work/out" 2>"$work/err"
written="$(sed -n 's/^VRTNP50 montado: \([0-9]*\) linhas gravadas\.$/\1/p' "$work/out")"
[[ -n $written && $written -gt 0 ]]
[[ "$(sql_number "SELECT COUNT(*) FROM VRTNP50;")" == "$written" ]]

# Every exit item that moves stock is matched whole.
counted="FAT = 'F' AND NATOPER > 100"
unmatched="$(sql_number "SELECT COUNT(*) FROM VRTNPIS PIS WHERE $counted
  AND (ATUPRO IS NULL OR ATUPRO <> 'N') AND DTNOTA IS NOT NULL AND TRIM(PRODUTO) <> ''
  AND QUANT <> (SELECT COALESCE(SUM(P.QUANT), 0) FROM VRTNP50 P
                WHERE P.PEDIDO = PIS.PEDIDO AND P.SEQ = PIS.SEQ);")"
[[ $unmatched == 0 ]]

# No purchase gives more than it holds; the first of a product also carries
# its initial balance.
overdrawn="$(sql_number "SELECT COUNT(*) FROM VRTNPIE PIE
  LEFT JOIN VRTNPRO PRO ON PRO.PRODUTO = PIE.PRODUTO WHERE PIE.$counted
  AND (SELECT COALESCE(SUM(P.QUANT), 0) FROM VRTNP50 P
       WHERE P.PEDIDOE = PIE.PEDIDO AND P.SEQE = PIE.SEQ AND P.QUANT > 0)
    > (CASE WHEN PIE.QUANT > 0 THEN PIE.QUANT ELSE 0 END)
      + (CASE WHEN COALESCE(PRO.SALDOINIC, 0) > 0 AND NOT EXISTS (SELECT 1 FROM VRTNPIE E
           WHERE E.PRODUTO = PIE.PRODUTO AND E.$counted AND (E.DATA < PIE.DATA
             OR (E.DATA = PIE.DATA AND (E.PEDIDO < PIE.PEDIDO
               OR (E.PEDIDO = PIE.PEDIDO AND E.SEQ < PIE.SEQ)))))
         THEN PRO.SALDOINIC ELSE 0 END);")"
[[ $overdrawn == 0 ]]
# The pieces are never negative where their exit is not.
negative="$(sql_number "SELECT COUNT(*) FROM VRTNP50 P JOIN VRTNPIS PIS
  ON PIS.PEDIDO = P.PEDIDO AND PIS.SEQ = P.SEQ WHERE P.QUANT < 0 AND PIS.QUANT > 0;")"
[[ $negative == 0 ]]

# A month of the report, built again first: the totals line closes it.
"$livrax" book LX64 --from 01/03/26 --to 31/03/26 --all-invoices --build \
  --out "$work/lx64.txt" >/dev/null 2>"$work/err"
iconv -f cp1252 -t utf-8 "$work/lx64.txt" | tr -d '\r' >"$work/lx64-utf8.txt"
grep -q "LX64 - PRODUTOS VENDIDOS SEM RETENÇÃO" "$work/lx64-utf8.txt"
grep -Eq "TOTAL DE IMPOSTO DO MÊS +[0-9.,-]+ +[0-9.,-]+ +[0-9.,-]+" "$work/lx64-utf8.txt"
[[ "$(sql_number "SELECT COUNT(*) FROM VRTNP50;")" == "$written" ]]

# A filter the database refuses: non-zero, no file. A filter that could
# reach beyond the report's rows is refused before the session.
set +e
"$livrax" book LX64 --from 01/03/26 --to 31/03/26 --filter "P50.NOSUCH = 1" \
  --out "$work/bad.txt" >/dev/null 2>"$work/err"
status=$?
"$livrax" book LX64 --filter "1=1) OR (1=1" --out "$work/bad2.txt" >/dev/null 2>"$work/err2"
status2=$?
set -e
[[ $status != 0 && ! -e "$work/bad.txt" ]]
[[ $status2 == 2 && ! -e "$work/bad2.txt" ]]
grep -q "recusado" "$work/err2"
