# Test helpers: every test is a GoogleTest binary registered with CTest.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

# korv_add_test(<name> SOURCES ... [LIBS ...] [GUI] [REAL_TIME])
# GUI tests link the shared main that selects the offscreen platform itself.
# REAL_TIME tests drive the separately loaded libkorvio.so, whose clock cannot
# be injected, against simulated devices: they run alone so that a loaded
# machine does not push them past the protocol's time-outs.
function(korv_add_test name)
  cmake_parse_arguments(T "GUI;REAL_TIME" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(KORV_SANITIZE STREQUAL "thread")
    # Built in, so they hold however the binary is started (CTest, discovery, by hand).
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/testsupport/tsan_suppressions.cpp)
  endif()
  if(T_GUI)
    target_link_libraries(${name} PRIVATE ${T_LIBS} korv_gui_test_main korv_testsupport GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} korv_testsupport GTest::gtest_main GTest::gmock)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE KORV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # Discovery runs the binary at build time, outside CTest's environment.
  set(run_serial FALSE)
  if(T_REAL_TIME)
    set(run_serial TRUE)
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" RUN_SERIAL ${run_serial})
endfunction()
