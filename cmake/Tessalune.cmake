# SPDX-License-Identifier: GPL-3.0-or-later
# Build settings shared by every target, and one helper for each repeated
# kind of target: a library, a test, a fuzz target, a benchmark.

add_library(tessalune_warnings INTERFACE)
target_compile_options(tessalune_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow
  $<$<BOOL:${TESSALUNE_WERROR}>:-Werror>)

add_library(tessalune_sanitizers INTERFACE)
if(TESSALUNE_SANITIZE)
  target_compile_options(tessalune_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tessalune_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
if(TESSALUNE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESSALUNE_FUZZ needs clang")
  endif()
  target_compile_options(tessalune_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()

# tessalune_add_library(<name> <sources>...): a subsystem library with the
# project's warnings and sanitizers; the folder is its public include path.
function(tessalune_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE tessalune_warnings PUBLIC tessalune_sanitizers)
endfunction()

# Tests and fuzz targets draw text with these fonts only, whatever else the
# machine has.
set(TESSALUNE_TEST_FONTS "FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/fonts.conf")

# tessalune_add_test(<name> SOURCES <files> LIBS <targets> [QT | UI])
# A GoogleTest executable whose cases ctest discovers one by one. QT gives it
# a main() that creates a QApplication on the offscreen platform; UI gives it
# the program's own application object there (tests/support/UiTestMain.cpp).
# ctest names each case as GoogleTest does, never after a dump of its
# parameter, so every parameterised test names its cases
# (tests/support/TestNames.h).
function(tessalune_add_test name)
  cmake_parse_arguments(ARG "QT;UI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tessalune_test_support
    tessalune_warnings GTest::gtest GTest::gmock)
  if(ARG_UI)
    target_link_libraries(${name} PRIVATE tessalune_ui_test_main)
  elseif(ARG_QT)
    target_link_libraries(${name} PRIVATE tessalune_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TRUE
    PROPERTIES ENVIRONMENT "${TESSALUNE_TEST_FONTS}")
endfunction()

# tessalune_add_fuzzer(<name> SOURCES <files> LIBS <targets> [CORPUS <dir>] [QT])
# A libFuzzer target, built only with TESSALUNE_FUZZ; ctest runs it for
# TESSALUNE_FUZZ_SECONDS on a copy of its seed corpus. QT starts a
# QGuiApplication on the offscreen platform before the first input.
function(tessalune_add_fuzzer name)
  cmake_parse_arguments(ARG "QT" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT TESSALUNE_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tessalune_warnings)
  if(ARG_QT)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/FuzzQtInitialize.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Gui)
  endif()
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work "${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus")
  set(seed "")
  if(ARG_CORPUS)
    set(seed "${ARG_CORPUS}")
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -DFUZZER=$<TARGET_FILE:${name}> -DWORK=${work} -DSEED=${seed}
            -DSECONDS=${TESSALUNE_FUZZ_SECONDS} -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  set_tests_properties(${name} PROPERTIES LABELS fuzz ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;${TESSALUNE_TEST_FONTS};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endfunction()

# tessalune_add_benchmark(<name> SOURCES <files> LIBS <targets>)
# A Google Benchmark executable; run by hand, never by ctest.
function(tessalune_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT TESSALUNE_BENCHMARKS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tessalune_warnings benchmark::benchmark_main)
endfunction()
