# Test helpers: every test is a GoogleTest binary registered with CTest.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

# Whether <target> links Qt, itself or through any library it links.
function(korv_links_qt out target)
  set(pending ${target})
  set(seen "")
  list(LENGTH pending left)
  while(left GREATER 0)
    list(POP_FRONT pending item)
    # A static library's private dependencies arrive as $<LINK_ONLY:...>;
    # other generator expressions and directory markers name no library.
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
    if(item MATCHES "^Qt6?::")
      set(${out} TRUE PARENT_SCOPE)
      return()
    elseif(TARGET "${item}" AND NOT item IN_LIST seen)
      list(APPEND seen ${item})
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(libraries ${item} ${property})
        if(libraries)
          list(APPEND pending ${libraries})
        endif()
      endforeach()
    endif()
    list(LENGTH pending left)
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# Thread builds: every program that links Qt (the tests, and the programs
# some tests start) is built with korv_tsan_qt (testsupport/): the named
# suppressions, and Qt's own threads left unrecorded. Every other program runs
# with no suppression at all. Decided once the whole tree is defined, so each
# program's full link closure is known. Built in, so it holds however the
# program is started (CTest, test discovery, by hand).
function(korv_thread_build_programs)
  set(directories ${PROJECT_SOURCE_DIR})
  list(LENGTH directories left)
  while(left GREATER 0)
    list(POP_FRONT directories directory)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    list(APPEND directories ${subdirectories})
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        korv_links_qt(links_qt ${target})
        if(links_qt)
          target_link_libraries(${target} PRIVATE korv_tsan_qt)
        endif()
      endif()
    endforeach()
    list(LENGTH directories left)
  endwhile()
endfunction()
if(KORV_SANITIZE STREQUAL "thread")
  cmake_language(DEFER CALL korv_thread_build_programs)
endif()

# korv_add_test(<name> SOURCES ... [LIBS ...] [GUI] [REAL_TIME])
# GUI tests link the shared main that selects the offscreen platform itself.
# REAL_TIME tests drive the separately loaded libkorvio.so, whose clock cannot
# be injected, against simulated devices: they run alone so that a loaded
# machine does not push them past the protocol's time-outs.
function(korv_add_test name)
  cmake_parse_arguments(T "GUI;REAL_TIME" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
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
