#!/usr/bin/env bash
# "livrax datahouse" on the demo company: a month's sales and customers files
# in their fixed widths and code page, the saved settings reused, and the
# errors a batch user must see.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"

"$livrax" demo --dir "$work/demo" --invoices 200 --no-gui >/dev/null 2>"$work/err"

"$livrax" datahouse --from 01/03/26 --to 31/03/26 --dir "$work/OUT" >"$work/out" 2>"$work/err"
grep -E "^DataHouse gravado em .*OUT: [0-9]+ vendas \(DH_PDS_V.TXT\), [0-9]+ clientes \(DH_PDS_C.TXT\), [0-9]+ erros\.$" "$work/out" >/dev/null
sales="$(sed -E 's/.*: ([0-9]+) vendas.*/\1/' "$work/out")"
customers="$(sed -E 's/.* ([0-9]+) clientes.*/\1/' "$work/out")"
errors="$(sed -E 's/.* ([0-9]+) erros.*/\1/' "$work/out")"
[[ $sales -gt 0 && $customers -gt 0 && $customers -le $sales ]]

# Every line is as wide as its layout, in bytes (one byte a character in
# Windows-1252), and ends with CR LF; one line per invoice and per customer.
widths() { # file, width: the number of lines, or a complaint
  LC_ALL=C awk -v want="$2" '
    { if (length($0) != want + 1 || substr($0, want + 1) != "\r") { print "bad line " NR ": " length($0); bad = 1 } }
    END { if (!bad) print NR }' "$1"
}
[[ "$(widths "$work/OUT/DH_PDS_V.TXT" 467)" == "$sales" ]]
[[ "$(widths "$work/OUT/DH_PDS_C.TXT" 282)" == "$customers" ]]
# Windows-1252: the demo's accented names are single bytes, not UTF-8.
iconv -f cp1252 -t utf-8 "$work/OUT/DH_PDS_C.TXT" >"$work/customers.txt"
if iconv -f utf-8 -t utf-8 "$work/OUT/DH_PDS_C.TXT" >/dev/null 2>&1; then
  grep -P "[^\x00-\x7F]" "$work/customers.txt" >"$work/accents" || true
  [[ ! -s "$work/accents" ]] # valid UTF-8 only when there is no accent at all
fi
# Every sale is of March 2026 (positions 54-63), its number twice (35-46),
# "NF  " and "  1" at 47-53.
cut -c54-63 "$work/OUT/DH_PDS_V.TXT" | grep -vE "^[0-3][0-9]/03/2026$" >"$work/outside" || true
[[ ! -s "$work/outside" ]]
# Every field of every line as its layout has it (no regular-expression
# intervals: the system's awk may not know them): the constants, the amounts
# (right-aligned, decimal comma, two decimals), the zero fields, the codes.
LC_ALL=C awk '
  function field(pos, len) { return substr($0, pos, len) }
  function check(ok, what) { if (!ok) { print "sales line " NR ": " what > "/dev/stderr"; bad = 1 } }
  {
    check(field(25, 2) ~ /^0[12]$/, "operation")
    check(field(29, 6) == "965   ", "965")
    check(field(35, 6) == field(41, 6) && field(35, 6) ~ /^[0-9]+ *$/, "number")
    check(field(47, 7) == "NF    1", "NF 1")
    check(field(64, 1) ~ /^[SN]$/, "contributor")
    check(field(84, 10) == "N0000,0000", "reduction")
    split("65:14 79:5 94:14 108:14 122:14 136:14 150:14 198:14 212:14 226:14 240:14", amounts, " ")
    for (i in amounts) { split(amounts[i], f, ":")
      check(field(f[1], f[2]) ~ /^ *-?[0-9]+,[0-9][0-9]$/, "amount at " f[1]) }
    split("164:6 170:14 184:14 254:6 260:14 274:14 372:14", zeros, " ")
    for (i in zeros) { split(zeros[i], f, ":")
      check(field(f[1], f[2]) == sprintf("%" f[2] "s", "0,00"), "zero at " f[1]) }
    check(field(288, 4) == "0000", "288")
    check(field(292, 40) ~ /^ +$/, "note of an issued invoice")
    check(field(332, 39) == "000000001000000000000000000000000000000", "332-370")
    check(field(371, 1) == " " && field(386, 82) == sprintf("%82s", ""), "blanks")
  }
  END { exit bad }' "$work/OUT/DH_PDS_V.TXT"
