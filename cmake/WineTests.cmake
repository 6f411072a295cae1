# Test registration. Windows test programs built on Linux run under Wine through CMake's cross-compiling
# emulator; a fixture starts one Wine session (prefix, display, persistent wineserver) for the whole ctest run
# and stops what it started at the end.

set(VANTREL_WINE_DIR "${CMAKE_BINARY_DIR}/wine" CACHE INTERNAL "")
set(VANTREL_USES_WINE OFF)
if(VANTREL_WINDOWS AND CMAKE_CROSSCOMPILING AND NOT CMAKE_HOST_WIN32)
  set(VANTREL_USES_WINE ON)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;${VANTREL_WINE_DIR}")
  add_test(NAME wine_session_start
           COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh" start "${VANTREL_WINE_DIR}")
  add_test(NAME wine_session_stop
           COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh" stop "${VANTREL_WINE_DIR}")
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# vantrel_add_test(<target> SOURCES ... LIBRARIES ...): one GoogleTest program, registered with ctest.
function(vantrel_add_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} gtest_main gtest)
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "VANTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(VANTREL_USES_WINE)
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()
