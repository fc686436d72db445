# The Windows cross build's test programs: the suites that need neither GL nor child processes,
# and the Win32 window's own, built with GoogleTest from Debian's sources (/usr/src/googletest)
# and run under Wine by CTest (the toolchain file sets Wine as the emulator). The programs themselves are proved end to end
# by the Linux suite's WindowsBuild tests, which run them under Wine beside the Linux build.
set(googletest_source /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${googletest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(test_support OBJECT support/run_program.cpp support/test_environment.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(test_support PUBLIC demo_core gtest)
# Unix paths: Wine's drive Z: is the host's root, so the programs find them as they are.
get_filename_component(xm_corpus_dir ${PROJECT_SOURCE_DIR}/../shared/xm-corpus ABSOLUTE)
target_compile_definitions(test_support PUBLIC DEMO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  XM_CORPUS_DIR="${xm_corpus_dir}")

# Each program: the layer library it tests, then its sources (relative to tests/).
set(windows_test_music demo_music music/effects_test.cpp music/loader_test.cpp music/mixer_test.cpp
  music/replay_test.cpp music/stream_thread_test.cpp music/xm_builder.cpp)
set(windows_test_core demo_core core/frame_clock_test.cpp)
set(windows_test_platform demo_platform platform/wav_writer_test.cpp platform/png_io_test.cpp)
set(windows_test_shell demo_shell shell/command_line_test.cpp shell/hidden_switch_test.cpp)
# The one suite that draws: it needs Wine's GL, so the Windows pass runs CTest on a display.
set(windows_test_window demo_platform platform/windows/window_procedure_test.cpp)
foreach(name test_music test_core test_platform test_shell test_window)
  set(sources ${windows_${name}})
  list(POP_FRONT sources library)
  list(TRANSFORM sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  add_executable(${name} ${sources})
  demo_warnings(${name})
  target_link_libraries(${name} PRIVATE ${library} test_support gtest_main)
  add_test(NAME windows.${name} COMMAND ${name})
  set_tests_properties(windows.${name} PROPERTIES TIMEOUT 300)
endforeach()
