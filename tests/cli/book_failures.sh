#!/usr/bin/env bash
# "livrax book" never reports as done what is not: refused options and
# filters, failed queries, a file-size limit, a stop signal in the middle of
# a book and a broken company record each fail with a message and leave the
# previous output file as it was, with nothing half-written beside it. A stop
# signal ends "livrax report run" and "livrax demo" the same way.
set -euo pipefail
livrax="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/script_failures.sh"
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM # the command must draw without a display

"$livrax" demo --dir "$work/demo" --invoices 12000 --no-gui >/dev/null 2>&1
mkdir "$work/out"

# Runs `livrax book ARGS... --out OUT` over an old file OUT and checks the
# exit status, that stderr holds MESSAGE and that OUT is still the old file.
fails() {
  local status="$1" message="$2" out="$3"
  shift 3
  echo "OLD BOOK" >"$out"
  set +e
  "$livrax" book "$@" --out "$out" >"$work/stdout" 2>"$work/err"
  local got=$?
  set -e
  if [[ $got != "$status" ]]; then
    echo "book $*: exit $got, expected $status" >&2
    cat "$work/err" >&2
    exit 1
  fi
  if ! grep -qF -- "$message" "$work/err"; then
    echo "book $*: no \"$message\" in:" >&2
    cat "$work/err" >&2
    exit 1
  fi
  [[ "$(cat "$out")" == "OLD BOOK" ]] || { echo "book $*: the old file was replaced" >&2; exit 1; }
  if grep -q "gravado" "$work/stdout"; then echo "book $*: reported as written" >&2; exit 1; fi
  [[ "$(ls "$(dirname "$out")")" == "$(basename "$out")" ]] ||
    { echo "book $*: files left: $(ls "$(dirname "$out")")" >&2; exit 1; }
}

# status message                          book and options
while IFS='|' read -r status message args; do
  eval "set -- $args"
  fails "$status" "$message" "$work/out/book.txt" "$@"
done <<'CASES'
2|LX53 não usa --month|LX53 --month 03/26
2|LX53 não usa --recalc|LX53 --from 01/03/26 --recalc
2|LX53 não usa --company|LX53 --from 01/03/26 --company
2|LX56 não usa --from, --filter|LX56 --month 03/26 --from 01/03/26 --filter "1=1"
2|LX57 não usa --no-st|LX57 --month 03/26 --no-st
2|período invertido|LX55 --from 31/03/26 --to 01/03/26
1|Filtro recusado|LX53 --from 01/03/26 --to 31/03/26 --filter "1=1) OR (1=1"
1|Filtro recusado|LX55 --from 01/03/26 --to 31/03/26 --filter "1=1 --"
1|Column unknown|LX53 --from 01/03/26 --to 31/03/26 --filter "NO_SUCH_COLUMN = 1"
1|Campo de data recusado|LX55 --from 01/03/26 --to 31/03/26 --field "NNOTA"
1|Campo de data recusado|LX53 --from 01/03/26 --to 31/03/26 --field "DATA >= DATA OR 1"
CASES

# A saved entries filter naming a missing column: the recalculation fails
# with the database's reason, and the month is neither saved nor printed.
isql-fb -user SYSDBA -q "$work/demo/livrax_erp.fdb" <<'SQL'
UPDATE OR INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LX56', '006)NO_SUCH_COLUMN = 1') MATCHING (CHAVE);
COMMIT;
SQL
fails 1 "Column unknown" "$work/out/book.txt" LX56 --month 03/26 --recalc
isql-fb -user SYSDBA -q "$work/demo/livrax_erp.fdb" <<<"DELETE FROM VRTNPAR WHERE CHAVE = 'PAR_LX56'; COMMIT;"

# A full disk: the output folder is a small file system of its own (in a
# mount namespace of this test, so nothing outlives it); the write fails and
# the old file stays. That needs root (CI runs as root): without it the test
# fails saying so, rather than passing without the case.
if ! probe="$(unshare --mount true 2>&1)"; then
  echo "full disk: cannot make a mount namespace (unshare --mount needs root): $probe" >&2
  exit 1
