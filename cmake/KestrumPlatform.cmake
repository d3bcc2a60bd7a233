# Compiler settings and third-party libraries for the current build (cross or native).

add_compile_options(-Wall -Wextra)

# The project's checks (kestrum/common/check.h) are compiled into every target of the builds whose
# suites hunt faults (x86_64 and native); the shipped 32-bit product is built and tested as it ships,
# without them.
if(KESTRUM_CROSS AND KESTRUM_TRIPLE MATCHES "^i686")
  set(_kestrum_checks_default OFF)
else()
  set(_kestrum_checks_default ON)
endif()
option(KESTRUM_CHECKS "Compile the project's checks into every target" ${_kestrum_checks_default})
if(KESTRUM_CHECKS)
  add_compile_definitions(KESTRUM_CHECKS=1)
endif()

if(KESTRUM_CROSS)
  # The version resources and manifests of the shipped files (kestrum_stage), by MinGW's windres.
  enable_language(RC)

  # Headers of boost, websocketpp and rapidjson, each copied alone by scripts/setup: the cross
  # compiler must never see /usr/include.
  set(KESTRUM_CROSS_INCLUDE ${KESTRUM_CACHE}/cross-include)
  if(NOT EXISTS ${KESTRUM_CROSS_INCLUDE}/.built)
    message(FATAL_ERROR "Cross headers missing: run scripts/setup first")
  endif()

  # One wide-printf policy for the whole program: libstdc++ switches MinGW to C99 stdio, where a
  # wide format's "%s" takes a narrow string. We keep that C99 meaning everywhere: "%ls" for
  # wchar_t strings, "%s" for char strings, in narrow and wide formats alike.
  add_compile_definitions(
    _WIN32_WINNT=0x0601 WINVER=0x0601 UNICODE _UNICODE
    __USE_MINGW_ANSI_STDIO=1 NOMINMAX WIN32_LEAN_AND_MEAN)

  # SSE2 arithmetic on i686 as on x86_64, so the 32-bit product computes numbers exactly as the
  # 64-bit build that the tests run (x87's extended precision rounds differently).
  if(KESTRUM_TRIPLE MATCHES "^i686")
    add_compile_options(-msse2 -mfpmath=sse)
  endif()

  add_library(kestrum_thirdparty_headers INTERFACE)
  target_include_directories(kestrum_thirdparty_headers SYSTEM INTERFACE ${KESTRUM_CROSS_INCLUDE})
  target_compile_definitions(kestrum_thirdparty_headers INTERFACE
    BOOST_ALL_NO_LIB _WEBSOCKETPP_CPP11_STL_)

  # libcurl, static, Schannel TLS, built by scripts/setup. Its zlib goes in statically too: named
  # as "z", the linker would take the import library of zlib1.dll, which Windows does not have.
  find_library(KESTRUM_ZLIB_STATIC NAMES libz.a REQUIRED NO_CACHE)
  set(KESTRUM_CURL_PREFIX ${KESTRUM_CACHE}/curl-${KESTRUM_TRIPLE})
  add_library(kestrum_curl STATIC IMPORTED GLOBAL)
  set_target_properties(kestrum_curl PROPERTIES
    IMPORTED_LOCATION ${KESTRUM_CURL_PREFIX}/lib/libcurl.a
    INTERFACE_INCLUDE_DIRECTORIES ${KESTRUM_CURL_PREFIX}/include
    INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    INTERFACE_LINK_LIBRARIES
      "${KESTRUM_ZLIB_STATIC};ws2_32;crypt32;secur32;bcrypt;iphlpapi;wldap32;advapi32")

  # The shipped files name no folder of the machine that built them: source and build paths
  # (in assertion texts and in the debug information kept beside the installation) are relative
  # to the checkout.
  add_compile_options(-ffile-prefix-map=${KESTRUM_ROOT}/=)

  # Every image may be loaded anywhere and runs without executable data; the 32-bit program may
  # use the 4 GB of address space that 64-bit Windows gives a large-address-aware process.
  add_link_options(-Wl,--dynamicbase -Wl,--nxcompat)
  if(KESTRUM_TRIPLE MATCHES "^i686")
    set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -Wl,--large-address-aware")
  else()
    add_link_options(-Wl,--high-entropy-va)
  endif()

  # Both deliverables share one C++ runtime (std::string and std::vector cross the library
  # boundary), so the runtime DLLs are shipped beside them instead of linked in twice.
  if(KESTRUM_TRIPLE MATCHES "^i686")
    set(_libgcc libgcc_s_dw2-1.dll)
  else()
    set(_libgcc libgcc_s_seh-1.dll)
  endif()
  foreach(dll libstdc++-6.dll ${_libgcc} libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
      message(FATAL_ERROR "${dll} not found for ${KESTRUM_TRIPLE}")
    endif()
    get_filename_component(_path "${_path}" REALPATH)
    list(APPEND KESTRUM_RUNTIME_DLLS ${_path})
  endforeach()
  file(COPY ${KESTRUM_RUNTIME_DLLS} DESTINATION ${CMAKE_BINARY_DIR}/bin)

  # Tests are registered only where this host can execute the build's code under Wine: some
  # hosts run 64-bit code only, and there the suite runs from the x86_64 build of the same sources.
  execute_process(COMMAND ${KESTRUM_ROOT}/scripts/wine-run --can-run ${KESTRUM_TRIPLE}
    RESULT_VARIABLE _can_run OUTPUT_QUIET ERROR_QUIET)
  if(_can_run EQUAL 0)
    set(KESTRUM_RUN_TESTS ON)
  else()
    set(KESTRUM_RUN_TESTS OFF)
    message(STATUS "This host cannot run ${KESTRUM_TRIPLE} programs: tests are built, not registered")
  endif()
else()
  option(KESTRUM_SANITIZE "Build native code with ASan and UBSan" ON)
  if(KESTRUM_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
  set(KESTRUM_RUN_TESTS ON)
  find_path(KESTRUM_RAPIDJSON_INCLUDE rapidjson/document.h)
  find_path(KESTRUM_NLOHMANN_INCLUDE nlohmann/json.hpp)
endif()

# Marks a target for the staged installation (see KestrumStage.cmake) and gives the file that
# ships a version resource, and a program the manifest that Windows reads at its start.
function(kestrum_stage target)
  set_property(GLOBAL APPEND PROPERTY KESTRUM_STAGED_TARGETS ${target})
  kestrum_version_resource(${target})
endfunction()

function(kestrum_version_resource target)
  set(_installation ${KESTRUM_ROOT}/cmake/installation)
  get_target_property(_type ${target} TYPE)
  set(KESTRUM_RC_TARGET ${target})
  if(_type STREQUAL EXECUTABLE)
    set(KESTRUM_RC_FILETYPE VFT_APP)
    # Resource 1 of type 24: the manifest of a process (CREATEPROCESS_MANIFEST_RESOURCE_ID,
    # RT_MANIFEST).
    set(KESTRUM_RC_MANIFEST "1 24 \"${_installation}/program.manifest\"")
  else()
    set(KESTRUM_RC_FILETYPE VFT_DLL)
    set(KESTRUM_RC_MANIFEST "")
  endif()
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${_installation}/version.rc.in ${_rc}.in @ONLY)
  # The file's names are known at generation only.
  file(GENERATE OUTPUT ${_rc} INPUT ${_rc}.in)
  target_sources(${target} PRIVATE ${_rc})
  set_property(SOURCE ${_rc} APPEND PROPERTY OBJECT_DEPENDS ${_installation}/program.manifest)
endfunction()
