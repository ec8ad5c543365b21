#!/usr/bin/env bash
# "livrax book LX70" on the demo company: the Livro de ISSQN of a month to
# text and to PDF, options that change the book, and refused inputs that
# leave no file behind.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/demo" --invoices 300 --no-gui >/dev/null 2>"$work/err"

"$livrax" book LX70 --from 01/03/26 --to 31/03/26 --rate 5 --withheld 0 \
  --out "$work/lx70.txt" >/dev/null 2>"$work/err"
text="$(iconv -f cp1252 -t utf-8 "$work/lx70.txt")"
grep -q "L I V R O   D E   I S S Q N" <<<"$text"
grep -q "Mes/Período: 01/03/26 A 31/03/26" <<<"$text"
grep -q "Aliquota:  5,00 %" <<<"$text"
grep -q "R E S U M O" <<<"$text"
# 31 day lines, whatever the month.
days="$(grep -cE "^\|  [ 0-9][0-9] \|" <<<"$text" || true)"
if [[ $days -lt 31 ]]; then
  echo "only $days day lines" >&2
  exit 1
fi
# Every page carries its header and its number.
pages="$(tr -d '\r' <<<"$text" | awk -v RS='\f' '
  { sub(/^\n/, ""); split($0, line, "\n")
    want = sprintf("Folha: %4d", NR)
    if (index(line[1], "LX70") == 0 || index(line[1], want) == 0) bad = 1 }
  END { print bad ? "bad" : NR }')"
if [[ $pages == bad ]]; then
  echo "a page without its header" >&2
  exit 1
fi

# "Produtos x Base" changes the book; the run leaves the saved settings alone.
"$livrax" book LX70 --from 01/03/26 --to 31/03/26 --rate 5 --products-first --gross \
  --method 1 --out "$work/other.txt" >/dev/null 2>"$work/err"
if cmp -s "$work/lx70.txt" "$work/other.txt"; then
  echo "the options did not change the book" >&2
  exit 1
fi

"$livrax" book LX70 --from 01/03/26 --to 31/03/26 --out "$work/lx70.pdf" >/dev/null 2>"$work/err"
pdftotext -layout "$work/lx70.pdf" "$work/lx70-pdf.txt"
# The PDF text comes out with the title's spacing closed up.
grep -Eq "R ?E ?S ?U ?M ?O" "$work/lx70-pdf.txt"
grep -Eq "Folha: +2" "$work/lx70-pdf.txt"

# Refused: exit 2, a message, no file.
refused() { # expected message, arguments...
  local message="$1"
  shift
  local status=0
  "$livrax" book LX70 "$@" --out "$work/refused.pdf" >/dev/null 2>"$work/err" || status=$?
  if [[ $status -ne 2 ]]; then
    echo "status $status for: $*" >&2
    exit 1
  fi
  grep -q -- "$message" "$work/err"
  if [[ -e "$work/refused.pdf" ]]; then
    echo "a file was written for: $*" >&2
    exit 1
  fi
}
refused "data inválida" --from 31/02/26 --to 31/03/26
refused "--method" --from 01/03/26 --method 3
refused "--rate" --from 01/03/26 --rate abc
refused "data inválida" --from 01/03/26 --payment-date 32/01/26
refused "no-such-option" --from 01/03/26 --no-such-option
refused "não usa --no-ipi" --from 01/03/26 --no-ipi
refused "--gross ou --net" --from 01/03/26 --gross --net
