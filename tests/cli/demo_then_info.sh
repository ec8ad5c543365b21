#!/usr/bin/env bash
# After "livrax demo", "livrax info" starts as the demo user on the demo
# databases, in a folder whose name has accents. A database that cannot be
# opened (missing, not a database) is reported with its reason and fails the
# job; so do settings that cannot be written.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
demo="$work/relatório de ações"

"$livrax" demo --dir "$demo" --invoices 120 --no-gui >/dev/null 2>&1
info="$("$livrax" info)"
grep -q "DEMO - USUÁRIO DE DEMONSTRAÇÃO, nível 9" <<<"$info"
grep -q "B_DIR1  $demo/livrax_erp.fdb" <<<"$info"
[[ $(grep -c "conectado, " <<<"$info") -eq 2 ]]
grep -q "Empresa:        DISTRIBUIDORA MODELO DE PRODUTOS HOSPITALARES LTDA" <<<"$info"
grep -q "Código:         001" <<<"$info"

# "livrax info" with the given databases 1 and 5 must fail, saying `expected`
# on stderr.
info_fails() {
  local db1="$1" db5="$2" expected="$3"
  "$livrax" login --user ANA --level 3 --db1 "$db1" --db5 "$db5" >/dev/null
  if "$livrax" info >"$work/out" 2>"$work/err"; then
    echo "info succeeded with $db1 and $db5" >&2
    exit 1
  fi
  if ! grep -qF "$expected" "$work/err"; then
    echo "expected \"$expected\", got:" >&2
    cat "$work/err" >&2
    exit 1
  fi
}
seq 1 40000 >"$work/lixo.fdb" # a file of garbage, not a database
erp="$demo/livrax_erp.fdb"
system="$demo/livrax_sistema.fdb"
info_fails "$work/nada.fdb" "$system" \
  "Erro na conexão do servidor - $work/nada.fdb: o arquivo não existe ("
grep -q "não conectado: Erro ao abrir $work/nada.fdb: o arquivo não existe" "$work/out"
info_fails "$work/lixo.fdb" "$system" \
  "Erro na conexão do servidor - $work/lixo.fdb: o arquivo não é um banco de dados"
info_fails "$erp" "$work/nada.fdb" "Erro ao abrir $work/nada.fdb: o arquivo não existe ("
info_fails "$erp" "$work/lixo.fdb" "Erro ao abrir $work/lixo.fdb: o arquivo não é um banco de dados"
# A book cannot run without the company's database either.
if "$livrax" book LX53 --out "$work/lx53.txt" >/dev/null 2>"$work/err"; then
  echo "a book was printed without database 5" >&2
  exit 1
fi
grep -qF "Erro ao abrir $work/lixo.fdb: o arquivo não é um banco de dados" "$work/err"
[[ ! -e "$work/lx53.txt" ]]

# Settings that cannot be written: the configuration folder lies under a
# regular file (which stops root as well as anyone else).
export XDG_CONFIG_HOME="$work/lixo.fdb/config"
if "$livrax" login --user ANA --level 3 --db1 "$erp" >/dev/null 2>"$work/err"; then
  echo "login succeeded without writing its settings" >&2
  exit 1
fi
grep -q "livrax login: as configurações do usuário não puderam ser gravadas em $work/lixo.fdb/" \
  "$work/err"
if "$livrax" demo --dir "$work/outra" --invoices 10 --no-gui >/dev/null 2>"$work/err"; then
  echo "demo succeeded without writing its settings" >&2
  exit 1
fi
grep -q "livrax demo: .* o usuário não foi registrado: as configurações do usuário não puderam" \
  "$work/err"
echo "demo, info, failed connections and unwritable settings behave"
