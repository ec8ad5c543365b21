#!/usr/bin/env bash
# Builds the Debian package build/livrax_<version>_amd64.deb (installs what
# is missing and builds first) and checks it with lintian when it is
# installed. Not part of the test step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
cd "$root/build"
rm -f livrax_*.deb
cpack -G DEB
package="$(ls livrax_*_amd64.deb)"
dpkg-deb --field "$package"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$package"
else
  echo "lintian não instalado: o pacote não foi conferido (apt-get install lintian)." >&2
fi
echo "Pacote: $root/build/$package"
