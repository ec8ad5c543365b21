#!/usr/bin/env bash
# "livrax sintegra" on the demo company: the informant checks refuse in
# their order with the window's messages and leave no file; with the data
# given, a month is written as 126-column lines ended by CR LF, record 10
# carrying the period and record 90 counting every line; usage errors.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command needs no display

"$livrax" demo --dir "$work/demo" --invoices 120 --no-gui >/dev/null 2>"$work/err"

# Runs the command expecting `status`, with stderr in $work/err.
runs_with() {
  local status="$1"
  shift
  set +e
  "$livrax" sintegra "$@" >"$work/out" 2>"$work/err"
  local got=$?
  set -e
  if [[ $got != "$status" ]]; then
    echo "livrax sintegra $* ended with $got, not $status" >&2
    cat "$work/err" >&2
    exit 1
  fi
}

# The company register has no contact person and no address number.
runs_with 1 --from 01/03/26 --out "$work/s.txt"
grep -q "Obrigatório informar o Nome da Pessoa de Contato" "$work/err"
[[ ! -e "$work/s.txt" ]]
runs_with 1 --from 01/03/26 --contact "ANA LIMA" --phone "" --out "$work/s.txt"
grep -q "Obrigatório informar o Telefone para Contato" "$work/err"
runs_with 1 --from 01/03/26 --contact "ANA LIMA" --out "$work/s.txt"
grep -q "Obrigatório informar o Número ou Complemento" "$work/err"
[[ ! -e "$work/s.txt" ]]
# No period given and none saved.
runs_with 1 --contact "ANA LIMA" --number 1200 --out "$work/s.txt"
grep -q "Deve ser informada a Data Inicial e a Final" "$work/err"
[[ ! -e "$work/s.txt" ]]

# March 2026: --to defaults to the month's last day.
runs_with 0 --from 01/03/26 --contact "ANA LIMA" --number 1200 --out "$work/s.txt"
lines=$(wc -l <"$work/s.txt")
[[ $lines -ge 3 ]]
# Every line: 126 characters and CR LF.
[[ $(LC_ALL=C awk '!/\r$/ || length($0) != 127' "$work/s.txt" | wc -l) == 0 ]]
first="$(head -n 1 "$work/s.txt")"
[[ ${first:0:2} == 10 ]]
[[ ${first:107:16} == 2026030120260331 ]]
second="$(sed -n 2p "$work/s.txt")"
[[ ${second:0:2} == 11 ]]
[[ ${second:86:8} == "ANA LIMA" ]]
last="$(tail -n 1 "$work/s.txt")"
[[ ${last:0:2} == 90 ]]
# The total of the last type-90 line counts every line of the file.
total=$(grep -o '99[0-9]\{8\}' <<<"${last:30:90}" | tail -n 1)
[[ $((10#${total:2})) == "$lines" ]]

# Without --out: the proposed name in the current folder.
(cd "$work" && "$livrax" sintegra --from 01/02/26 --contact "ANA LIMA" --number 1200 \
  --records 50,51 >/dev/null 2>"$work/err")
[[ -s "$work/GIA_0226.TXT" ]]
[[ $(head -c 2 "$work/GIA_0226.TXT") == 10 ]]

# The file is written whole or not at all: an old file stays when the
# checks refuse.
echo "OLD" >"$work/old.txt"
runs_with 1 --from 01/03/26 --out "$work/old.txt"
[[ "$(cat "$work/old.txt")" == "OLD" ]]
# A folder that does not exist: a failure, no file.
runs_with 1 --from 01/03/26 --contact "ANA LIMA" --number 1200 --out "$work/no/such/x.txt"
[[ ! -e "$work/no/such/x.txt" ]]

# Usage errors.
runs_with 2 --from 31/02/26
grep -q "data inválida" "$work/err"
runs_with 2 --from 01/03/26 --records 50,52
grep -q 'tipo de registro desconhecido: "52"' "$work/err"
runs_with 2 --from 31/03/26 --to 01/03/26 --contact X --number 1
grep -q "período invertido" "$work/err"
runs_with 2 --no-such-option
runs_with 2 --from 01/03/26 --records 50,55
grep -q "registro 55 (GNRE)" "$work/err"
"$livrax" help >"$work/out"
grep -q "sintegra" "$work/out"

# A month with every record the command writes passes "livrax sintegra
# check"; a file cut short does not.
runs_with 0 --from 01/03/26 --records 50,51,53,54,61,70,71,75 --contact "ANA LIMA" \
  --number 1200 --out "$work/all.txt"
for type in 50 53 54 61 70 71 75; do
  grep -q "^$type" "$work/all.txt"
done
"$livrax" sintegra check "$work/all.txt" >"$work/check" 2>"$work/err"
grep -q "nenhum problema" "$work/check"
head -n 5 "$work/all.txt" >"$work/cut.txt"
set +e
"$livrax" sintegra check "$work/cut.txt" >"$work/check" 2>"$work/err"
status=$?
set -e
[[ $status == 1 ]]
