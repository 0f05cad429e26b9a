#!/usr/bin/env bash
# Makes SQLite's amalgamation (sqlite3.c and sqlite3.h) from Debian's own sqlite3
# source package, the same revision as the host's libsqlite3-dev, for the mingw-w64
# cross-build, which compiles it with the full-text index (cmake/dipendenze-mingw.cmake).
# Result: ${VELMORA_SQLITE_WINDOWS:-~/.cache/velmora-sqlite3}/sqlite3.c; does nothing
# when it is already there. Needs tclsh (Debian's tcl) to make the amalgamation.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${VELMORA_SQLITE_WINDOWS:-$HOME/.cache/velmora-sqlite3}
versione=$(dpkg-query -W -f='${Version}' libsqlite3-dev)
stamp="$prefix/velmora-sqlite-$versione.stamp"

[[ -f "$stamp" ]] && exit 0

bash "$root/scripts/install-deps.sh" windows

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
# apt source needs a deb-src entry; the archive is the one the system already uses.
srclist=/etc/apt/sources.list.d/velmora-deb-src.sources
if ! apt-get source --print-uris sqlite3 >/dev/null 2>&1; then
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
        'Suites: bookworm bookworm-updates' 'Components: main' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        "${sudo[@]}" tee "$srclist" >/dev/null
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
fi

lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
cd "$lavoro"
apt-get source -qq "sqlite3=$versione" >/dev/null
src=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
[[ -f "$src/configure" ]] || { echo "sqlite3 $versione source not found" >&2; exit 1; }
mkdir costruzione
(cd costruzione && "../$src/configure" --quiet >/dev/null && make -s sqlite3.c >/dev/null)

rm -rf "$prefix"
mkdir -p "$prefix"
cp costruzione/sqlite3.c costruzione/sqlite3.h "$prefix/"
echo "$versione $(date -u +%F)" >"$stamp"
echo "SQLite amalgamation $versione in $prefix"
