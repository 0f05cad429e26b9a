# Writes the icons again with GENERA into CARTELLA and compares them byte by byte with
# the committed ones in ATTESE: they differ when the background picture or the
# drawing changed and the icons were not written again (genera_icona packaging/icone).
file(REMOVE_RECURSE ${CARTELLA})
file(MAKE_DIRECTORY ${CARTELLA})
execute_process(COMMAND ${GENERA} ${CARTELLA} COMMAND_ERROR_IS_FATAL ANY)
file(GLOB scritte RELATIVE ${CARTELLA} ${CARTELLA}/*)
file(GLOB attese RELATIVE ${ATTESE} ${ATTESE}/velmora*)
if(NOT scritte STREQUAL attese)
    message(FATAL_ERROR "genera_icona writes ${scritte}; packaging/icone holds ${attese}")
endif()
foreach(icona IN LISTS scritte)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${CARTELLA}/${icona}
                            ${ATTESE}/${icona} RESULT_VARIABLE diverse)
    if(diverse)
        message(FATAL_ERROR "packaging/icone/${icona} is not what genera_icona writes now")
    endif()
endforeach()
