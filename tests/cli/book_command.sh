#!/usr/bin/env bash
# "livrax book" on the demo company: a month of entries to text and to PDF,
# and the errors a batch user must see.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/demo" --invoices 600 --no-gui >/dev/null 2>&1

"$livrax" book LX53 --from 01/03/26 --to 31/03/26 --out "$work/lx53.txt" >/dev/null 2>"$work/err"
text="$(iconv -f cp1252 -t utf-8 "$work/lx53.txt")"
grep -q "R E G I S T R O   D E   E N T R A D A" <<<"$text"
grep -q "Mes/Período: 01/03/26 A 31/03/26" <<<"$text"
grep -q "TOTAL DO PERÍODO" <<<"$text"
# Every detail line is an entry of March (the day column is 01..31 and the
# issue date is in March or at the end of February).
if grep -E "^[0-9]{2} NF" <<<"$text" | grep -vqE " (0[1-9]|[12][0-9]|3[01])/0[23]/26 "; then
  echo "a detail line outside the period" >&2
  exit 1
fi

"$livrax" book LX53 --from 01/03/26 --to 31/03/26 --out "$work/lx53.pdf" >/dev/null 2>&1
pdftotext "$work/lx53.pdf" - | grep -q "TOTAL DO PER"

# The exits book: cancelled invoices are listed, the substitution total too.
"$livrax" book LX55 --from 01/03/26 --to 31/03/26 --company --out "$work/lx55.txt" >/dev/null 2>&1
text55="$(iconv -f cp1252 -t utf-8 "$work/lx55.txt")"
grep -q "R E G I S T R O   D E   S A Í D A" <<<"$text55"
grep -q "(ST)  Subst.Tributária:" <<<"$text55"
grep -q "TOTAL DO PERÍODO" <<<"$text55"

# Errors: an impossible date, no output file, a bad filter (a warning).
if "$livrax" book LX53 --from 31/02/26 --out "$work/x.pdf" 2>"$work/err"; then exit 1; fi
grep -q "data inválida" "$work/err"
[[ ! -e "$work/x.pdf" ]]
if "$livrax" book LX53 --from 01/03/26 2>/dev/null; then exit 1; fi
"$livrax" book LX53 --from 01/03/26 --filter "NO_SUCH_COLUMN = 1" --out "$work/f.txt" \
  >/dev/null 2>"$work/err"
grep -q "aviso: a consulta falhou" "$work/err"
echo "book command behaves"
