#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own made afresh. Twice:
# - for all users, silently (/S) into its default folder C:\Program Files\Velmora:
#   the files, the Start-menu shortcut and the uninstall key are checked, the
#   installed velmora-cli.exe prints its version and lists samples\, the installed
#   velmora.exe starts (offscreen) and closes; the silent uninstall must leave
#   nothing but the user's settings and data;
# - for the current user alone (/CurrentUser) into a test folder (/D=), uninstalled
#   by hand (disinstalla.exe /S, which finds the mode of the install by itself) with
#   /RIMUOVIDATI: then the settings and data go too.
# Usage: bash scripts/test-installatore.sh BUILD_DIR (a Windows build with the GUI)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
inizio=$SECONDS
cmake --build "$build" --target pacchetti_windows avvia_chiudi >/dev/null
versione=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
pacchetti=$(cd "$build/pacchetti" && pwd)
avvia_chiudi=$(cd "$build/packaging" && pwd)/avvia_chiudi.exe
rm -rf "$build/installatore"
source scripts/wine-ambiente.sh "$build/installatore"

fallito() {
    echo "test-installatore: $*" >&2
    exit 1
}
# A Wine program's standard output without CR.
esegui() { wine "$@" | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }
# The data of the value $2 of the registry key $1, empty when absent.
valore() {
    esegui reg query "$1" /v "$2" 2>/dev/null |
        awk -v nome="$2" '$1 == nome { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
chiave_esiste() { wine reg query "$1" >/dev/null 2>&1; }

disinstalla='Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
impostazioni='HKCU\Software\Tarvo Software\Tarvo Midi Velmora'
dati=$(unix "$(esegui cmd /c echo '%LOCALAPPDATA%')\\Velmora")
atteso=$( (
    cd "$pacchetti/Velmora"
    find . -type f
    echo ./disinstalla.exe
) | sort)

# Installs with the arguments given, then checks what is there for the mode
# (HKLM for all users, HKCU for one user) and the folder.
installa() {
    local radice=$1 cartella=$2 menu=$3
    shift 3
    wine "$pacchetti/Velmora-$versione-setup.exe" /S "$@"
    wineserver -w
    local posto
    posto=$(unix "$cartella")
    [[ -d $posto ]] || fallito "nothing installed in $cartella"
    [[ $(cd "$posto" && find . -type f | sort) == "$atteso" ]] ||
        fallito "$cartella holds other files than the zip: $(cd "$posto" && find . -type f)"
    local collegamento
    collegamento=$(unix "$menu\\Velmora.lnk")
    [[ -f $collegamento ]] && grep -qa 'velmora.exe' "$collegamento" ||
        fallito "no Start-menu shortcut Velmora in $menu"
    local chiave="$radice\\$disinstalla"
    [[ $(valore "$chiave" DisplayName) == Velmora &&
        $(valore "$chiave" DisplayVersion) == "$versione" &&
        $(valore "$chiave" Publisher) == "Tarvo Software" &&
        $(valore "$chiave" UninstallString) == "\"$cartella\\disinstalla.exe\""* &&
        $(valore "$chiave" EstimatedSize) =~ ^0x[0-9a-f]*[1-9a-f] ]] ||
        fallito "uninstall key $chiave: $(esegui reg query "$chiave")"
}

# Runs the uninstaller, either as the key's QuietUninstallString has it (program in
# quotes, then its options) or by hand ("a mano": disinstalla.exe and the options
# given), then checks that the program, its folder, shortcut and key are gone.
disinstalla() {
    local radice=$1 cartella=$2 menu=$3 come=$4
    shift 4
    local comando programma
    if [[ $come == registro ]]; then
        comando=$(valore "$radice\\$disinstalla" QuietUninstallString)
        programma=${comando#\"}
        programma=${programma%%\"*}
        # shellcheck disable=SC2086 # the options are words
        wine "$programma" ${comando##*\" } "$@"
    else
        wine "$cartella\\disinstalla.exe" /S "$@"
    fi
    wineserver -w
    [[ ! -e $(unix "$cartella") ]] || fallito "$cartella is still there after the uninstall"
    [[ ! -e $(unix "$menu\\Velmora.lnk") ]] || fallito "the shortcut is still there"
    ! chiave_esiste "$radice\\$disinstalla" || fallito "the uninstall key is still there"
}

# For all users, in Program Files.
cartella='C:\Program Files\Velmora'
menu_comune=$(esegui cmd /c echo '%ProgramData%')'\Microsoft\Windows\Start Menu\Programs'
installa HKLM "$cartella" "$menu_comune"
[[ $(esegui "$cartella\\velmora-cli.exe" --version) == "velmora-cli $versione" ]] ||
    fallito "velmora-cli.exe --version"
# samples\ as CSV: a heading, then one row per MIDI file, names intact.
elenco=$(esegui "$cartella\\velmora-cli.exe" list "$cartella\\samples" --format csv)
[[ $(($(wc -l <<<"$elenco") - 1)) -eq $(find "$pacchetti/Velmora/samples" -name '*.mid' | wc -l) &&
    $elenco == *"Caffè al mattino.mid"* ]] || fallito "velmora-cli.exe list samples: $elenco"
wine "$avvia_chiudi" "$cartella\\velmora.exe" || fallito "velmora.exe did not start and close"
# The program wrote its window's place at start; the user's data folder is made here.
chiave_esiste "$impostazioni" || fallito "velmora.exe wrote no settings"
mkdir -p "$dati"
echo dati >"$dati/catalogo.sqlite"
disinstalla HKLM "$cartella" "$menu_comune" registro
chiave_esiste "$impostazioni" && [[ -f $dati/catalogo.sqlite ]] ||
    fallito "the uninstall took the user's settings or data"

# For the current user, in a test folder, and the settings and data go too.
cartella='C:\Prova\Velmora'
menu_utente=$(esegui cmd /c echo '%APPDATA%')'\Microsoft\Windows\Start Menu\Programs'
installa HKCU "$cartella" "$menu_utente" /CurrentUser "/D=$cartella"
! chiave_esiste "HKLM\\$disinstalla" || fallito "a per-user install wrote under HKLM"
disinstalla HKCU "$cartella" "$menu_utente" a_mano /RIMUOVIDATI
! chiave_esiste "$impostazioni" && ! chiave_esiste 'HKCU\Software\Tarvo Software' &&
    [[ ! -e $dati ]] || fallito "/RIMUOVIDATI left the user's settings or data"
echo "test-installatore: Velmora-$versione-setup.exe installed, run and uninstalled under" \
    "Wine for all users and for one user in $((SECONDS - inizio)) s"
