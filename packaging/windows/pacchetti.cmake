# Makes the two Windows packages in USCITA: the folder Velmora (the programs, the
# README, the licences, Qt's Italian texts and the demo folder), then Velmora-VERSIONE-windows.zip of it
# and Velmora-VERSIONE-setup.exe, the installer built by MAKENSIS from velmora.nsi.
# cmake -DVERSIONE=0.9 -DVERSIONE_QUATTRO=0.9.0.0 -DVELMORA=EXE -DVELMORA_CLI=EXE
#       -DSORGENTI=DIR -DICONA=ICO -DTRADUZIONE=QM -DMAKENSIS=PROG -DZIP=PROG -DSTRIP=PROG
#       -DUSCITA=DIR
#       -P pacchetti.cmake
foreach(programma MAKENSIS ZIP STRIP TRADUZIONE)
    if(NOT EXISTS "${${programma}}")
        message(FATAL_ERROR "${programma} not found: `make deps-windows` installs it")
    endif()
endforeach()

set(contenuto ${USCITA}/Velmora)
file(REMOVE_RECURSE ${USCITA})
file(MAKE_DIRECTORY ${contenuto})
file(COPY ${VELMORA} ${VELMORA_CLI} DESTINATION ${contenuto})
# Without their symbol tables: a third of the size.
get_filename_component(velmora ${VELMORA} NAME)
get_filename_component(velmora_cli ${VELMORA_CLI} NAME)
execute_process(COMMAND ${STRIP} ${contenuto}/${velmora} ${contenuto}/${velmora_cli}
                COMMAND_ERROR_IS_FATAL ANY)
# Texts for Notepad: Windows line ends.
foreach(testo "README.md;README.txt" "LICENSE;LICENSE.txt"
              "packaging/windows/COMPONENTI.txt;COMPONENTI.txt"
              "/usr/share/common-licenses/LGPL-3;LGPL-3.txt")
    list(GET testo 0 da)
    list(GET testo 1 a)
    if(NOT IS_ABSOLUTE ${da})
        set(da ${SORGENTI}/${da})
    endif()
    file(READ ${da} righe)
    string(REPLACE "\n" "\r\n" righe "${righe}")
    file(WRITE ${contenuto}/${a} "${righe}")
endforeach()
file(COPY ${SORGENTI}/samples/ DESTINATION ${contenuto}/samples FILES_MATCHING PATTERN "*.mid")
# Qt's own texts in Italian (the cell editor's menu, the buttons of message boxes): the
# translation Debian ships for this version of Qt, found through qt.conf beside the
# programs.
file(COPY ${TRADUZIONE} DESTINATION ${contenuto}/translations)
file(WRITE ${contenuto}/qt.conf "[Paths]\r\nPrefix=.\r\nTranslations=translations\r\n")

set(zip ${USCITA}/Velmora-${VERSIONE}-windows.zip)
execute_process(COMMAND ${ZIP} -q -r -X ${zip} Velmora WORKING_DIRECTORY ${USCITA}
                COMMAND_ERROR_IS_FATAL ANY)

execute_process(COMMAND ${MAKENSIS} -V2 -DVERSIONE=${VERSIONE} -DVERSIONE_QUATTRO=${VERSIONE_QUATTRO}
                        -DCONTENUTO=${contenuto} -DICONA=${ICONA}
                        -DUSCITA=${USCITA}/Velmora-${VERSIONE}-setup.exe
                        ${SORGENTI}/packaging/windows/velmora.nsi
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Windows packages in ${USCITA}: Velmora-${VERSIONE}-setup.exe, "
               "Velmora-${VERSIONE}-windows.zip")
