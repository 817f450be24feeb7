# Helpers shared by the folder libraries and their tests.

# zedede_library(<target> [DEPS <targets>...])
# A static library made of every .cpp/.h of the calling folder.  While a
# folder has no sources yet it is an interface library, so dependants link.
function(zedede_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER _src EXCLUDE REGEX "/main\\.cpp$")
  set(_has_cpp FALSE)
  foreach(_f IN LISTS _src)
    if(_f MATCHES "\\.cpp$")
      set(_has_cpp TRUE)
    endif()
  endforeach()
  if(_has_cpp)
    add_library(${target} STATIC ${_src})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# zedede_qtests(<label> LIBS <targets>... [LINUX_ONLY <tst_names>...])
# One QtTest executable per tst_*.cpp of the calling folder, run headless.
# On Windows the tests of a folder (its tst_*.cpp and win32/tst_*.cpp, less
# those named LINUX_ONLY) are linked into one program, <label>_tests.exe,
# which runs the test named by its first argument; each is still a test of
# its own, under the same name as on Linux, run through wine.
function(zedede_qtests label)
  cmake_parse_arguments(ARG "" "" "LIBS;LINUX_ONLY" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  if(WIN32)
    file(GLOB _win_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/tst_*.cpp)
    set(_sources)
    set(_names)
    foreach(_t IN LISTS _tests _win_tests)
      get_filename_component(_name ${_t} NAME_WE)
      if(NOT _name IN_LIST ARG_LINUX_ONLY)
        list(APPEND _sources ${_t})
        list(APPEND _names ${_name})
        set_source_files_properties(${_t} PROPERTIES
          COMPILE_DEFINITIONS "ZEDEDE_TEST_NAME=\"${_name}\"")
      endif()
    endforeach()
    set(_exe ${label}_tests)
    add_executable(${_exe} ${_sources} ${PROJECT_SOURCE_DIR}/tests/TestRunner.cpp
                          ${ZEDEDE_MANIFEST_RC})
    target_link_libraries(${_exe} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_compile_options(${_exe} PRIVATE -Wall -Wextra
      "SHELL:-include ${PROJECT_SOURCE_DIR}/tests/TestRegistration.h")
    qt_import_plugins(${_exe} INCLUDE_BY_TYPE platforms Qt6::QOffscreenIntegrationPlugin
                              EXCLUDE_BY_TYPE styles)
    set_target_properties(${_exe} PROPERTIES AUTOMOC ON)
    foreach(_name IN LISTS _names)
      set(_test ${label}_${_name})
      add_test(NAME ${_test} COMMAND ${_exe} ${_name})
      set(_home ${CMAKE_BINARY_DIR}/test-home/${_test})
      file(MAKE_DIRECTORY ${_home})
      set(_env "ZEDEDE_BINARY_DIR=${CMAKE_BINARY_DIR};ZEDEDE_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZEDEDE_TEST_HOME=${_home};WINEPREFIX=${ZEDEDE_WINEPREFIX};WINEDEBUG=-all")
      # The tests make their keys, requests and certificates with the kit's
      # openssl.exe and its configuration.
      if(ZEDEDE_WINDOWS_KIT)
        list(APPEND _env "ZEDEDE_TEST_OPENSSL=${ZEDEDE_WINDOWS_KIT}/openssl/openssl.exe"
                         "OPENSSL_CONF=${ZEDEDE_WINDOWS_KIT}/openssl/openssl.cnf")
      endif()
      set_tests_properties(${_test} PROPERTIES
        LABELS ${label}
        ENVIRONMENT "${_env}"
        TIMEOUT 600)
    endforeach()
    return()
  endif()
  foreach(_t IN LISTS _tests)
    get_filename_component(_name ${_t} NAME_WE)
    set(_exe ${label}_${_name})
    add_executable(${_exe} ${_t})
    target_link_libraries(${_exe} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_compile_options(${_exe} PRIVATE -Wall -Wextra)
    add_test(NAME ${_exe} COMMAND ${_exe})
    # Each test program gets a home of its own, so nothing reaches the real one.
    set(_home ${CMAKE_BINARY_DIR}/test-home/${_exe})
    file(MAKE_DIRECTORY ${_home})
    set(_env "QT_QPA_PLATFORM=offscreen;ZEDEDE_BINARY_DIR=${CMAKE_BINARY_DIR};ZEDEDE_SOURCE_DIR=${CMAKE_SOURCE_DIR};HOME=${_home};XDG_DATA_HOME=${_home}/.local/share;XDG_CONFIG_HOME=${_home}/.config")
    # Run-time options of the sanitizers, when the build has them.
    list(APPEND _env ${ZEDEDE_SANITIZER_TEST_ENV})
    set_tests_properties(${_exe} PROPERTIES
      LABELS ${label}
      ENVIRONMENT "${_env}"
      TIMEOUT 600)
  endforeach()
endfunction()
