# One helper per kind of target, so that every library and test is built
# with the same warnings, definitions and include layout.

set(LIVRAX_COMPILE_DEFINITIONS
  QT_NO_CAST_TO_ASCII
  QT_RESTRICTED_CAST_FROM_ASCII
  QT_NO_FOREACH)

function(livrax_apply_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_compile_definitions(${target} PRIVATE ${LIVRAX_COMPILE_DEFINITIONS})
endfunction()

# livrax_add_library(<subsystem> DEPENDS <targets...> SOURCES <files...>)
# builds src/<subsystem> as the static library livrax_<subsystem>.
function(livrax_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES" ${ARGN})
  add_library(livrax_${name} STATIC ${ARG_SOURCES})
  target_include_directories(livrax_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(livrax_${name} PUBLIC ${ARG_DEPENDS})
  livrax_apply_options(livrax_${name})
endfunction()

# livrax_add_test(<name> DEPENDS <targets...> SOURCES <files...>)
# builds one Qt Test executable and registers it with CTest, offscreen.
function(livrax_add_test name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_DEPENDS})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  livrax_apply_options(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    # The settings store of the tests never touches the developer's own.
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config"
    TIMEOUT ${LIVRAX_TEST_TIMEOUT})
endfunction()
