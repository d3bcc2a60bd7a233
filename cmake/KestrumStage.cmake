# The staged installation mirrors the product: bin/ holds the program, the service library, the
# stand-ins and the runtime DLLs; the program reads ..\Resource and ..\version.txt from there.
set(KESTRUM_STAGE ${CMAKE_BINARY_DIR}/stage)
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${PROJECT_VERSION}")
add_custom_target(stage ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KESTRUM_STAGE}/bin ${KESTRUM_STAGE}/Resource
  COMMAND ${CMAKE_COMMAND} -E copy ${KESTRUM_RUNTIME_DLLS} ${KESTRUM_STAGE}/bin
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/version.txt ${KESTRUM_STAGE}/version.txt
  VERBATIM)
get_property(_staged GLOBAL PROPERTY KESTRUM_STAGED_TARGETS)
foreach(t ${_staged})
  add_dependencies(stage ${t})
  add_custom_command(TARGET stage POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${t}> ${KESTRUM_STAGE}/bin VERBATIM)
endforeach()
if(EXISTS ${KESTRUM_ROOT}/resources)
  add_custom_command(TARGET stage POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${KESTRUM_ROOT}/resources ${KESTRUM_STAGE}/Resource VERBATIM)
endif()
