#!/usr/bin/env bash
# Installs what is missing, builds, and creates the demo company on the
# embedded database (replacing an earlier demo), prints its summary and, when
# there is a display, opens the desktop program on it (--no-gui: summary only).
# Extra arguments go to "livrax demo", e.g. --invoices 100000.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
"$root/build/app/livrax" demo --force "$@"
