#!/usr/bin/env bash
# Installs the Debian packages made by scripts/package.sh, checks the
# installed system as a user and a host author meet it, from a folder outside
# the source tree, then purges the packages and checks that nothing of them
# is left.
#   packaging/check-installed.sh [PACKAGE_DIR]     (default: build/packages)
# Needs root (or sudo) and the tools that scripts/setup.sh installs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
packages_dir="$(cd "${1:-$root/build/packages}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

debs=("$packages_dir"/*.deb)
[ -e "${debs[0]}" ] || { echo "check-installed: no packages in $packages_dir" >&2; exit 2; }
names=()
for deb in "${debs[@]}"; do names+=("$(dpkg-deb -f "$deb" Package)"); done

failures=0
pass() { echo "ok: $*"; }
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

installed_names() {
  local name
  for name in "${names[@]}"; do
    dpkg-query -W -f='${Status}\n' "$name" 2>/dev/null | grep -q 'install ok installed' && echo "$name"
  done
  return 0
}
purge() {
  local present
  mapfile -t present < <(installed_names)
  if [ "${#present[@]}" -gt 0 ]; then
    $SUDO apt-get purge -y -q "${present[@]}" >/dev/null
  fi
}

# Left over from an interrupted run: start from a system without them.
purge

work="$(mktemp -d)"
cleanup() {
  purge || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export HOME="$work/home"
mkdir -p "$HOME"

# Every path the packages ship, and which of them the system had before (the
# shared folders such as /usr/bin): after the purge none of the others may be left.
for deb in "${debs[@]}"; do
  dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^/\?$'
done | sort -u > shipped.txt
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done < shipped.txt > present-before.txt

echo "== installing ${names[*]} =="
$SUDO apt-get install -y -q "${debs[@]}" >/dev/null
pass "apt-get install of ${#debs[@]} packages"

# ---- the program ----------------------------------------------------------
if [ "$(command -v KLAVRegistraPropostas)" = /usr/bin/KLAVRegistraPropostas ]; then
  pass "KLAVRegistraPropostas is on PATH"
else
  fail "KLAVRegistraPropostas is not /usr/bin/KLAVRegistraPropostas on PATH"
fi

# Starts the program under Xvfb by its name, waits for its main window to be
# shown and checks that it is still running a moment later.
cat > start-program.sh <<'EOF'
set -u
KLAVRegistraPropostas > program.log 2>&1 &
pid=$!
window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Tavurel - Registro de Propostas$' | head -n 1)"
sleep 2
status=0
if [ -z "$window" ]; then
  echo "no window shown"; status=1
elif ! kill -0 "$pid" 2>/dev/null; then
  echo "the program ended after showing its window"; status=1
else
  xwininfo -id "$window" | grep -E 'Width|Height'
fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit $status
EOF
if env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" bash start-program.sh > start.log 2>&1; then
  pass "the program starts under Xvfb and shows its window ($(tr '\n' ' ' < start.log))"
else
  fail "the program did not start: $(cat start.log program.log 2>/dev/null)"
fi

desktop=/usr/share/applications/klavregistrapropostas.desktop
if desktop-file-validate "$desktop" && grep -qx 'Name=Registro de Propostas' "$desktop"; then
  pass "desktop entry validates"
else
  fail "desktop entry $desktop"
fi
for size in 16x16 48x48 256x256 scalable; do
  ls /usr/share/icons/hicolor/$size/apps/klavregistrapropostas.* >/dev/null 2>&1 || fail "no $size icon"
done

# A process file written by the installed zultool, and a proposals file name.
cat > processo.json <<'EOF'
{
 "fields": [
  {"name": "NRO_ITEM", "kind": "int32"},
  {"name": "DES_ITEM", "kind": "text", "size": 40}
 ],
 "records": [
  {"NRO_ITEM": 1, "DES_ITEM": "Caneta"}
 ]
}
EOF
if zultool import processo.json PL_000001_2010.ZUL && zultool export PL_000001_2010.ZUL | grep -q Caneta; then
  pass "zultool writes and reads a process file"
else
  fail "zultool import/export"
fi
cp PL_000001_2010.ZUL PL_000001_2010_12345678000195.PRO
check_type() {
  local file="$1" expected="$2" got
  got="$(xdg-mime query filetype "$file" 2>&1 || true)"
  if [ "$got" = "$expected" ]; then pass "xdg-mime names $file $got"; else fail "xdg-mime names $file '$got', not $expected"; fi
}
check_type PL_000001_2010.ZUL application/x-klav-processo
check_type PL_000001_2010_12345678000195.PRO application/x-klav-propostas
# The name a file manager shows, from the database update-mime-database wrote.
for type in "x-klav-processo:Arquivo de processo" "x-klav-propostas:Arquivo de propostas"; do
  grep -qs "xml:lang=\"pt_BR\">${type#*:}<" "/usr/share/mime/application/${type%%:*}.xml" ||
    fail "the MIME database has no \"${type#*:}\" for ${type%%:*}"
done
default_app="$(xdg-mime query default application/x-klav-processo 2>&1 || true)"
if [ "$default_app" = klavregistrapropostas.desktop ]; then
  pass "process files open with the program"
else
  fail "xdg-mime opens process files with '$default_app'"
fi

for page in KLAVRegistraPropostas zultool quovex-mkdb; do
  man -w "$page" >/dev/null 2>&1 || fail "no man page for $page"
done

# ---- the tools --------------------------------------------------------------
cat > schema.sql <<'EOF'
CREATE TABLE fornecedor (id INTEGER, nome VARCHAR(40), limite DECIMAL(10,2));
INSERT INTO fornecedor VALUES (1, 'Papelaria Central', 1500.50);
INSERT INTO fornecedor VALUES (2, 'Comercial Sul', 320.00);
EOF
quovex-mkdb compras.db || fail "quovex-mkdb"
quovex-sql -d compras.db -f schema.sql --quiet || fail "quovex-sql -f schema.sql"
# CSV lines end in CR LF.
counted="$(quovex-sql -d compras.db --csv -e 'select count(*) from fornecedor where limite > 1000;' | tr -d '\r' | tail -n 1)"
if [ "$counted" = 1 ]; then
  pass "quovex-sql runs a script against a database made by quovex-mkdb"
else
  fail "quovex-sql counted '$counted' rows, not 1"
fi

# ---- a host program of the driver -------------------------------------------
cp "$here/check/host.cpp" host.cpp
driver="$(pkg-config --variable=driver quovex)"
# shellcheck disable=SC2046 # the flags are words
if g++ -std=c++20 $(pkg-config --cflags quovex) host.cpp -o host &&
  [ "$(./host "$driver" compras.db 'select nome from fornecedor order by id')" = "Papelaria Central|Comercial Sul" ]; then
  pass "a host built with pkg-config loads $driver and runs a query"
else
  fail "the pkg-config host"
fi

mkdir cmake-host
cp host.cpp cmake-host/
cat > cmake-host/CMakeLists.txt <<'EOF'
cmake_minimum_required(VERSION 3.16)
project(host LANGUAGES CXX)
find_package(quovex 1 REQUIRED)
add_executable(host host.cpp)
target_link_libraries(host PRIVATE quovex::headers)
file(WRITE "${CMAKE_BINARY_DIR}/driver.txt" "${QUOVEX_DRIVER}")
EOF
if cmake -S cmake-host -B cmake-host/build >/dev/null && cmake --build cmake-host/build >/dev/null &&
  [ "$(cat cmake-host/build/driver.txt)" = "$driver" ] &&
  [ "$(cmake-host/build/host "$(cat cmake-host/build/driver.txt)" compras.db 'select count(*) from fornecedor')" = 2 ]; then
  pass "a host built with find_package(quovex) loads the driver from QUOVEX_DRIVER"
else
  fail "the CMake package host"
fi

# ---- purge --------------------------------------------------------------------
echo "== purging =="
$SUDO apt-get purge -y -q "${names[@]}" >/dev/null
left="$(comm -23 shipped.txt present-before.txt | while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done)"
if [ -z "$left" ]; then pass "nothing of the packages is left after purge"; else fail "left after purge: $left"; fi
for generated in /usr/share/mime/application/x-klav-processo.xml /usr/share/mime/application/x-klav-propostas.xml; do
  [ ! -e "$generated" ] || fail "left after purge: $generated"
done
if grep -qs klavregistrapropostas /usr/share/applications/mimeinfo.cache; then
  fail "the program is still in /usr/share/applications/mimeinfo.cache"
fi
if ldconfig -p | grep -q quovex; then fail "the driver is still in the linker cache"; fi
[ -z "$(installed_names)" ] || fail "still installed: $(installed_names)"

if [ "$failures" -eq 0 ]; then
  echo "check-installed: all checks passed"
else
  echo "check-installed: $failures checks failed" >&2
  exit 1
fi
