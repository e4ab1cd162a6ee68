# SPDX-License-Identifier: GPL-3.0-or-later
# Shared CMake helpers.

# The crypto library must stand on the C++ standard library alone: peers
# reimplement it, and the authority server and the tools share it.
function(quarnel_check_crypto_is_standalone)
  foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libs quarnel_crypto ${prop})
    if(libs)
      message(FATAL_ERROR "quarnel_crypto must link the C++ standard library only; ${prop} = ${libs}")
    endif()
  endforeach()
endfunction()

# quarnel_add_gtest(NAME SOURCES sources... LIBS libs... [MAIN target])
# One GoogleTest executable, its tests discovered at test time (a test main
# that creates a QApplication must not run during the build). MAIN is the
# library holding main(), GoogleTest's own by default.
function(quarnel_add_gtest name)
  cmake_parse_arguments(ARG "" "MAIN" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_MAIN)
    set(ARG_MAIN GTest::gtest_main)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${ARG_MAIN} GTest::gtest)
  # Shared helpers: temporary folders, holder fixtures, scripted servers.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    QUARNEL_TEST_DATA_DIR="${QUARNEL_DATA_DIR}"
    QUARNEL_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    QUARNEL_BUILD_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()

# quarnel_add_window_gtest(NAME SOURCES sources... LIBS libs...)
# A window test: the main of tests/support creates the QApplication
# (offscreen unless QT_QPA_PLATFORM is set).
function(quarnel_add_window_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  quarnel_add_gtest(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS} quarnel_windows
    MAIN quarnel_window_test_main)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  # The program's companions (text modules, help, TA parameter file).
  add_dependencies(${name} quarneltit)
endfunction()