fi
for book in book.pdf book.txt; do
  set +e
  unshare --mount bash -c '
    mount -t tmpfs -o size=96k tmpfs "$2" || exit 99
    echo "OLD BOOK" >"$2/$3"
    "$1" book LX55 --from 01/01/26 --to 31/12/26 --out "$2/$3" >"$4/stdout" 2>"$4/err"
    status=$?
    [[ "$(cat "$2/$3")" == "OLD BOOK" && "$(ls "$2")" == "$3" ]] || exit 98
    exit $status' _ "$livrax" "$work/out" "$book" "$work"
  status=$?
  set -e
  case $status in
  1) ;;
  99) echo "full disk ($book): no tmpfs could be mounted in the namespace" >&2; exit 1 ;;
  98) echo "full disk ($book): the old file was replaced or files were left" >&2; exit 1 ;;
  *) echo "full disk ($book): exit $status" >&2; cat "$work/err" >&2; exit 1 ;;
  esac
  expected="Não foi possível gravar o arquivo $work/out/$book: No space left on device"
  grep -qF "$expected" "$work/err" ||
    { echo "full disk ($book): no \"$expected\" in:" >&2; cat "$work/err" >&2; exit 1; }
done

# A stop signal in the middle of a run, once it shows some progress: exit 1,
# "interrompido", the old output as it was, nothing left beside it, nothing
# reported as done. Runs COMMAND... over the old file OUT.
stopped() {
  local signal="$1" progress="$2" out="$3"
  shift 3
  local folder before
  folder="$(dirname "$out")"
  mkdir -p "$folder"
  echo "OLD OUTPUT" >"$out"
  before="$(ls -A "$folder")"
  "$livrax" "$@" >"$work/stdout" 2>"$work/err" &
  local pid=$!
  for _ in $(seq 1200); do
    grep -q "$progress" "$work/err" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if ! grep -q "$progress" "$work/err"; then
    kill -KILL "$pid" 2>/dev/null || true
    echo "$1: no \"$progress\" before the end; nothing was interrupted:" >&2
    cat "$work/err" >&2
    exit 1
  fi
  kill -s "$signal" "$pid"
  set +e
  wait "$pid"
  local status=$?
  set -e
  [[ $status == 1 ]] || { echo "$1 SIG$signal: exit $status" >&2; cat "$work/err" >&2; exit 1; }
  grep -q "interrompido" "$work/err" ||
    { echo "$1 SIG$signal: no \"interrompido\" in:" >&2; cat "$work/err" >&2; exit 1; }
  [[ "$(cat "$out")" == "OLD OUTPUT" ]] || { echo "$1 SIG$signal: the old file was replaced" >&2; exit 1; }
  [[ "$(ls -A "$folder")" == "$before" ]] ||
    { echo "$1 SIG$signal: files left: $(ls -A "$folder")" >&2; exit 1; }
  if grep -q "gravado\|criada" "$work/stdout"; then
    echo "$1 SIG$signal: reported as done" >&2
    exit 1
  fi
}

# The report is stopped once its first page is made. The items report to PDF
# runs about a second, long enough for the signal to land in the middle (a
# text file of the same report is written in a third of that, so a loaded
# machine could finish it first); the stop is checked per row whatever the
# destination, and a text file written whole or not at all is the full-disk
# case above.
# signal progress                     old output              command
while IFS='|' read -r signal progress out args; do
  eval "set -- $args"
  stopped "$signal" "$progress" "$out" "$@"
done <<CASES
TERM|Páginas: [0-9]*[1-9][0-9]|$work/out/book.pdf|book LX55 --from 01/01/26 --to 31/12/26 --out "$work/out/book.pdf"
INT|Páginas: [0-9]*[1-9][0-9]|$work/out/book.pdf|book LX55 --from 01/01/26 --to 31/12/26 --out "$work/out/book.pdf"
TERM|Páginas: [1-9]|$work/out/report.pdf|report run PIS 1 --out "$work/out/report.pdf"
INT|Páginas: [1-9]|$work/out/report.pdf|report run PIS 1 --out "$work/out/report.pdf"
TERM|Gravando notas fiscais: [1-9]|$work/stopped/livrax_erp.fdb|demo --dir "$work/stopped" --force --invoices 400000 --no-gui
CASES

# The desktop program ends on SIGTERM through its shut-down chain.
QT_QPA_PLATFORM=offscreen "$livrax" >/dev/null 2>&1 &
pid=$!
sleep 3
kill -TERM "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  echo "the desktop program ignored SIGTERM" >&2
  exit 1
fi
set +e
wait "$pid"
status=$?
set -e
[[ $status == 1 ]] || { echo "desktop after SIGTERM: exit $status" >&2; exit 1; }

# Without the company record (a parameter store that is not a database) no
# book is printed, and the engine's reason is given.
head -c 65536 /dev/urandom >"$work/broken.fdb"
"$livrax" login --user DEMO --level 9 --db1 "$work/demo/livrax_erp.fdb" \
  --db5 "$work/broken.fdb" >/dev/null
mkdir "$work/company"
fails 1 "não é um banco de dados" "$work/company/book.txt" LX53 --from 01/03/26 --to 31/03/26
echo "book failures behave"
