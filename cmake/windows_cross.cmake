# A Windows build made on Linux (the `mingw` preset): what the native build finds as installed packages, and
# how its tests run.

# CLI11 and nlohmann-json are headers only, so the build machine's copies serve. Each folder is linked into
# one of our own, and only that one is searched: the rest of the build machine's headers stays off the path.
set(GROVEX_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
function(grovex_host_header_library target header)
    find_path(folder ${header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    cmake_path(GET header PARENT_PATH subfolder)
    file(MAKE_DIRECTORY ${GROVEX_HOST_HEADERS})
    file(CREATE_LINK ${folder}/${subfolder} ${GROVEX_HOST_HEADERS}/${subfolder} SYMBOLIC)
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${GROVEX_HOST_HEADERS})
    unset(folder CACHE)
endfunction()
grovex_host_header_library(CLI11::CLI11 CLI/CLI.hpp)
grovex_host_header_library(nlohmann_json::nlohmann_json nlohmann/json.hpp)

if(NOT GROVEX_TESTS)
    return()
endif()

# GoogleTest has no MinGW package: its sources (libgtest-dev) are built with the tests. It defines
# GTest::gtest and GTest::gtest_main as the installed package does.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The tests run under Wine, in a Wine folder of their own inside the build folder, without a display and
# without Wine's own messages. One Wine server, started before the tests and stopped after them, serves them
# all (cmake/wine-server.sh says why).
find_program(GROVEX_WINE NAMES wine wine64 REQUIRED)
set(GROVEX_WINE_ENVIRONMENT WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all DISPLAY=
                            WINEDLLOVERRIDES=mscoree,mshtml=)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${GROVEX_WINE_ENVIRONMENT} ${GROVEX_WINE})
enable_testing()
foreach(step start stop)
    add_test(NAME wine_${step} COMMAND ${CMAKE_COMMAND} -E env ${GROVEX_WINE_ENVIRONMENT} sh
                                       ${CMAKE_SOURCE_DIR}/cmake/wine-server.sh ${step})
endforeach()
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP grovex_emulator TIMEOUT 300)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP grovex_emulator)
