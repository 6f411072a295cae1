# Read by ctest whenever it starts (also for `ctest -N`), through the test_programs.cmake file that
# cmake/WineTests.cmake writes: registers every GoogleTest case of every test program as its own test, named
# "<program>:<Suite>.<Case>" and run with --gtest_filter, so a case that hangs is stopped by its timeout and
# reported by name.
#
# A program is asked for its cases (--gtest_list_tests) once and the answer kept in VANTREL_TEST_CASES_DIR
# until the program is built again. Windows programs are asked under Wine: when no Wine session runs, one is
# started for all the programs to ask and stopped again (a wineserver that started without a display would
# spoil every later window of the run). A program that cannot be asked runs whole, as one test.

set(_vantrel_to_list "")
foreach(_target IN LISTS VANTREL_TEST_PROGRAMS)
  set(_file "${VANTREL_TEST_${_target}_FILE}")
  if(EXISTS "${_file}" AND "${_file}" IS_NEWER_THAN "${VANTREL_TEST_CASES_DIR}/${_target}.txt")
    list(APPEND _vantrel_to_list ${_target})
  endif()
endforeach()

if(_vantrel_to_list)
  set(_own_session OFF)
  if(VANTREL_WINE_DIR AND NOT EXISTS "${VANTREL_WINE_DIR}/session")
    execute_process(COMMAND "${VANTREL_WINE_SESSION}" start "${VANTREL_WINE_DIR}" RESULT_VARIABLE _result)
    if(NOT _result EQUAL 0)
      message(WARNING "Could not start a Wine session to list the test cases (${_result})")
    endif()
    set(_own_session ON)
  endif()
  file(MAKE_DIRECTORY "${VANTREL_TEST_CASES_DIR}")
  foreach(_target IN LISTS _vantrel_to_list)
    set(_list "${VANTREL_TEST_CASES_DIR}/${_target}.txt")
    execute_process(COMMAND ${VANTREL_TEST_EMULATOR} "${VANTREL_TEST_${_target}_FILE}" --gtest_list_tests
                    OUTPUT_VARIABLE _output ERROR_VARIABLE _errors RESULT_VARIABLE _result TIMEOUT 120)
    if(_result EQUAL 0)
      file(WRITE "${_list}" "${_output}")
    else()
      file(REMOVE "${_list}")
      message(WARNING "${_target} did not list its test cases (${_result}): it runs as one test.\n${_errors}")
    endif()
  endforeach()
  if(_own_session)
    execute_process(COMMAND "${VANTREL_WINE_SESSION}" stop "${VANTREL_WINE_DIR}")
  endif()
endif()

foreach(_target IN LISTS VANTREL_TEST_PROGRAMS)
  set(_command ${VANTREL_TEST_EMULATOR} "${VANTREL_TEST_${_target}_FILE}")
  set(_list "${VANTREL_TEST_CASES_DIR}/${_target}.txt")
  if(NOT EXISTS "${_list}" OR "${VANTREL_TEST_${_target}_FILE}" IS_NEWER_THAN "${_list}")
    add_test("${_target}" ${_command} --gtest_brief=1)
    set_tests_properties("${_target}" PROPERTIES ${VANTREL_TEST_${_target}_PROPERTIES})
    continue()
  endif()

  # "Suite." lines, each followed by its "  Case" lines; typed and parameterized ones carry a "# ..." comment.
  file(READ "${_list}" _output)
  string(REPLACE "\r" "" _output "${_output}")
  string(REGEX REPLACE "[ ]*#[^\n]*" "" _output "${_output}")
  string(REPLACE ";" "" _output "${_output}")
  string(REPLACE "\n" ";" _lines "${_output}")
  set(_suite "")
  foreach(_line IN LISTS _lines)
    if(_line MATCHES "^([A-Za-z0-9_/]+)\\.$")
      set(_suite "${CMAKE_MATCH_1}")
    elseif(_line MATCHES "^  ([A-Za-z0-9_/]+)$" AND _suite)
      set(_case "${_suite}.${CMAKE_MATCH_1}")
      if(_case MATCHES "(^|[/.])DISABLED_")
        continue()
      endif()
      add_test("${_target}:${_case}" ${_command} "--gtest_filter=${_case}" --gtest_brief=1)
      # A case renamed since the list was made would otherwise pass by running nothing.
      set_tests_properties("${_target}:${_case}" PROPERTIES ${VANTREL_TEST_${_target}_PROPERTIES}
                           FAIL_REGULAR_EXPRESSION "\\] 0 tests from")
    endif()
  endforeach()
endforeach()
