#!/usr/bin/env bash
# Builds LIVRAX with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs the whole test suite there. Any finding (a memory
# error, a leak, undefined behaviour, a float-to-integer conversion out of
# range) stops the test program that made it, so the step fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-debian.sh"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DLIVRAX_SANITIZE=ON -DLIVRAX_TEST_TIMEOUT=600 >/dev/null
cmake --build "$root/build-asan" --parallel "$(nproc)"

# Leaks are reported at exit; the only ones tolerated are the database
# client's and engine's own (see the suppressions file).
# intercept_tls_get_addr=0: the leak checker does not walk the dynamic TLS of
# libraries loaded at run time. The engine loads and unloads its plugins so,
# and the checker of this compiler then reads a stale entry of the main
# thread's TLS vector and crashes at exit ("Tracer caught signal 11", "DTLS
# 11 at 0x4df-..."), depending only on the memory layout of the process.
# Stacks, globals and static TLS are still scanned.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=0:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd "$root/build-asan"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
