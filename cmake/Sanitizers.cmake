# SPDX-License-Identifier: GPL-3.0-or-later
# The sanitizer build (clang): AddressSanitizer and UndefinedBehaviorSanitizer
# on everything, and with QUARNEL_FUZZ the libFuzzer targets of tests/fuzz.
# One tree serves both: the libraries are compiled with fuzzer-no-link, the
# tests link address,undefined only, the fuzz targets add the fuzzer's main.
option(QUARNEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer (clang)" OFF)
option(QUARNEL_FUZZ "Build the libFuzzer targets of tests/fuzz (clang; implies QUARNEL_SANITIZE)" OFF)

if(QUARNEL_FUZZ)
  set(QUARNEL_SANITIZE ON)
endif()
if(QUARNEL_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUARNEL_SANITIZE and QUARNEL_FUZZ need clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  if(QUARNEL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

# quarnel_add_fuzzer(NAME SOURCES sources... LIBS libs...)
# A libFuzzer target fuzz_NAME in bin/fuzz/; its seed corpus is
# tests/fuzz/corpus/NAME.
function(quarnel_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_${name} ${ARG_SOURCES})
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support
                                                  ${CMAKE_SOURCE_DIR}/tests/fuzz)
  target_compile_definitions(fuzz_${name} PRIVATE
    QUARNEL_TEST_DATA_DIR="${QUARNEL_DATA_DIR}")
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                ${CMAKE_BINARY_DIR}/bin/fuzz)
  set_property(GLOBAL APPEND PROPERTY QUARNEL_FUZZERS fuzz_${name})
endfunction()
