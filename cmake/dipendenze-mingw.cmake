# Test and JSON libraries for the mingw-w64 cross-build, whose tests run under Wine.
# Debian ships neither library for Windows. GoogleTest is built here from Debian's sources (libgtest-dev); the JSON
# library is header-only, so the host's headers are used through a folder of their
# own (adding all of /usr/include would hide the mingw headers).
set(VELMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(VELMORA_JSON_INCLUDE /usr/include/nlohmann CACHE PATH "nlohmann-json headers")
set(_json ${CMAKE_BINARY_DIR}/nlohmann-json/include)
file(MAKE_DIRECTORY ${_json})
file(CREATE_LINK ${VELMORA_JSON_INCLUDE} ${_json}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${_json})

# Test programs are listed under Wine when ctest runs rather than at every link, and
# Wine starting on a busy machine may take longer than the default 5 s to list them.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
function(gtest_discover_tests)
    _gtest_discover_tests(${ARGN} DISCOVERY_TIMEOUT 120)
endfunction()
