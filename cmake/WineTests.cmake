# Test registration. Every GoogleTest case is its own ctest test with a timeout: ctest asks each test program
# for its cases when it starts (cmake/TestCases.cmake), so a hung case fails alone and by name.
# Windows test programs built on Linux run under Wine through CMake's cross-compiling emulator; a fixture starts
# one Wine session (prefix, display, persistent wineserver) for the whole ctest run and stops what it started at
# the end.

set(VANTREL_WINE_DIR "${CMAKE_BINARY_DIR}/wine" CACHE INTERNAL "")
set(VANTREL_USES_WINE OFF)
if(VANTREL_WINDOWS AND CMAKE_CROSSCOMPILING AND NOT CMAKE_HOST_WIN32)
  set(VANTREL_USES_WINE ON)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;${VANTREL_WINE_DIR}")
endif()

# vantrel_add_test(<target> SOURCES ... LIBRARIES ... [TIMEOUT <seconds>] [DESKTOP]): one GoogleTest program
# whose cases become ctest tests, each stopped after TIMEOUT seconds (60 unless given). DESKTOP cases use
# windows, focus or the clipboard of the shared display: they never run at the same time as each other, and
# under Wine the program's windows are left unmanaged.
function(vantrel_add_test target)
  cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} gtest_main gtest)
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")

  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  set(properties ENVIRONMENT "VANTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}" TIMEOUT ${ARG_TIMEOUT})
  if(VANTREL_USES_WINE)
    list(APPEND properties FIXTURES_REQUIRED wine)
  endif()
  if(ARG_DESKTOP)
    list(APPEND properties RESOURCE_LOCK desktop)
    set_property(GLOBAL APPEND PROPERTY VANTREL_DESKTOP_TEST_PROGRAMS ${target})
  endif()
  set_property(GLOBAL APPEND PROPERTY VANTREL_TEST_PROGRAMS ${target})
  set_property(GLOBAL PROPERTY VANTREL_TEST_PROPERTIES_${target} "${properties}")

  get_property(deferred DIRECTORY PROPERTY VANTREL_TEST_LISTING_DEFERRED)
  if(NOT deferred)
    set_property(DIRECTORY PROPERTY VANTREL_TEST_LISTING_DEFERRED ON)
    cmake_language(DEFER CALL _vantrel_write_test_programs)
  endif()
endfunction()

# At the end of the folder that added test programs: the Wine session fixture, and what cmake/TestCases.cmake
# needs to know about the programs at ctest time, for ctest to read.
function(_vantrel_write_test_programs)
  get_property(programs GLOBAL PROPERTY VANTREL_TEST_PROGRAMS)
  if(VANTREL_USES_WINE)
    # With the tests' desktop program the desktop stays open all along, and the DESKTOP programs' windows
    # need no window manager (scripts/wine-session.sh).
    set(desktop "")
    if(TARGET wine_test_desktop)
      get_property(desktop_programs GLOBAL PROPERTY VANTREL_DESKTOP_TEST_PROGRAMS)
      set(desktop "$<TARGET_FILE:wine_test_desktop>")
      foreach(target IN LISTS desktop_programs)
        list(APPEND desktop "$<TARGET_FILE_NAME:${target}>")
      endforeach()
    endif()
    add_test(NAME wine_session_start
             COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh" start "${VANTREL_WINE_DIR}" ${desktop})
    add_test(NAME wine_session_stop
             COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh" stop "${VANTREL_WINE_DIR}")
    # A new prefix takes a while to create.
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
  endif()
  set(emulator "")
  set(wine_session "")
  set(wine_dir "")
  if(VANTREL_USES_WINE)
    set(emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
    set(wine_session "${PROJECT_SOURCE_DIR}/scripts/wine-session.sh")
    set(wine_dir "${VANTREL_WINE_DIR}")
  endif()
  set(content "# Written by cmake/WineTests.cmake: the test programs of this folder.\n")
  string(APPEND content "set(VANTREL_TEST_PROGRAMS [==[${programs}]==])\n")
  string(APPEND content "set(VANTREL_TEST_EMULATOR [==[${emulator}]==])\n")
  string(APPEND content "set(VANTREL_WINE_SESSION [==[${wine_session}]==])\n")
  string(APPEND content "set(VANTREL_WINE_DIR [==[${wine_dir}]==])\n")
  string(APPEND content "set(VANTREL_TEST_CASES_DIR [==[${CMAKE_CURRENT_BINARY_DIR}/cases/$<CONFIG>]==])\n")
  foreach(target IN LISTS programs)
    get_property(properties GLOBAL PROPERTY VANTREL_TEST_PROPERTIES_${target})
    string(APPEND content "set(VANTREL_TEST_${target}_FILE [==[$<TARGET_FILE:${target}>]==])\n")
    string(APPEND content "set(VANTREL_TEST_${target}_PROPERTIES [==[${properties}]==])\n")
  endforeach()
  string(APPEND content "include([==[${PROJECT_SOURCE_DIR}/cmake/TestCases.cmake]==])\n")

  get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(multi_config)
    # One file per configuration; ctest -C picks one.
    file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/test_programs-$<CONFIG>.cmake" CONTENT "${content}")
    file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/test_programs.cmake"
         "include(\"${CMAKE_CURRENT_BINARY_DIR}/test_programs-\${CTEST_CONFIGURATION_TYPE}.cmake\" OPTIONAL)\n")
  else()
    file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/test_programs.cmake" CONTENT "${content}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${CMAKE_CURRENT_BINARY_DIR}/test_programs.cmake")
endfunction()
