# velmora-cli (through EMULATORE when cross-compiled) on names beyond the ANSI code
# page: a file, a folder and an -o file with accented, Greek and Japanese names. The
# list to standard output and the one written with -o must be the same bytes (one CR LF
# a line: standard output takes bytes as they are), and analyze's report keeps its LFs.
set(albero "${CARTELLA}/Città è")
file(REMOVE_RECURSE "${CARTELLA}")
file(MAKE_DIRECTORY "${albero}/Ωμέγα" "${albero}/日本語")
file(COPY_FILE "${CAMPIONE}" "${albero}/Ωμέγα/Caffè Ω.mid")
file(COPY_FILE "${CAMPIONE}" "${albero}/日本語/歌.mid")

# Standard output goes to a file: an output variable would lose its CRs.
function(esegui)
    execute_process(COMMAND ${EMULATORE} ${PROGRAMMA} ${ARGN} RESULT_VARIABLE esito
                    OUTPUT_FILE "${CARTELLA}/uscita" ERROR_VARIABLE errori)
    if(NOT esito EQUAL 0)
        message(FATAL_ERROR "${ARGN}: exit status ${esito}\n${errori}")
    endif()
    file(READ "${CARTELLA}/uscita" uscita HEX)
    set(uscita "${uscita}" PARENT_SCOPE)
endfunction()

esegui(analyze "${albero}/Ωμέγα/Caffè Ω.mid")
string(HEX "Nome: Caffè Ω.mid" nome)
if(NOT uscita MATCHES "${nome}")
    message(FATAL_ERROR "no report of the file:\n${uscita}")
endif()
# The report keeps its LF line ends (the patterns match whole bytes: "(..)*").
if(uscita MATCHES "^(..)*0d")
    message(FATAL_ERROR "a CR in the report: ${uscita}")
endif()
esegui(list "${albero}" --date 1/2/2003)
set(su_schermo "${uscita}")
esegui(list "${albero}" --date 1/2/2003 -o "${albero}/elenco è ω 歌.txt")
file(READ "${albero}/elenco è ω 歌.txt" su_file HEX)
if(NOT su_schermo STREQUAL su_file)
    message(FATAL_ERROR "standard output and -o differ:\n${su_schermo}\n${su_file}")
endif()
if(NOT su_file MATCHES "0d0a$" OR su_file MATCHES "^(..)*0d0d")
    message(FATAL_ERROR "lines do not end with one CR LF: ${su_file}")
endif()
file(REMOVE_RECURSE "${CARTELLA}")
