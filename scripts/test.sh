#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: first the
# ordinary build (GUI tests headless); then its Debian packages are made,
# installed, checked and purged; then the non-GUI modules are built and tested
# again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== ordinary build =="
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Debian packages of the ordinary build =="
bash scripts/package.sh build
bash packaging/check-installed.sh build/packages

echo "== sanitizer build (address, undefined) =="
bash scripts/build.sh build-asan -DTAVUREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
