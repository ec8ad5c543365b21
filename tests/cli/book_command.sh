#!/usr/bin/env bash
# "livrax book" on the demo company: a month of entries to text and to PDF,
# and the errors a batch user must see.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/relatório" --invoices 600 --no-gui >/dev/null 2>"$work/err"

"$livrax" book LX53 --from 01/03/26 --to 31/03/26 --out "$work/lx53.txt" >/dev/null 2>"$work/err"
text="$(iconv -f cp1252 -t utf-8 "$work/lx53.txt")"
grep -q "R E G I S T R O   D E   E N T R A D A" <<<"$text"
grep -q "Mes/Período: 01/03/26 A 31/03/26" <<<"$text"
grep -q "TOTAL DO PERÍODO" <<<"$text"
# Every detail line is an entry of March (the day column is 01..31 and the
# issue date is in March or at the end of February).
# (No "grep -q" at the end of a pipe: it may stop reading before the writer
# has finished, and under pipefail the writer's broken pipe fails the line.)
outside="$(grep -E "^[0-9]{2} NF" <<<"$text" | grep -vE " (0[1-9]|[12][0-9]|3[01])/0[23]/26 " || true)"
if [[ -n $outside ]]; then
  echo "a detail line outside the period: $outside" >&2
  exit 1
fi

# Every page of a book starts with its header and its number, the numbers
# following one another from the first page, over books of several pages.
pages_headed() { # file, book code, first page number
  iconv -f cp1252 -t utf-8 "$1" | tr -d '\r' | awk -v RS='\f' -v code="$2" -v first="$3" '
    { sub(/^\n/, ""); split($0, line, "\n")
      want = sprintf("Folha: %4d", first + NR - 1)
      if (index(line[1], code) != 1 || index(line[1], want) == 0 || $0 !~ /\nEmpresa:/) {
        print "page " NR " of " code " without its header: " line[1] > "/dev/stderr"; bad = 1 } }
    END { exit bad || NR < 2 }'
}
"$livrax" book LX53 --from 01/01/26 --to 31/12/26 --first-page 3 --out "$work/y.txt" >/dev/null 2>"$work/err"
pages_headed "$work/y.txt" LX53 3
"$livrax" book LX55 --from 01/01/26 --to 31/12/26 --out "$work/ys.txt" >/dev/null 2>"$work/err"
pages_headed "$work/ys.txt" LX55 1
# "Campo" defaults to the window's column, DTNOTA (the clock line aside).
"$livrax" book LX53 --from 01/03/26 --to 31/03/26 --field DTNOTA --out "$work/dt.txt" >/dev/null 2>"$work/err"
diff <(sed 's/Hora: [0-9:]*//' "$work/lx53.txt") <(sed 's/Hora: [0-9:]*//' "$work/dt.txt")

"$livrax" book LX53 --from 01/03/26 --to 31/03/26 --out "$work/lx53.pdf" >/dev/null 2>"$work/err"
pdftotext "$work/lx53.pdf" "$work/lx53-pdf.txt"
grep -q "TOTAL DO PER" "$work/lx53-pdf.txt"

# The exits book: cancelled invoices are listed, the substitution total too.
"$livrax" book LX55 --from 01/03/26 --to 31/03/26 --company --out "$work/lx55.txt" >/dev/null 2>"$work/err"
text55="$(iconv -f cp1252 -t utf-8 "$work/lx55.txt")"
grep -q "R E G I S T R O   D E   S A Í D A" <<<"$text55"
grep -q "(ST)  Subst.Tributária:" <<<"$text55"
grep -q "TOTAL DO PERÍODO" <<<"$text55"

# Errors: an impossible date, no output file, a bad filter.
if "$livrax" book LX53 --from 31/02/26 --out "$work/x.pdf" 2>"$work/err"; then exit 1; fi
grep -q "data inválida" "$work/err"
[[ ! -e "$work/x.pdf" ]]
if "$livrax" book LX53 --from 01/03/26 2>/dev/null; then exit 1; fi
if "$livrax" book LX53 --from 01/03/26 --filter "NO_SUCH_COLUMN = 1" --out "$work/f.txt" \
  >/dev/null 2>"$work/err"; then exit 1; fi
grep -q "A consulta do livro falhou" "$work/err"
[[ ! -e "$work/f.txt" ]]
# --first-page takes a whole number of 1 to 9999: anything else is a usage
# error; a first page the book's pages would carry past 9999 too, and no
# cut book is left behind.
for page in abc 0 -5 10000 2.5; do
  set +e
  "$livrax" book LX55 --from 01/03/26 --first-page "$page" --out "$work/p.txt" >/dev/null 2>"$work/err"
  status=$?
  set -e
  [[ $status == 2 ]]
  grep -q -- "--first-page deve ser um número inteiro de 1 a 9999" "$work/err"
done
set +e
"$livrax" book LX53 --from 01/01/26 --to 31/12/26 --first-page 9999 --out "$work/p.txt" >/dev/null \
  2>"$work/err"
status=$?
set -e
[[ $status == 2 ]]
grep -q "passaria da folha 9999" "$work/err"
[[ ! -e "$work/p.txt" ]]
# Over an old book, the old book stays.
echo "OLD BOOK" >"$work/p.txt"
if "$livrax" book LX53 --from 01/01/26 --to 31/12/26 --first-page 9999 --out "$work/p.txt" \
  >/dev/null 2>&1; then exit 1; fi
[[ "$(cat "$work/p.txt")" == "OLD BOOK" ]]
# The settlements: recalculated months are saved, and the credit left at the
# end of one month (box 29) opens the next (box 11).
box() { iconv -f cp1252 -t utf-8 "$1" | tr -d '\r' | grep -E "^ +$2 - " | awk '{print $NF}'; }
"$livrax" book LX56 --month 03/26 --recalc --out "$work/lx56.txt" >/dev/null 2>"$work/err"
text56="$(iconv -f cp1252 -t utf-8 "$work/lx56.txt")"
grep -q "REGISTRO DE APURAÇÃO - ICMS    R E S U M O" <<<"$text56"
grep -q "TOTAL DO IMPOSTO DO PERÍODO" <<<"$text56"
for month in 01 02 03 04; do
  "$livrax" book LX57 --month "$month/26" --recalc --out "$work/lx57-$month.txt" >/dev/null 2>"$work/err"
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
"$livrax" book LX57 --month 03/26 --out "$work/again.txt" >/dev/null 2>"$work/err"
[[ "$(box "$work/again.txt" 12)" == "$(box "$work/lx57-03.txt" 12)" ]]
# ... and stores it as the window does, with the credit it carried in and
# its balance: a month printed after it carries that balance on.
"$livrax" book LX57 --month 05/26 --out "$work/lx57-05.txt" >/dev/null 2>"$work/err"
"$livrax" book LX57 --month 06/26 --out "$work/lx57-06.txt" >/dev/null 2>"$work/err"
[[ "$(box "$work/lx57-05.txt" 11)" == "$(box "$work/lx57-04.txt" 29)" ]]
[[ "$(box "$work/lx57-06.txt" 11)" == "$(box "$work/lx57-05.txt" 29)" ]]
pages_headed "$work/lx56.txt" LX56 2
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
