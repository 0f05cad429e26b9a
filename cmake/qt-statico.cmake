# A static Qt links only the native platform plugin into a program. The GUI tests run
# on the offscreen platform on every system (QT_QPA_PLATFORM=offscreen), so each test
# program that links QtTest imports that plugin too.
function(velmora_importa_offscreen cartella)
    get_property(obiettivi DIRECTORY ${cartella} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(obiettivo IN LISTS obiettivi)
        get_target_property(tipo ${obiettivo} TYPE)
        get_target_property(librerie ${obiettivo} LINK_LIBRARIES)
        if(tipo STREQUAL "EXECUTABLE" AND "Qt6::Test" IN_LIST librerie)
            qt_import_plugins(${obiettivo} INCLUDE Qt6::QOffscreenIntegrationPlugin)
        endif()
    endforeach()
    get_property(sotto DIRECTORY ${cartella} PROPERTY SUBDIRECTORIES)
    foreach(cartella_sotto IN LISTS sotto)
        velmora_importa_offscreen(${cartella_sotto})
    endforeach()
endfunction()