LC_ALL=C awk '
  function field(pos, len) { return substr($0, pos, len) }
  function check(ok, what) { if (!ok) { print "customers line " NR ": " what > "/dev/stderr"; bad = 1 } }
  {
    check(field(1, 6) == "000000", "000000")
    check(field(7, 20) ~ /^[^ ]/, "sigla")
    check(field(178, 6) ~ /^[0-9]+ *$/, "city code")
    check(field(214, 8) ~ /^[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]$/ || field(214, 8) == "        ",
      "postal code")
    check(field(237, 1) == "N", "237")
    check(field(263, 20) == "00000000000000000000", "263-282")
  }
  END { exit bad }' "$work/OUT/DH_PDS_C.TXT"
# The customers lacking CNPJ or postal code are listed, as many as counted.
grep -E "^Falta (CGC|CEP) DO CLIENTE: " "$work/err" >"$work/missing" || true
[[ "$(wc -l <"$work/missing")" == "$errors" ]]
grep -x "\*\*\* Erros: $errors" "$work/err" >/dev/null

# The period and folder were saved: a run without them writes the same files.
cp "$work/OUT/DH_PDS_V.TXT" "$work/first_v.txt"
cp "$work/OUT/DH_PDS_C.TXT" "$work/first_c.txt"
rm "$work/OUT/DH_PDS_V.TXT" "$work/OUT/DH_PDS_C.TXT"
"$livrax" datahouse >"$work/out" 2>"$work/err"
cmp "$work/first_v.txt" "$work/OUT/DH_PDS_V.TXT"
cmp "$work/first_c.txt" "$work/OUT/DH_PDS_C.TXT"
# Without the ICMS amounts the lines keep their width.
"$livrax" datahouse --no-icms --dir "$work/NOICMS" >"$work/out" 2>"$work/err"
[[ "$(widths "$work/NOICMS/DH_PDS_V.TXT" 467)" == "$sales" ]]
cut -c79-83,94-121 "$work/NOICMS/DH_PDS_V.TXT" | grep -vxF " 0,00          0,00          0,00" >"$work/icms" || true
[[ ! -s "$work/icms" ]]

# Usage errors: status 2, a message, nothing written.
usage() { # expected message, arguments...
  local message="$1"
  shift
  set +e
  "$livrax" datahouse "$@" >/dev/null 2>"$work/err"
  local status=$?
  set -e
  [[ $status == 2 ]]
  grep -F -- "$message" "$work/err" >/dev/null
}
usage "data inválida" --from 31/02/26 --to 31/03/26 --dir "$work/U"
usage "período invertido" --from 01/04/26 --to 31/03/26 --dir "$work/U"
usage "use --icms ou --no-icms" --icms --no-icms
usage "argumento inesperado" março
usage "filtro recusado" --filter "1=1) OR (1=1"
usage "month" --month 03/26 # the parser's own message names the option
[[ ! -e "$work/U" ]]

# A query that fails: status 1, the database's reason, the old files stay.
set +e
"$livrax" datahouse --filter "NO_SUCH_COLUMN = 1" >/dev/null 2>"$work/err"
status=$?
set -e
[[ $status == 1 ]]
grep -F "A consulta das notas falhou; nada foi exportado" "$work/err" >/dev/null
cmp "$work/first_v.txt" "$work/OUT/DH_PDS_V.TXT"

# A folder that cannot be made: status 1, the message, nothing written.
echo "not a folder" >"$work/plain"
set +e
"$livrax" datahouse --dir "$work/plain/OUT" >/dev/null 2>"$work/err"
status=$?
set -e
[[ $status == 1 ]]
grep -F "Diretório de destino não localizado" "$work/err" >/dev/null

"$livrax" help >"$work/help"
grep -F "datahouse [--from dd/mm/aa] [--to dd/mm/aa] [--dir PASTA]" "$work/help" >/dev/null
echo "datahouse command behaves"
