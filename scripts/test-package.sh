#!/usr/bin/env bash
# Installs the Debian package of `make package` with apt as a user would, runs what it
# installed (velmora-cli --version and a list of the demo folder; velmora on a virtual
# X server, closed with its own close label "x"), then removes the package and checks
# that its files went with it.
# Usage: bash scripts/test-package.sh BUILD_DIR DIST_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
dist=$(cd "$2" && pwd)
inizio=$SECONDS
versione=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$dist/velmora_${versione}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "test-package: $deb missing (make package makes it)" >&2; exit 1; }

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq)
fallito() {
    echo "test-package: $*" >&2
    exit 1
}

"${apt[@]}" install --reinstall "$deb" >/dev/null
# The libraries' packages come from dpkg-shlibdeps, the rest from the package's own list.
dipendenze=$(dpkg-query -W -f='${Depends}' velmora)
for attesa in libqt6widgets6 libfluidsynth3 qt6-qpa-plugins fonts-comic-neue timgm6mb-soundfont; do
    [[ $dipendenze == *"$attesa"* ]] || fallito "the package does not depend on $attesa: $dipendenze"
done

[[ $(velmora-cli --version) == "velmora-cli $versione" ]] || fallito "velmora-cli --version"
# The demo folder as CSV: a heading, then one row per MIDI file, names intact.
campioni=/usr/share/velmora/samples
elenco=$(velmora-cli list "$campioni" --format csv)
righe=$(($(wc -l <<<"$elenco") - 1))
[[ $righe -eq $(find "$campioni" -name '*.mid' | wc -l) && $righe -gt 0 ]] ||
    fallito "velmora-cli list $campioni: $righe rows"
[[ $elenco == *"Caffè al mattino.mid"* ]] || fallito "velmora-cli list lost a name"
[[ -f /usr/share/applications/it.tarvo.velmora.desktop &&
    -f /usr/share/icons/hicolor/scalable/apps/velmora.svg ]] || fallito "desktop entry or icon missing"

# The program on a virtual screen, in a home of its own: its window appears, a click
# on "x" saves the settings (the folder as well) and ends it with status 0.
casa=$(mktemp -d)
trap 'rm -rf "$casa"' EXIT
mkdir -m 700 "$casa/run"
HOME=$casa XDG_CONFIG_HOME=$casa/.config XDG_RUNTIME_DIR=$casa/run xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    velmora &
    programma=$!
    finestra=$(timeout 60 xdotool search --sync --onlyvisible --name "^Velmora\$" | head -n 1)
    if [[ -n $finestra ]]; then
        sleep 1
        xdotool mousemove --window "$finestra" 615 15 click 1
        for _ in $(seq 300); do kill -0 $programma 2>/dev/null || break; sleep 0.1; done
    fi
    kill $programma 2>/dev/null && exit 1
    wait $programma' || fallito "velmora did not start and close"
grep -q '^Directory=' "$casa/.config/Tarvo Software/Tarvo Midi Velmora.conf" ||
    fallito "velmora closed without saving its settings"

"${apt[@]}" remove velmora >/dev/null
rimasti=$(ls /usr/bin/velmora /usr/bin/velmora-cli /usr/share/velmora \
    /usr/share/applications/it.tarvo.velmora.desktop 2>/dev/null || true)
[[ -z $rimasti ]] || fallito "left after removal: $rimasti"
echo "test-package: $(basename "$deb") installed, run and removed in $((SECONDS - inizio)) s"
