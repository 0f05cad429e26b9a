# Renders MIDI to WAV with PROGRAMMA, then checks with SOX that it is 16-bit stereo at
# 44100 Hz and not silent.
execute_process(COMMAND ${PROGRAMMA} render ${MIDI} -o ${WAV} RESULT_VARIABLE esito
                ERROR_VARIABLE errori)
if(NOT esito EQUAL 0)
    message(FATAL_ERROR "render: exit status ${esito}\n${errori}")
endif()
execute_process(COMMAND ${SOX} --i ${WAV} OUTPUT_VARIABLE info RESULT_VARIABLE esito)
if(NOT esito EQUAL 0 OR NOT info MATCHES "Channels *: 2" OR NOT info MATCHES "Sample Rate *: 44100"
   OR NOT info MATCHES "Precision *: 16-bit")
    message(FATAL_ERROR "soxi: ${esito}\n${info}")
endif()
# "sox stat" writes its figures on standard error.
execute_process(COMMAND ${SOX} ${WAV} -n stat ERROR_VARIABLE stat RESULT_VARIABLE esito)
string(REGEX MATCH "RMS +amplitude: +([0-9.]+)" trovato "${stat}")
if(NOT esito EQUAL 0 OR NOT trovato OR CMAKE_MATCH_1 LESS 0.002)
    message(FATAL_ERROR "sox stat: ${esito}\n${stat}")
endif()
file(REMOVE ${WAV})
