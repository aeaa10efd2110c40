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
    # Test code is compiled far more often than it runs; the libraries under
    # test keep the release optimisation.
    target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-O1>)
    # In a combined unit a fixture of a file's anonymous namespace counts as
    # coming from a header, which GCC flags; each file keeps its own fixtures.
    target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${T_TIMEOUT})
    endif()
endfunction()
