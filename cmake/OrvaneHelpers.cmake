# Shared helpers for the project's targets.

# orvane_library(NAME <name> SOURCES <files...> [DEPS <libs...>] [PRIVATE_DEPS <libs...>])
# A static library whose headers are included as "<layer>/<file>.h" from src/.
function(orvane_library)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${ARG_NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# orvane_gtest(NAME <name> SOURCES <files...> LIBS <libs...> [LABELS <labels...>] [WRAPPER <cmd...>])
# A GoogleTest executable whose cases CTest lists one by one. WRAPPER runs the binary
# through another command (xvfb-run for the GUI tests).
function(orvane_gtest)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;LABELS;WRAPPER" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_compile_options(${ARG_NAME} PRIVATE ${ORVANE_CHECK_BUILD_FLAGS})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} orvane_test_support GTest::gmock GTest::gtest_main)
  if(ARG_WRAPPER)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_WRAPPER} $<TARGET_FILE:${ARG_NAME}>)
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS "${ARG_LABELS}")
  else()
    gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST
                         PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
