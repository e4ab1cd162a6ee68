# SPDX-License-Identifier: GPL-3.0-or-later
# One throw-away PostgreSQL cluster (pg_cluster.sh) for a whole ctest run,
# started before and stopped after every test that needs it, failed or not.
# quarnel_add_pg_run(TARGET [ARGS...]) runs a test binary (with ARGS, such as
# a --gtest_filter) once more against it: its quarnel-ta servers then keep
# their affiliates in PostgreSQL.
include_guard(GLOBAL)

string(MD5 _quarnel_pg_tag "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_quarnel_pg_tag}" 0 12 _quarnel_pg_tag)
set_property(GLOBAL PROPERTY QUARNEL_TA_PG_DIR "/tmp/quarnel-ta-pg-${_quarnel_pg_tag}")
set(_quarnel_pg_script "${CMAKE_CURRENT_LIST_DIR}/pg_cluster.sh")
add_test(NAME ta_pg_cluster_start
  COMMAND ${_quarnel_pg_script} start /tmp/quarnel-ta-pg-${_quarnel_pg_tag})
add_test(NAME ta_pg_cluster_stop
  COMMAND ${_quarnel_pg_script} stop /tmp/quarnel-ta-pg-${_quarnel_pg_tag})
set_tests_properties(ta_pg_cluster_start PROPERTIES FIXTURES_SETUP quarnel_ta_pg TIMEOUT 120)
set_tests_properties(ta_pg_cluster_stop PROPERTIES FIXTURES_CLEANUP quarnel_ta_pg TIMEOUT 60)

function(quarnel_add_pg_run target)
  get_property(dir GLOBAL PROPERTY QUARNEL_TA_PG_DIR)
  add_test(NAME ${target}_postgresql COMMAND ${target} ${ARGN}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set_tests_properties(${target}_postgresql PROPERTIES
    FIXTURES_REQUIRED quarnel_ta_pg TIMEOUT 600
    ENVIRONMENT "QUARNEL_TA_DB_DIR=${dir}")
endfunction()
