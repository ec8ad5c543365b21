#!/usr/bin/env bash
# After "livrax demo", "livrax info" starts as the demo user on the demo
# databases; after a log-in with a wrong database 1 it reports the error and
# fails.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

"$livrax" demo --dir "$work/demo" --invoices 120 --no-gui >/dev/null 2>&1
info="$("$livrax" info)"
grep -q "DEMO - USUÁRIO DE DEMONSTRAÇÃO, nível 9" <<<"$info"
grep -q "B_DIR1  $work/demo/livrax_erp.fdb" <<<"$info"
[[ $(grep -c "conectado, " <<<"$info") -eq 2 ]]
grep -q "Empresa:        DISTRIBUIDORA MODELO DE PRODUTOS HOSPITALARES LTDA" <<<"$info"
grep -q "Código:         001" <<<"$info"

"$livrax" login --user ANA --level 3 --db1 "$work/nada.fdb" >/dev/null
if "$livrax" info >"$work/out" 2>"$work/err"; then
  echo "info succeeded without database 1" >&2
  exit 1
fi
grep -q "Erro na conexão do servidor - $work/nada.fdb" "$work/err"
grep -q "não conectado: " "$work/out"
echo "demo, info and a failed log-in behave"
