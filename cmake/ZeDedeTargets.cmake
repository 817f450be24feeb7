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

# zedede_qtests(<label> LIBS <targets>...)
# One QtTest executable per tst_*.cpp of the calling folder, run headless.
function(zedede_qtests label)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
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
