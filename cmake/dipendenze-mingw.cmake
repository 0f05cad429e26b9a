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

# SQLite, which Debian ships only for the host: its amalgamation, made from Debian's own
# sqlite3 source package by scripts/build-sqlite-windows.sh, compiled here with the
# full-text index the catalogue's search uses.
set(VELMORA_SQLITE_AMALGAMA "$ENV{HOME}/.cache/velmora-sqlite3" CACHE PATH
    "Folder of sqlite3.c and sqlite3.h (scripts/build-sqlite-windows.sh)")
if(NOT EXISTS "${VELMORA_SQLITE_AMALGAMA}/sqlite3.c")
    message(FATAL_ERROR "no SQLite amalgamation in ${VELMORA_SQLITE_AMALGAMA}: "
                        "run scripts/build-sqlite-windows.sh")
endif()
enable_language(C)
add_library(velmora_sqlite3 STATIC ${VELMORA_SQLITE_AMALGAMA}/sqlite3.c)
target_include_directories(velmora_sqlite3 SYSTEM PUBLIC ${VELMORA_SQLITE_AMALGAMA})
target_compile_definitions(velmora_sqlite3
    PUBLIC SQLITE_ENABLE_FTS5 SQLITE_THREADSAFE=1 SQLITE_DEFAULT_FOREIGN_KEYS=0
           SQLITE_OMIT_LOAD_EXTENSION)
# SQLite's own code: the project's warnings (errors here) are not for it.
target_compile_options(velmora_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS velmora_sqlite3)
