; The Windows installer of Velmora, built by makensis (NSIS 3) in `make windows`:
;   makensis -DVERSIONE=0.9 -DVERSIONE_QUATTRO=0.9.0.0 -DCONTENUTO=DIR -DICONA=FILE
;            -DUSCITA=FILE velmora.nsi
; CONTENUTO is the folder the zip holds too (the programs, texts, Qt's Italian texts
; and samples), ICONA
; the program's icon and USCITA the setup program to write.
;
; It installs for all users in Program Files (the default for an administrator) or
; for the current user alone, without administrator rights (the page at start, or
; /CurrentUser on the command line); /S installs silently and /D=FOLDER, last on the
; command line, chooses the folder. The uninstaller removes what was installed and
; keeps the user's settings and data unless asked to remove them (the component
; page, or /RIMUOVIDATI with /S).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define NOME "Velmora"
!define EDITORE "Tarvo Software"
!define CHIAVE_DISINSTALLA "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
; What the program itself keeps: its settings and its data folder.
!define CHIAVE_EDITORE "Software\Tarvo Software"
!define CHIAVE_IMPOSTAZIONI "${CHIAVE_EDITORE}\Tarvo Midi Velmora"
!define CARTELLA_DATI "$LOCALAPPDATA\Velmora"
!define DISINSTALLA "disinstalla.exe"

Name "${NOME} ${VERSIONE}"
OutFile "${USCITA}"
BrandingText "${EDITORE}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${NOME}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${CHIAVE_DISINSTALLA}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
; The hive that holds the uninstall key tells the mode of an earlier install, so that
; disinstalla.exe started by hand finds its own key and shortcut.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${CHIAVE_DISINSTALLA}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "$(^Caption) richiede i diritti di amministratore."
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "$(^Caption) richiede i diritti di amministratore."
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Questo account non ha i diritti per installare $(^Name) per tutti gli utenti del computer."
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define MUI_ICON "${ICONA}"
!define MUI_UNICON "${ICONA}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\velmora.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${CONTENUTO}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Italian"

VIProductVersion "${VERSIONE_QUATTRO}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductName" "${NOME}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "CompanyName" "${EDITORE}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileDescription" "Installazione di ${NOME}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileVersion" "${VERSIONE}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductVersion" "${VERSIONE}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "LegalCopyright" "GPL-3.0-or-later"

; The files of the top folder, installed (File from CONTENUTO) and removed (Delete
; from $INSTDIR) from one list.
!macro FILE_PRINCIPALI ISTRUZIONE DOVE
    ${ISTRUZIONE} "${DOVE}\velmora.exe"
    ${ISTRUZIONE} "${DOVE}\velmora-cli.exe"
    ${ISTRUZIONE} "${DOVE}\README.txt"
    ${ISTRUZIONE} "${DOVE}\LICENSE.txt"
    ${ISTRUZIONE} "${DOVE}\LGPL-3.txt"
    ${ISTRUZIONE} "${DOVE}\COMPONENTI.txt"
    ${ISTRUZIONE} "${DOVE}\qt.conf"
!macroend

; The mode's default folder replaces $INSTDIR, which /D= has set already when given.
Function .onInit
    StrCpy $0 $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
FunctionEnd

Section "Velmora"
    SetOutPath "$INSTDIR"
    !insertmacro FILE_PRINCIPALI File "${CONTENUTO}"
    File /r "${CONTENUTO}\samples"
    File /r "${CONTENUTO}\translations"
    WriteUninstaller "$INSTDIR\${DISINSTALLA}"

    CreateShortcut "$SMPROGRAMS\${NOME}.lnk" "$INSTDIR\velmora.exe"

    ; Add/Remove Programs, in the hive of the chosen mode (SHCTX).
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "DisplayName" "${NOME}"
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "DisplayVersion" "${VERSIONE}"
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "Publisher" "${EDITORE}"
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "DisplayIcon" "$INSTDIR\velmora.exe"
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "UninstallString" \
        '"$INSTDIR\${DISINSTALLA}" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${CHIAVE_DISINSTALLA}" "QuietUninstallString" \
        '"$INSTDIR\${DISINSTALLA}" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${CHIAVE_DISINSTALLA}" "NoModify" 1
    WriteRegDWORD SHCTX "${CHIAVE_DISINSTALLA}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${CHIAVE_DISINSTALLA}" "EstimatedSize" $0
SectionEnd

; Only what the installer put there: the folder itself goes only when it is empty.
Section "un.Velmora" SEZIONE_PROGRAMMA
    SectionIn RO
    Delete "$SMPROGRAMS\${NOME}.lnk"
    !insertmacro FILE_PRINCIPALI Delete "$INSTDIR"
    RMDir /r "$INSTDIR\samples"
    RMDir /r "$INSTDIR\translations"
    Delete "$INSTDIR\${DISINSTALLA}"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${CHIAVE_DISINSTALLA}"
SectionEnd

Section /o "un.Impostazioni e dati personali" SEZIONE_DATI
    DeleteRegKey HKCU "${CHIAVE_IMPOSTAZIONI}"
    DeleteRegKey /ifempty HKCU "${CHIAVE_EDITORE}"
    RMDir /r "${CARTELLA_DATI}"
SectionEnd

; Silent uninstalls keep the data unless /RIMUOVIDATI asks otherwise.
Function un.onInit
    !insertmacro MULTIUSER_UNINIT
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/RIMUOVIDATI" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SEZIONE_DATI}
    ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SEZIONE_PROGRAMMA} \
        "Il programma, la riga di comando, i file di esempio e il collegamento nel menu Start."
    !insertmacro MUI_DESCRIPTION_TEXT ${SEZIONE_DATI} \
        "Le impostazioni di Velmora (posizione della finestra, ultima cartella) e i suoi dati in ${CARTELLA_DATI}."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
