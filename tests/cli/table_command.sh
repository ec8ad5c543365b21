#!/usr/bin/env bash
# "livrax table" on the demo company: --dry-run counts the rows and changes
# nothing; a real change and a renumbering are checked with queries of their
# own; a field or table that is not there, a table of another database and
# wrong arguments are refused.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
"$livrax" demo --dir "$work/demo" --invoices 60 --no-gui >/dev/null 2>&1
erp="$work/demo/livrax_erp.fdb"

# One value of a query, straight from the database.
query() {
  isql-fb -user SYSDBA -q "$erp" <<<"$1" | awk 'NF && $1 !~ /^=+$/ {v=$NF} END {print v}'
}
state="SELECT LIST(PEDIDO || ':' || COALESCE(VALORA, -1) || ':' || NNOTA, ',') FROM (SELECT PEDIDO, VALORA, NNOTA FROM VRTNPDS ORDER BY PEDIDO);"
before="$(query "$state")"
rows="$(query "SELECT COUNT(*) FROM VRTNPDS WHERE PEDIDO <= 7;")"
[[ "$rows" -gt 0 ]]

"$livrax" table change PDS --field VALORA --expression "LIQUIDO * 2" --filter "PEDIDO <= 7" \
  --dry-run >"$work/out" 2>"$work/err"
grep -qxF "Registros alterados: $rows" "$work/out"
grep -qF "simulação: nada foi gravado" "$work/out"
[[ "$(query "$state")" == "$before" ]]

"$livrax" table change pds --field valora --expression "LIQUIDO * 2" --filter "PEDIDO <= 7" \
  >"$work/out" 2>"$work/err"
grep -qxF "Registros alterados: $rows" "$work/out"
[[ "$(query "SELECT COUNT(*) FROM VRTNPDS WHERE PEDIDO <= 7 AND VALORA = LIQUIDO * 2;")" == "$rows" ]]
[[ "$(query "SELECT COUNT(*) FROM VRTNPDS WHERE PEDIDO > 7 AND VALORA = LIQUIDO * 2 AND LIQUIDO <> 0;")" == 0 ]]

# Renumbering in the order of an index: the first three invoices by date and
# order number get 1000, 1001, 1002.
"$livrax" table renumber VRTNPDS --field NNOTA --start 1000 --index DATA,PEDIDO \
  --filter "PEDIDO <= 3" >"$work/out" 2>"$work/err"
grep -qxF "Registros alterados: 3" "$work/out"
[[ "$(query "SELECT LIST(NNOTA, ',') FROM (SELECT NNOTA FROM VRTNPDS WHERE PEDIDO <= 3 ORDER BY DATA, PEDIDO);")" == "1000,1001,1002" ]]

# Refusals change nothing: exit 1 with the reason, exit 2 for wrong arguments.
before="$(query "$state")"
expect() {
  local status="$1" text="$2"
  shift 2
  set +e
  "$livrax" table "$@" >"$work/out" 2>"$work/err"
  local got=$?
  set -e
  [[ $got -eq $status ]] || { echo "exit $got, not $status: table $*" >&2; cat "$work/err" >&2; exit 1; }
  grep -qF "$text" "$work/err" || { echo "no \"$text\": table $*" >&2; cat "$work/err" >&2; exit 1; }
}
expect 1 "O campo NADA não existe na tabela VRTNPDS" change PDS --field NADA --value 1
expect 1 "VRTNPDS não é uma tabela do banco de dados" change PDS --field VALORA --value 1 --database 5
expect 1 "VRTNXYZ não é uma tabela" change XYZ --field VALORA --value 1
expect 1 "Campo de índice desconhecido: NADA" renumber PDS --field NNOTA --start 1 --index NADA
expect 2 "opção desconhecida \"--nada\"" change PDS --field VALORA --value 1 --nada
expect 2 "informe um de --value, --expression e --function" change PDS --field VALORA
expect 2 "operação desconhecida \"apaga\"" apaga PDS
[[ "$(query "$state")" == "$before" ]]

"$livrax" table --help >"$work/out"
for option in change renumber --field --value --expression --function --format --start --size \
  --filter --index --database --dry-run; do
  grep -qF -- "$option" "$work/out"
done
