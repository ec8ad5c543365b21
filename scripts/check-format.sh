#!/usr/bin/env bash
# Fails when a C++ source does not match the repository's .clang-format;
# "scripts/check-format.sh --fix" reformats them instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mapfile -t sources < <(find src app tests bench demo packaging -name '*.cpp' -o -name '*.h' | sort)
if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${sources[@]}"; then
  echo "Formatação fora do padrão do .clang-format: rode scripts/check-format.sh --fix" >&2
  exit 1
fi
