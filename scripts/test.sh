#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: first the
# ordinary build (GUI tests headless), then the non-GUI modules again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== ordinary build =="
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitizer build (address, undefined) =="
bash scripts/build.sh build-asan -DTAVUREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
