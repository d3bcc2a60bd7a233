# GoogleTest for the current build, and kestrum_add_gtest() to declare a test program.
#
#   kestrum_add_gtest(<target> SOURCES <files...> [LIBS <libs...>] [LOCALES en zh]
#                     [TIMEOUT <seconds>] [NO_MAIN])
#
# Every test program links the test helpers of testing/ (kestrum_testing).
# The program is registered with CTest; in the cross build CTest runs it through Wine.
# LOCALES registers one test per locale (Wine takes its user locale from LC_ALL).

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

function(kestrum_add_gtest target)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT" "SOURCES;LIBS;LOCALES" ${ARGN})
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
  if(KESTRUM_CROSS)
    set(_command ${KESTRUM_ROOT}/scripts/wine-run --gtest $<TARGET_FILE:${target}>)
  else()
    set(_command ${target})
  endif()
  if(NOT T_LOCALES)
    add_test(NAME ${target} COMMAND ${_command})
    set_tests_properties(${target} PROPERTIES TIMEOUT ${T_TIMEOUT})
    return()
  endif()
  foreach(loc ${T_LOCALES})
    if(loc STREQUAL "zh")
      set(lc zh_CN.UTF-8)
    else()
      set(lc en_US.UTF-8)
    endif()
    add_test(NAME ${target}.${loc} COMMAND ${_command})
    # One locale at a time: both runs share the Wine desktop, its clipboard and cursor, and the
    # files the program writes beside itself.
    set_tests_properties(${target}.${loc} PROPERTIES TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "LC_ALL=${lc};LANG=${lc}" RESOURCE_LOCK ${target})
  endforeach()
endfunction()
