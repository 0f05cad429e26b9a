# Installs the build BUILD into PREFISSO as `cmake --install` does and checks the
# tree: the programs, the demo folder and the texts; with the GUI (GUI=1) also the
# desktop entry and the AppStream metadata, each passed by its own validator, and the
# icon they name in every size of the hicolor theme.
file(REMOVE_RECURSE ${PREFISSO})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFISSO}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(attesi bin/velmora-cli share/doc/velmora/README.md share/doc/velmora/LICENSE
           share/velmora/samples/Squillo.mid "share/velmora/samples/Caffè al mattino.mid")
set(desktop ${PREFISSO}/share/applications/${ID}.desktop)
set(metainfo ${PREFISSO}/share/metainfo/${ID}.metainfo.xml)
if(GUI)
    file(STRINGS ${desktop} exec REGEX "^Exec=")
    file(STRINGS ${desktop} icona REGEX "^Icon=")
    string(REGEX REPLACE "^Exec=([^ ]+).*" "bin/\\1" exec "${exec}")
    string(REGEX REPLACE "^Icon=" "" icona "${icona}")
    list(APPEND attesi ${exec} share/icons/hicolor/scalable/apps/${icona}.svg)
endif()
foreach(file IN LISTS attesi)
    if(NOT EXISTS "${PREFISSO}/${file}")
        message(FATAL_ERROR "cmake --install did not install ${file}")
    endif()
endforeach()
if(NOT GUI)
    return()
endif()

# A PNG's width and height are the two 32-bit numbers after "IHDR".
foreach(misura 16 24 32 48 64 128 256)
    set(png ${PREFISSO}/share/icons/hicolor/${misura}x${misura}/apps/${icona}.png)
    file(READ ${png} testa LIMIT 24 HEX)
    string(SUBSTRING "${testa}" 32 8 larghezza)
    string(SUBSTRING "${testa}" 40 8 altezza)
    math(EXPR larghezza "0x${larghezza}")
    math(EXPR altezza "0x${altezza}")
    if(NOT larghezza EQUAL misura OR NOT altezza EQUAL misura)
        message(FATAL_ERROR "${png} is ${larghezza} by ${altezza}")
    endif()
endforeach()

if(NOT DESKTOP_VALIDATE OR NOT APPSTREAMCLI)
    message("SALTATO: desktop-file-validate or appstreamcli missing (make deps installs them)")
    return()
endif()
execute_process(COMMAND ${DESKTOP_VALIDATE} ${desktop} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo} COMMAND_ERROR_IS_FATAL ANY)
