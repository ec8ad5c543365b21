#!/usr/bin/env bash
# Installs the Debian packages LIVRAX needs to build and run, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev                        # Core, Gui, Widgets, PrintSupport, Test
  firebird-dev libfbclient2           # client library and its C++ interface
  firebird3.0-server-core             # the embedded engine: no server needed
  firebird3.0-server                  # server and isql-fb: tests start a private server
  fonts-liberation2                   # report font
  libxlsxwriter-dev                   # spreadsheet output
  libcurl4-openssl-dev                # e-mail over SMTP
  poppler-utils                       # tests read the PDFs back (pdfinfo, pdftotext)
  unzip                               # tests read the .xlsx and .odt files back
  clang-format                        # the test step checks the formatting
  qt6-translations-l10n               # Portuguese texts of the standard dialogs (qtbase_pt_BR)
  help2man                            # the manual page, made from "livrax help --all"
  gzip file                           # manual page and changelog compressed; icons checked
  desktop-file-utils appstream        # tests validate the menu entry and the AppStream file
  dpkg-dev                            # cpack -G DEB computes the dependencies with it
  bash-completion                     # the completion's test sources it as bash would
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Instalando pacotes: ${missing[*]}" >&2
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
