# The staged installation mirrors the product: bin/ holds the program, the service library, the
# stand-ins and the runtime DLLs; the program reads ..\Resource and ..\version.txt from there.
#
# What ships carries no debug information: each staged file is a stripped copy of the build's
# own (which the tests and benches keep using). The debug information of our own binaries goes to
# symbols/ beside the stage, one "<file>.debug" each, named in the stripped file's debug link, so
# that a crash address from a user's machine can still be read against it.
set(KESTRUM_STAGE ${CMAKE_BINARY_DIR}/stage)
set(KESTRUM_SYMBOLS ${CMAKE_BINARY_DIR}/symbols)
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${PROJECT_VERSION}")
file(MAKE_DIRECTORY ${KESTRUM_STAGE}/bin ${KESTRUM_STAGE}/Resource ${KESTRUM_SYMBOLS}
  ${CMAKE_BINARY_DIR}/stage-stamps)

set(_staged_files)
get_property(_staged GLOBAL PROPERTY KESTRUM_STAGED_TARGETS)
# A stamp per target stands for its two files, whose names only the build step knows.
foreach(t ${_staged})
  set(_out ${KESTRUM_STAGE}/bin/$<TARGET_FILE_NAME:${t}>)
  set(_debug ${KESTRUM_SYMBOLS}/$<TARGET_FILE_NAME:${t}>.debug)
  set(_stamp ${CMAKE_BINARY_DIR}/stage-stamps/${t})
  add_custom_command(OUTPUT ${_stamp}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${t}> ${_debug}
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${_debug} $<TARGET_FILE:${t}> ${_out}
    COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
    DEPENDS ${t}
    COMMENT "Staging ${t}"
    VERBATIM)
  list(APPEND _staged_files ${_stamp})
endforeach()
# The compiler's runtime DLLs are not ours: they ship stripped, without symbols.
foreach(dll ${KESTRUM_RUNTIME_DLLS})
  get_filename_component(_name ${dll} NAME)
  add_custom_command(OUTPUT ${KESTRUM_STAGE}/bin/${_name}
    COMMAND ${CMAKE_OBJCOPY} --strip-all ${dll} ${KESTRUM_STAGE}/bin/${_name}
    DEPENDS ${dll}
    VERBATIM)
  list(APPEND _staged_files ${KESTRUM_STAGE}/bin/${_name})
endforeach()

# What a run of the program from the stage itself left beside it (its configuration, logs, crash
# reports, avatar cache) goes: the stage holds what ships, and scripts/check-stage refuses more.
set(_run_state KestrumConfig.ini logger logo Faultpost)
list(TRANSFORM _run_state PREPEND ${KESTRUM_STAGE}/bin/)
add_custom_target(stage ALL
  DEPENDS ${_staged_files}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/version.txt ${KESTRUM_STAGE}/version.txt
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_run_state}
  VERBATIM)
if(EXISTS ${KESTRUM_ROOT}/resources)
  add_custom_command(TARGET stage POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${KESTRUM_ROOT}/resources ${KESTRUM_STAGE}/Resource VERBATIM)
endif()
