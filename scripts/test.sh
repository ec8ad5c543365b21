#!/usr/bin/env bash
# Installs what is missing, builds, runs the whole test suite and checks the
# formatting of the C++ sources.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
status=0
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)") ||
  status=1
"$root/scripts/check-format.sh" || status=1
exit "$status"
