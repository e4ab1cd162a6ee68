# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file of the crypto core includes a header that is neither a
# standard one (<name>) nor one of its own ("crypto/..."), apart from the
# system's memory calls that keep secrets out of core dumps.
file(GLOB files ${DIR}/*.h ${DIR}/*.cpp)
set(allowed_system
  algorithm array bit cassert cerrno chrono cmath cstddef cstdint cstdio cstdlib cstring ctime
  functional iterator limits memory optional span string string_view thread type_traits utility
  vector atomic mutex condition_variable future immintrin.h cpuid.h
  sys/mman.h sys/prctl.h sys/resource.h unistd.h)
foreach(f ${files})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      list(FIND allowed_system "${CMAKE_MATCH_1}" at)
      if(at EQUAL -1)
        message(FATAL_ERROR "${f}: includes <${CMAKE_MATCH_1}>, not a standard header")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      if(NOT CMAKE_MATCH_1 MATCHES "^crypto/")
        message(FATAL_ERROR "${f}: includes \"${CMAKE_MATCH_1}\" from outside the crypto core")
      endif()
    endif()
  endforeach()
endforeach()
message(STATUS "crypto core includes: standard library only")
