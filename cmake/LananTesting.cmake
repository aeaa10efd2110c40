# Test plumbing shared by the native and the cross build.
#
# Natively GoogleTest comes from the system packages; in the MinGW build its
# sources are compiled along with ours and every test .exe runs through Wine
# (CMAKE_CROSSCOMPILING_EMULATOR).

if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
    # Our warnings-as-errors must not judge GoogleTest's own sources.
    foreach(t gtest gtest_main)
        target_compile_options(${t} PRIVATE -w $<$<CONFIG:Release>:-O1>)
    endforeach()
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# Every test unit starts with GoogleTest and the C++ library, and the Win32
# suites with windows.h: parsing them took 2.5 to 4 s of CPU per unit, more
# than most tests themselves. They are compiled once, here, and each test
# reuses the header for its kind; the options must stay those of the tests.
# Portable suites do not get windows.h: its macros (near, far) would leak in.
# Test code is compiled far more often than it runs, so it is not optimised;
# the libraries under test keep the release flags. In a combined unit a
# fixture of a file's anonymous namespace counts as coming from a header,
# which GCC flags; each file keeps its own fixtures.
set(lanan_test_options $<$<CONFIG:Release>:-O0> -Wno-subobject-linkage)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/lanan_test_pch.cpp CONTENT "")
set(pch_headers <gtest/gtest.h> <algorithm> <cstdint> <cstdio> <functional> <memory> <string>
    <vector>)
set(pch_kinds portable)
if(WIN32)
    list(APPEND pch_kinds win32)
endif()
foreach(kind ${pch_kinds})
    add_library(lanan_${kind}_test_pch OBJECT ${CMAKE_BINARY_DIR}/lanan_test_pch.cpp)
    target_link_libraries(lanan_${kind}_test_pch PRIVATE GTest::gtest)
    target_compile_options(lanan_${kind}_test_pch PRIVATE ${lanan_test_options})
    if(kind STREQUAL win32)
        list(APPEND pch_headers <windows.h>)
    endif()
    target_precompile_headers(lanan_${kind}_test_pch PRIVATE ${pch_headers})
endforeach()

# Under Wine each test takes one of the virtual displays that scripts/wine-tests
# prepares (the CTest resource "display"), so that two suites can run side by
# side without seeing each other's windows. Without a resource file CTest
# ignores the claim.
#
# lanan_add_test(NAME SOURCES ... [LIBS ...] [TIMEOUT s] [WINDOWS_ONLY])
# A test runs natively with one CTest entry per test case, and as a single
# CTest entry per executable under Wine (discovery through Wine is slow).
function(lanan_add_test name)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    target_compile_options(${name} PRIVATE ${lanan_test_options})
    if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/tests/windows(/|$)")
        target_precompile_headers(${name} REUSE_FROM lanan_win32_test_pch)
    else()
        target_precompile_headers(${name} REUSE_FROM lanan_portable_test_pch)
    endif()
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} RESOURCE_GROUPS display:1)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${T_TIMEOUT})
    endif()
endfunction()

