#!/usr/bin/env bash
# Makes the Debian packages of both deliverables with CPack and checks them
# with lintian.
#   scripts/package.sh [BUILD_DIR]
# With BUILD_DIR (CI passes build/), packs that build tree as it is built;
# without, makes a Release build in build-release/ first. The packages are
# written to BUILD_DIR/packages/, stripped.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

if [ $# -ge 1 ]; then
  dir="$1"
else
  dir=build-release
  bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DTAVUREL_BENCH=OFF
fi
[ -f "$dir/CMakeCache.txt" ] || { echo "package.sh: $dir is not a configured build tree" >&2; exit 2; }

# The packages install under /usr; a tree configured before that became the
# default keeps its old prefix, so it is set here (a no-op when it is /usr).
cmake -S "$root" -B "$dir" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$dir" -j"$(nproc)"

rm -rf "$dir/packages"
(cd "$dir" && cpack -G DEB --config CPackConfig.cmake >/dev/null)

echo "== lintian =="
# Errors fail the run; the warnings that stay are explained in packaging/README.md.
lintian --fail-on error "$dir"/packages/*.deb
ls -1 "$dir"/packages/*.deb
