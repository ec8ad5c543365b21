#!/usr/bin/env bash
# "livrax book" on the demo company: a month of entries to text and to PDF,
# and the errors a batch user must see.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/relatório" --invoices 600 --no-gui >/dev/null 2>&1

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
# The settlements: recalculated months are saved, and the credit left at the
# end of one month (box 29) opens the next (box 11).
box() { iconv -f cp1252 -t utf-8 "$1" | tr -d '\r' | grep -E "^ +$2 - " | awk '{print $NF}'; }
"$livrax" book LX56 --month 03/26 --recalc --out "$work/lx56.txt" >/dev/null 2>&1
text56="$(iconv -f cp1252 -t utf-8 "$work/lx56.txt")"
grep -q "REGISTRO DE APURAÇÃO - ICMS    R E S U M O" <<<"$text56"
grep -q "TOTAL DO IMPOSTO DO PERÍODO" <<<"$text56"
for month in 01 02 03 04; do
  "$livrax" book LX57 --month "$month/26" --recalc --out "$work/lx57-$month.txt" >/dev/null 2>&1
done
carried=0
for month in 02 03 04; do
  previous="0$((10#$month - 1))"
  [[ "$(box "$work/lx57-$month.txt" 11)" =~ ^[0-9]+,[0-9]{2}$ ]]
  [[ "$(box "$work/lx57-$month.txt" 11)" == "$(box "$work/lx57-$previous.txt" 29)" ]]
  [[ "$(box "$work/lx57-$previous.txt" 29)" != "0,00" ]] && carried=1
done
[[ $carried == 1 ]] # at least one month of the demo ends in credit
# Printing without --recalc reads the saved month: the same summary.
"$livrax" book LX57 --month 03/26 --out "$work/again.txt" >/dev/null 2>&1
[[ "$(box "$work/again.txt" 12)" == "$(box "$work/lx57-03.txt" 12)" ]]
if "$livrax" book LX56 --month 13/26 --out "$work/y.txt" 2>"$work/err"; then exit 1; fi
grep -q "informe --month" "$work/err"
# A file that cannot be written: a message and a failure, not an abort.
set +e
"$livrax" book LX56 --month 03/26 --out "$work/no/such/folder/x.pdf" >/dev/null 2>"$work/err"
status=$?
set -e
[[ $status == 1 ]]
grep -q "livrax book: " "$work/err"
echo "book command behaves"
