# GoogleTest for the current build, and kestrum_add_gtest() to declare a test program.
#
#   kestrum_add_gtest(<target> SOURCES <files...> [LIBS <libs...>] [LOCALES en zh]
#                     [TIMEOUT <seconds>] [RESOURCE_LOCK <names...>] [RUN_SERIAL]
#                     [FIXTURES <names...>] [ENVIRONMENT <NAME=value...>] [RUNNER <script>]
#                     [NO_MAIN])
#   kestrum_add_fixture(<name> SETUP <command...> CLEANUP <command...>)
#
# Every test program links the test helpers of testing/ (kestrum_testing).
# The program is registered with CTest; in the cross build CTest runs it through Wine, and only
# where this host can run the build's programs: folders set test properties through the options
# here, never by test name, so a build whose tests are not registered still configures.
# LOCALES registers one test per locale (Wine takes its user locale from LC_ALL).
# RESOURCE_LOCK names what the program shares with others (the program folder's configuration,
# the display's pointer...); RUN_SERIAL runs it with no other test beside it. FIXTURES names
# fixtures of kestrum_add_fixture() that CTest sets up before the program and cleans up after.
# RUNNER is a script that CTest calls with the program's path instead of running it itself.

if(KESTRUM_CROSS)
  set(_gtest_prefix ${KESTRUM_CACHE}/gtest-${KESTRUM_TRIPLE})
  if(NOT EXISTS ${_gtest_prefix}/.built)
    message(FATAL_ERROR "GoogleTest for MinGW missing: run scripts/setup first")
  endif()
  foreach(lib gtest gtest_main gmock gmock_main)
    add_library(kestrum_${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(kestrum_${lib} PROPERTIES
      IMPORTED_LOCATION ${_gtest_prefix}/lib/lib${lib}.a
      INTERFACE_INCLUDE_DIRECTORIES ${_gtest_prefix}/include)
  endforeach()
  set_property(TARGET kestrum_gtest_main APPEND PROPERTY INTERFACE_LINK_LIBRARIES kestrum_gtest)
  set_property(TARGET kestrum_gmock APPEND PROPERTY INTERFACE_LINK_LIBRARIES kestrum_gtest)
  set_property(TARGET kestrum_gmock_main APPEND PROPERTY INTERFACE_LINK_LIBRARIES kestrum_gmock)
else()
  # Built from Debian's source copy so that it carries the same sanitizer flags as our code.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    add_library(kestrum_${lib} ALIAS ${lib})
  endforeach()
endif()

function(kestrum_add_fixture name)
  cmake_parse_arguments(F "" "" "SETUP;CLEANUP" ${ARGN})
  if(NOT KESTRUM_RUN_TESTS)
    return()
  endif()
  add_test(NAME ${name}.setup COMMAND ${F_SETUP})
  add_test(NAME ${name}.cleanup COMMAND ${F_CLEANUP})
  set_property(TEST ${name}.setup PROPERTY FIXTURES_SETUP ${name})
  set_property(TEST ${name}.cleanup PROPERTY FIXTURES_CLEANUP ${name})
endfunction()

# Reads the options (T_...) of the calling kestrum_add_gtest.
function(_kestrum_test_properties test locks)
  set_property(TEST ${test} PROPERTY TIMEOUT ${T_TIMEOUT})
  if(T_RUN_SERIAL)
    set_property(TEST ${test} PROPERTY RUN_SERIAL TRUE)
  endif()
  if(T_FIXTURES)
    set_property(TEST ${test} PROPERTY FIXTURES_REQUIRED ${T_FIXTURES})
  endif()
  if(T_ENVIRONMENT)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${T_ENVIRONMENT})
  endif()
  if(locks)
    set_property(TEST ${test} PROPERTY RESOURCE_LOCK ${locks})
  endif()
endfunction()

function(kestrum_add_gtest target)
  cmake_parse_arguments(T "NO_MAIN;RUN_SERIAL" "TIMEOUT;RUNNER" "SOURCES;LIBS;LOCALES;RESOURCE_LOCK;FIXTURES;ENVIRONMENT" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  if(T_NO_MAIN)
    target_link_libraries(${target} PRIVATE ${T_LIBS} kestrum_testing kestrum_gmock)
  else()
    target_link_libraries(${target} PRIVATE ${T_LIBS} kestrum_testing kestrum_gmock kestrum_gtest_main)
  endif()
  if(NOT KESTRUM_RUN_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # Under Wine a program can die and still exit with 0: the runner also wants GoogleTest's
  # closing line.
  if(T_RUNNER)
    set(_command ${T_RUNNER} $<TARGET_FILE:${target}>)
  elseif(KESTRUM_CROSS)
    set(_command ${KESTRUM_ROOT}/scripts/wine-run --gtest $<TARGET_FILE:${target}>)
  else()
    set(_command ${target})
  endif()
  if(NOT T_LOCALES)
    add_test(NAME ${target} COMMAND ${_command})
    _kestrum_test_properties(${target} "${T_RESOURCE_LOCK}")
    return()
  endif()
  foreach(loc ${T_LOCALES})
    if(loc STREQUAL "zh")
      set(lc zh_CN.UTF-8)
    else()
      set(lc en_US.UTF-8)
    endif()
    add_test(NAME ${target}.${loc} COMMAND ${_command})
    set_property(TEST ${target}.${loc} PROPERTY ENVIRONMENT "LC_ALL=${lc}" "LANG=${lc}")
    # One locale at a time: both runs share the Wine desktop, its clipboard and cursor, and the
    # files the program writes beside itself.
    _kestrum_test_properties(${target}.${loc} "${target};${T_RESOURCE_LOCK}")
  endforeach()
endfunction()
