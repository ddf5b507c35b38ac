# zorvel_add_test(<name> SOURCES <files...> [LIBS <targets...>]): one GoogleTest executable.
find_package(GTest REQUIRED)
include(GoogleTest)

function(zorvel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zorvel_core ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZORVEL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    # A modal dialog left open by mistake fails the test instead of stalling the run.
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
