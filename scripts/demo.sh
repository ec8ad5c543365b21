#!/usr/bin/env bash
# Installs what is missing, builds, and creates the demo company on the
# embedded database (replacing an earlier demo), then prints its summary.
# Extra arguments go to "livrax demo", e.g. --invoices 100000.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
"$root/build/app/livrax" demo --force --no-gui "$@"
