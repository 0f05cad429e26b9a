# Runs PROGRAMMA with ARGOMENTI (through EMULATORE when cross-compiled) and fails
# unless its exit status is ATTESO.
execute_process(COMMAND ${EMULATORE} ${PROGRAMMA} ${ARGOMENTI} RESULT_VARIABLE esito
                OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
if(NOT esito EQUAL ATTESO)
    message(FATAL_ERROR "exit status ${esito}, expected ${ATTESO}\n${uscita}\n${errori}")
endif()
