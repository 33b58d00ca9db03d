# Shared compile settings: every project target calls grumbo_target_defaults.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow)
if(GRUMBO_WERROR)
  add_compile_options(-Werror)
endif()

if(GRUMBO_SANITIZE)
  add_compile_options(-fsanitize=${GRUMBO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${GRUMBO_SANITIZE})
endif()

# grumbo_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One GoogleTest executable; every TEST in it becomes a CTest case.
function(grumbo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES LABELS "${ARG_LABELS}"
    DISCOVERY_TIMEOUT 60)
endfunction()
