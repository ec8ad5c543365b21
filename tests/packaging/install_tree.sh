#!/usr/bin/env bash
# "cmake --install" into a staging folder (DESTDIR) lays out what a desktop
# program needs, and each file passes its own validator: the menu entry, the
# AppStream description, the manual page made from the program's help, the
# bash completion reading that help.
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FALHA: $*" >&2
  exit 1
}

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr/local >"$work/install.log"
root="$work/stage/usr/local"
(cd "$root" && find . -type f | sort) >"$work/files"

expected=(
  ./bin/livrax
  ./share/applications/br.com.vortane.livrax.desktop
  ./share/metainfo/br.com.vortane.livrax.metainfo.xml
  ./share/man/man1/livrax.1.gz
  ./share/bash-completion/completions/livrax
  ./share/doc/livrax/copyright
  ./share/doc/livrax/changelog.gz
  ./share/doc/livrax/guia.md
)
for size in 16 22 24 32 48 64 128 256 512; do
  expected+=("./share/icons/hicolor/${size}x${size}/apps/livrax.png")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" "$work/files" || fail "a instalação não tem $file"
done
# Nothing of the build (tests, tools, static libraries) goes with it.
if grep -v -e '^./share/doc/livrax/imagens/[a-z0-9-]*\.png$' "$work/files" |
  grep -qvxF -f <(printf '%s\n' "${expected[@]}"); then
  fail "arquivos a mais na instalação: $(grep -vxF -f <(printf '%s\n' "${expected[@]}") "$work/files")"
fi
[[ -x "$root/bin/livrax" ]] || fail "livrax instalado sem permissão de execução"
# The guide's images are all installed.
for image in $(grep -o 'imagens/[a-z0-9-]*\.png' "$root/share/doc/livrax/guia.md" | sort -u); do
  [[ -f "$root/share/doc/livrax/$image" ]] || fail "o guia mostra $image, que não foi instalada"
done

desktop-file-validate "$root/share/applications/br.com.vortane.livrax.desktop"
grep -qx 'Exec=livrax' "$root/share/applications/br.com.vortane.livrax.desktop" ||
  fail "Exec do menu"
appstreamcli validate --no-net --explain "$root/share/metainfo/br.com.vortane.livrax.metainfo.xml"
grep -q "<release version=\"$version\"" "$root/share/metainfo/br.com.vortane.livrax.metainfo.xml" ||
  fail "a versão do AppStream não é $version"

for size in 16 48 256; do
  file "$root/share/icons/hicolor/${size}x${size}/apps/livrax.png" |
    grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || fail "ícone de $size"
done

# The installed program reports the project's version.
XDG_CONFIG_HOME="$work/config" "$root/bin/livrax" --version >"$work/version"
grep -qE "^livrax ${version//./\\.}( \(commit [0-9a-f]+(-modificado)?\))?$" "$work/version" ||
  fail "livrax --version: $(cat "$work/version")"

# The manual page holds every command and the options of each, as the
# program's help gives them.
zcat "$root/share/man/man1/livrax.1.gz" >"$work/livrax.1"
grep -q '^\.TH LIVRAX "1"' "$work/livrax.1" || fail "cabeçalho da página de manual"
grep -q "livrax $version" "$work/livrax.1" || fail "versão na página de manual"
for option in $(for command in demo login book datahouse info mail report sintegra topic; do
  "$root/bin/livrax" "$command" --help | grep -oE -- '--[a-z0-9][a-z0-9-]*'
done | sort -u); do
  grep -qF -- "${option//-/\\-}" "$work/livrax.1" || fail "a página de manual não tem $option"
done
if grep -q "$HOME" "$work/livrax.1"; then fail "a página de manual cita $HOME"; fi
if command -v man >/dev/null; then
  MANWIDTH=100 man --warnings -l "$work/livrax.1" 2>"$work/man.err" >/dev/null
  [[ ! -s "$work/man.err" ]] || fail "man: $(cat "$work/man.err")"
fi

# Completion: commands, a command's options and the book codes come from the
# installed program's help.
complete_words() {
  PATH="$root/bin:$PATH" XDG_CONFIG_HOME="$work/config" bash -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _livrax; printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort' _ \
    "$root/share/bash-completion/completions/livrax" "$@"
}
check_completion() {
  local expected="$1"
  shift
  local got
  got="$(complete_words "$@" | paste -sd' ')"
  [[ "$got" == "$expected" ]] || fail "completar \"$*\": \"$got\", esperado \"$expected\""
}
check_completion "book datahouse demo help info login mail report sintegra table topic version" livrax ""
check_completion "book" livrax help b
check_completion "--version" livrax --v
check_completion "--field --filter --first-page --font-size --from" livrax book --f
check_completion "--records" livrax sintegra --r
check_completion "--no-gui" livrax demo --no
check_completion "LX40 LX50 LX52 LX53 LX55 LX56 LX57 LX64 LX67 LX70" livrax book ""
check_completion "LX56" livrax book --recalc LX56
check_completion "" livrax book LX53 ""
mkdir -p "$work/pasta/sub"
touch "$work/pasta/livro.pdf"
check_completion "$work/pasta/livro.pdf $work/pasta/sub" livrax book LX53 --out "$work/pasta/"
check_completion "$work/pasta/sub" livrax demo --dir "$work/pasta/"
echo "instalação conferida: ${#expected[@]} arquivos"
