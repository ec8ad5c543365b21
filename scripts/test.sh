#!/usr/bin/env bash
# Installs what is missing, builds, runs the whole test suite, checks the
# formatting of the C++ sources, then builds and runs the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer (scripts/test-sanitizers.sh;
# LIVRAX_SANITIZERS=0 leaves that step out).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
status=0
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)") ||
  status=1
"$root/scripts/check-format.sh" || status=1
if [[ ${LIVRAX_SANITIZERS:-1} != 0 ]]; then
  "$root/scripts/test-sanitizers.sh" || status=1
fi
exit "$status"
