# A QtTest program and its test, run on Qt's offscreen platform also when ctest is
# called directly.
function(velmora_qtest nome)
    add_executable(${nome} ${ARGN})
    target_link_libraries(${nome} PRIVATE Qt6::Test)
    add_test(NAME ${nome} COMMAND ${nome})
    set_tests_properties(${nome} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
