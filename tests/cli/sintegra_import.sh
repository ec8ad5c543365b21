#!/usr/bin/env bash
# "livrax sintegra import" on the demo company: a
# file of another program (LF line ends, no end on the last line) is shown by
# --dry-run, imported, refused the second time without --again; a malformed
# file is refused with its lines named and nothing written.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
"$livrax" demo --dir "$work/demo" --invoices 60 --no-gui >/dev/null 2>&1

# One 126-column record: the fields given, in order, without separators.
record() {
  local line
  line="$(printf '%s' "$@")"
  [[ ${#line} -eq 126 ]] || { echo "record of ${#line} columns: $line" >&2; exit 1; }
  printf '%s' "$line"
}
r10="$(record 10 11222333000181 ISENTO"        " "$(printf '%-35s' EMPRESA)" \
  "$(printf '%-30s' CIDADE)" RS 0000000000 20260301 20260331 3 3 1)"
# An entry of 1.234,56 (ICMS 148,14 at 12%) and an exit of 99,90 to unknown partners.
e50="$(record 50 12345678000190 "$(printf '%-14s' 123456)" 20260305 SP 01 "1  " 000321 2102 \
  T 0000000123456 0000000123456 0000000014814 0000000000000 0000000000000 1200 N)"
s50="$(record 50 55555555000155 "$(printf '%-14s' ISENTO)" 20260306 RS 01 "1  " 000654 5102 \
  P 0000000009990 0000000000000 0000000000000 0000000009990 0000000000000 0000 N)"
r90="$(record 90 11222333000181 ISENTO"        " 5000000002 9900000005 "$(printf '%75s' '')" 1)"
printf '%s\n%s\n%s\n%s' "$r10" "$e50" "$s50" "$r90" >"$work/outro.txt"

"$livrax" sintegra import "$work/outro.txt" --dry-run >"$work/out" 2>"$work/err"
grep -qF "Entradas: 1 documento, total 1.234,56, ICMS 148,14; Saídas: 1 documento, total 99,90, ICMS 0,00" "$work/out"
grep -qF "simulação: nada foi gravado" "$work/out"
"$livrax" sintegra import "$work/outro.txt" >"$work/out" 2>"$work/err"
grep -qF "Conversão concluída: 1 entrada(s) e 1 saída(s) gravadas" "$work/out"

set +e
"$livrax" sintegra import "$work/outro.txt" >"$work/out" 2>"$work/err"
status=$?
set -e
[[ $status -eq 1 ]]
grep -qF "2 de 2 documento(s) já existe(m)" "$work/out"
grep -qF "use --again" "$work/err"
"$livrax" sintegra import "$work/outro.txt" --again >"$work/out" 2>"$work/err"

# A line cut short and garbage: refused, each with its line, nothing written.
printf '%s\r\n%s\r\n%s\r\nlixo\r\n' "$r10" "${e50:0:100}" "$s50" >"$work/ruim.txt"
set +e
"$livrax" sintegra import "$work/ruim.txt" >"$work/out" 2>"$work/err"
status=$?
set -e
[[ $status -eq 1 ]]
grep -qF "ruim.txt: linha 2: linha com 100 caracteres; o registro tem 126" "$work/err"
grep -qF "ruim.txt: linha 4: tipo de registro desconhecido: \"li\"" "$work/err"
grep -qF "arquivo recusado (2 problemas); nada foi importado" "$work/err"
[[ ! -s "$work/out" ]]

# Usage errors exit with 2.
set +e
"$livrax" sintegra import >"$work/out" 2>"$work/err"
status=$?
set -e
[[ $status -eq 2 ]]
grep -qF "falta o arquivo a importar" "$work/err"
