#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Velmora.
# Idempotent: prints nothing and touches nothing when everything is present.
# `install-deps.sh windows` adds what the Windows cross-build and Wine tests need.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config
    libgtest-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    nlohmann-json3-dev libsqlite3-dev sqlite3
    fonts-comic-neue
    clang libclang-rt-14-dev
    unrtf
    libfluidsynth-dev timgm6mb-soundfont sox
    xvfb xauth
    desktop-file-utils appstream dpkg-dev xdotool
    libreoffice-calc-nogui # a test opens the CSV export as a spreadsheet
)
if [[ "${1:-}" == windows ]]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 imagemagick tcl nsis zip)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
# Another installer may hold the package lock for a while (several checkouts built
# at once): wait for it rather than fail.
lock=(-o DPkg::Lock::Timeout=600)
"${sudo[@]}" apt-get "${lock[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
