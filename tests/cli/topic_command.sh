#!/usr/bin/env bash
# "livrax topic" on the demo: the search lists keys before titles; a topic
# exported as rich text and imported again under a new title and key comes
# back byte for byte; the plain-text export holds the text in Windows-1252
# with CR LF; refusals (no such topic, a bad extension, a folder that does
# not exist, a file that is not rich text, a missing title) say so, write
# nothing and store nothing.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must run without a display

"$livrax" demo --dir "$work/demo" --invoices 10 --no-gui >/dev/null 2>&1
source "$(dirname "$0")/script_failures.sh"
fail() { echo "$*" >&2; cat "$work/err" >&2 || true; exit 1; }

# Keys first, then titles; each line names its topic.
"$livrax" topic search PESQC >"$work/out" 2>"$work/err"
kinds="$(awk '{ print $2 }' "$work/out" | paste -sd' ')"
[[ $kinds == "chave título" ]] || fail "search PESQC: $(cat "$work/out")"
topic="$(awk 'NR == 1 { print $1 }' "$work/out")"
[[ $topic =~ ^[0-9]+$ ]] || fail "search: no topic number"

# Export as rich text and as plain text.
"$livrax" topic export "$topic" --out "$work/topico.rtf" >"$work/out" 2>"$work/err"
grep -q '^{\\rtf1' "$work/topico.rtf" || fail "export: not rich text"
grep -q "gravado em" "$work/out" || fail "export: not reported"
"$livrax" topic export "$topic" --out "$work/topico.txt" >"$work/out" 2>"$work/err"
grep -q $'^Filtros: dois campos.*\r$' "$work/topico.txt" || fail "txt: $(cat "$work/topico.txt")"
if grep -q 'rtf1\|\\par' "$work/topico.txt"; then fail "txt: holds rich-text words"; fi

# Import under a new title and key: found by the key, exported identical.
"$livrax" topic import "$work/topico.rtf" --title "Cópia da consulta" --key COPIA_TESTE \
  >"$work/out" 2>"$work/err"
grep -q 'importado com a(s) chave(s) COPIA_TESTE' "$work/out" || fail "import: $(cat "$work/out")"
"$livrax" topic search COPIA_TESTE >"$work/out" 2>"$work/err"
copy="$(awk 'NR == 1 && $2 == "chave" { print $1 }' "$work/out")"
[[ -n $copy && $copy != "$topic" ]] || fail "search of the new key: $(cat "$work/out")"
"$livrax" topic search "Cópia da consulta" >"$work/out" 2>"$work/err"
grep -qE "^ *$copy  título  Cópia da consulta$" "$work/out" || fail "new title: $(cat "$work/out")"
"$livrax" topic export "$copy" --out "$work/copia.rtf" >"$work/out" 2>"$work/err"
cmp "$work/topico.rtf" "$work/copia.rtf" || fail "round trip changed the text"

# Refusals: the exit status, the reason, and nothing written or stored.
expect() { # expect STATUS TEXT COMMAND...
  local status=$1 text=$2
  shift 2
  set +e
  "$livrax" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  set -e
  [[ $got == "$status" ]] || fail "$*: exit $got, expected $status"
  grep -qF -- "$text" "$work/err" || fail "$*: no \"$text\" in the message"
}
echo "OLD" >"$work/old.rtf"
expect 1 "não há tópico 9999" topic export 9999 --out "$work/old.rtf"
[[ "$(cat "$work/old.rtf")" == "OLD" ]] || fail "export of a missing topic replaced the file"
expect 2 ".rtf ou .txt" topic export "$topic" --out "$work/topico.doc"
[[ ! -e "$work/topico.doc" ]] || fail "export with a bad extension wrote a file"
expect 1 "$work/nada/t.rtf" topic export "$topic" --out "$work/nada/t.rtf"
[[ ! -e "$work/nada" ]] || fail "export created the missing folder"
printf 'texto simples\r\n' >"$work/simples.txt"
expect 1 "não é um arquivo RTF" topic import "$work/simples.txt" --title "Simples" --key SIMPLES
expect 2 "falta o título" topic import "$work/topico.rtf" --key SIMPLES
expect 1 "nenhuma chave ou título contém \"SIMPLES\"" topic search SIMPLES
expect 2 "subcomando desconhecido" topic apaga 1

# Every subcommand explains its options.
"$livrax" topic export --help >"$work/out" 2>"$work/err"
grep -q -- "--out" "$work/out" || fail "export --help: $(cat "$work/out")"
"$livrax" topic import --help >"$work/out" 2>"$work/err"
grep -q -- "--title" "$work/out" && grep -q -- "--key" "$work/out" || fail "import --help"
