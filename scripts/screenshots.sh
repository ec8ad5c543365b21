#!/usr/bin/env bash
# Makes the screenshots of the guide (docs/imagens/*.png) from the demo
# company, on a virtual X screen (Xvfb), so they can be made again when the
# windows change. Not part of the test step.
#
#   scripts/screenshots.sh [livrax]      (default: build/app/livrax)
#
# Needs the Debian packages xvfb, xdotool, x11-apps (xwd) and netpbm; installs
# them when missing. The windows are driven by the keyboard and by clicks at
# the positions below (of the main window's tool bar, and of the book
# window's "Visão" button): after a change of layout, adjust them and look
# at the images before committing them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
livrax="$(realpath "${1:-$root/build/app/livrax}")"
out="$root/docs/imagens"

missing=()
for package in xvfb xdotool x11-apps netpbm; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
# A settings folder of its own: the user's log-in is left alone.
export XDG_CONFIG_HOME="$work/config"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# A free display number, told by the server itself.
exec 3<> >(:)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 number <&3 || {
  echo "screenshots: o Xvfb não iniciou" >&2
  cat "$work/xvfb.log" >&2
  exit 1
}
export DISPLAY=":$number"

echo "Criando a empresa de demonstração..." >&2
"$livrax" demo --dir "$work/demo" --year 2026 --invoices 600 --no-gui >/dev/null 2>"$work/demo.log"

# The window whose title contains $1, once it is shown.
window() {
  local id
  id="$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1)" || true
  if [[ -z $id ]]; then
    echo "screenshots: nenhuma janela \"$1\"; as que estão abertas:" >&2
    xdotool search --onlyvisible --name . getwindowname %@ >&2 || true
    exit 1
  fi
  echo "$id"
}
# Saves window $1 as docs/imagens/$2.png.
shoot() {
  sleep 1.5
  xwd -silent -id "$1" | xwdtopnm 2>/dev/null | pnmtopng -compression 9 >"$out/$2.png"
  echo "  $out/$2.png" >&2
}
click() { # window, x, y inside it
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
# Closes window $1 with key $2 (F12, "Sair", unless told); the X window
# itself is never destroyed, which would leave its modal loop running unseen.
leave() {
  xdotool windowfocus --sync "$1" key --clearmodifiers "${2:-F12}" || true
  sleep 1
  if xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; then
    echo "screenshots: a janela \"$(xdotool getwindowname "$1")\" não fechou com ${2:-F12}" >&2
    exit 1
  fi
}

mkdir -p "$out"
"$livrax" >"$work/program.log" 2>&1 &
pids+=($!)
main="$(window "LIVRAX - LIVROS FISCAIS")"
xdotool windowmove "$main" 0 0
shoot "$main" janela-principal

# The entries book, from the tool bar's "R.Entrada".
click "$main" "${ENTRADA_X:-42}" "${TOOLBAR_Y:-42}"
book="$(window "LX53|REGISTRO DE ENTRADA")"
xdotool windowmove "$book" 0 0
# March of the demo year: the date fields take the digits only.
year=26
sleep 1.5
click "$book" 117 41
xdotool key --clearmodifiers Home
xdotool type --delay 80 "0103$year"
xdotool key --clearmodifiers Tab
xdotool type --delay 80 "3103$year"
xdotool key --clearmodifiers Tab
shoot "$book" livro-entradas

# Its preview ("Visão").
click "$book" "${VISAO_X:-43}" "${VISAO_Y:-231}"
preview="$(window "Visualiza")"
xdotool windowsize "$preview" 1100 800
shoot "$preview" visualizacao
leave "$preview" Escape
leave "$book"

# The ICMS settlement, from "Apur. ICM".
click "$main" "${APURACAO_X:-205}" "${TOOLBAR_Y:-42}"
settlement="$(window "LX56|APURA")"
xdotool windowmove "$settlement" 0 0
# March recalculated from the invoices, its settlement tab.
sleep 1.5
click "$settlement" 130 103
xdotool key --clearmodifiers Home
xdotool type --delay 80 "0103$year"
xdotool key --clearmodifiers Tab
xdotool key --clearmodifiers Home
xdotool type --delay 80 "3103$year"
xdotool key --clearmodifiers Tab
click "$settlement" "${RECALC_X:-222}" "${RECALC_Y:-40}"
sleep 3
click "$settlement" "${APURACAO_TAB_X:-294}" "${APURACAO_TAB_Y:-71}"
shoot "$settlement" apuracao-icms
leave "$settlement"

# The other books, from the "Especiais" menu: item $1 (counted from 1),
# whose window title matches $2, saved as $3. Each is shown as it opens,
# with the settings the demo company keeps for it.
special_book() {
  click "$main" "${ESPECIAIS_X:-97}" "${MENU_Y:-8}"
  sleep 1
  click "$main" 150 $((${MENU_ITEM_Y:-31} + 22 * ($1 - 1)))
  local id
  id="$(window "$2")"
  xdotool windowmove "$id" 0 0
  shoot "$id" "$3"
  leave "$id"
}
special_book 1 "F_LX40" inventario-retroativo
special_book 3 "LX55|REGISTRO DE SA" livro-saidas
special_book 4 "LX67" produtos-controlados
special_book 7 "LX64" sem-retencao-st
special_book 8 "LX52" gia-modelo-b
special_book 11 "LX57|IPI" apuracao-ipi
special_book 12 "LX70|ISSQN" livro-issqn

# The report manager of the sales (Relatórios > PDS) and its designer
# ("Formatar"), on its field page.
click "$main" "${RELATORIOS_X:-170}" "${MENU_Y:-8}"
sleep 1
xdotool key --clearmodifiers Down Down Down Return
manager="$(window "F_PFMQM")"
xdotool windowmove "$manager" 0 0
shoot "$manager" relatorios
click "$manager" "${FORMATAR_X:-480}" "${FORMATAR_Y:-40}"
designer="$(window "F_PFMQF")"
xdotool windowmove "$designer" 0 0
click "$designer" "${CAMPOS_TAB_X:-230}" "${CAMPOS_TAB_Y:-71}"
shoot "$designer" formatar-relatorio
leave "$designer"
leave "$manager"

# Table maintenance of the accounts per customer (Cadastro > CPC > Manutenção).
click "$main" "${CADASTRO_X:-373}" "${MENU_Y:-8}"
sleep 1
xdotool key --clearmodifiers Down Down Down Right
sleep 0.5
xdotool key --clearmodifiers Down Down Return
maintenance="$(window "MPA - Manuten")"
xdotool windowmove "$maintenance" 0 0
shoot "$maintenance" manutencao-arquivos
leave "$maintenance"

# The help of the accounts per customer: "Cad. CPC", then its "Help".
click "$main" "${CPC_X:-362}" "${TOOLBAR_Y:-42}"
accounts="$(window "F_CPC")"
xdotool windowmove "$accounts" 0 0
click "$accounts" "${HELP_X:-229}" "${MENU_Y:-8}"
help="$(window "F_HLP")"
xdotool windowmove "$help" 0 0
shoot "$help" ajuda
leave "$help"
leave "$accounts"

echo "Telas gravadas em $out" >&2
