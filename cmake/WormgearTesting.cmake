# wormgear_test_suite(NAME
#     SOURCES file...               the test sources
#     LIBRARIES target...           what they test (and the helpers they use)
#     [MAIN GTEST|QT_CORE|QT_WIDGETS]  GoogleTest's own main (the default), or
#                                   the shared Qt test main with a
#                                   QCoreApplication or a QApplication and the
#                                   modal-dialog watchdog
#     [APPLICATION class header]    with QT_WIDGETS: the application class to
#                                   create instead of QApplication
#     [DEFINITIONS name=value...]   compile definitions of the test sources
#     [DEPENDS target...])          built before the tests run (data files)
#
# Adds one test program and registers each of its tests with ctest. Nothing
# is built when BUILD_TESTING is off.
function(wormgear_test_suite name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "MAIN" "SOURCES;LIBRARIES;APPLICATION;DEFINITIONS;DEPENDS")
  if(NOT arg_MAIN)
    set(arg_MAIN GTEST)
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
  target_compile_definitions(${name} PRIVATE ${arg_DEFINITIONS})
  if(arg_MAIN STREQUAL "GTEST")
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/dialogs/testing/qt_test_main.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest Qt6::Core)
    if(arg_MAIN STREQUAL "QT_WIDGETS")
      target_link_libraries(${name} PRIVATE dialogs_testing Qt6::Widgets Qt6::Test)
      target_compile_definitions(${name} PRIVATE WORMGEAR_TEST_WIDGETS=1)
      if(arg_APPLICATION)
        list(GET arg_APPLICATION 0 class)
        list(GET arg_APPLICATION 1 header)
        target_compile_definitions(${name} PRIVATE WORMGEAR_TEST_APPLICATION=${class}
                                                   WORMGEAR_TEST_APPLICATION_HEADER="${header}")
      endif()
    elseif(NOT arg_MAIN STREQUAL "QT_CORE")
      message(FATAL_ERROR "wormgear_test_suite(${name}): MAIN is GTEST, QT_CORE or QT_WIDGETS")
    endif()
  endif()
  if(arg_DEPENDS)
    add_dependencies(${name} ${arg_DEPENDS})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# wormgear_benchmark(NAME SOURCES file... LIBRARIES target... [DEFINITIONS ...] [DEPENDS ...])
# A Google Benchmark program, built when WORMGEAR_BENCHMARKS is on. The
# benchmarks share the tests' fixtures and Qt Test, so they also need
# BUILD_TESTING.
function(wormgear_benchmark name)
  if(NOT WORMGEAR_BENCHMARKS OR NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES;DEFINITIONS;DEPENDS")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE ${arg_DEFINITIONS})
  if(arg_DEPENDS)
    add_dependencies(${name} ${arg_DEPENDS})
  endif()
endfunction()

# wormgear_fuzz_target(NAME SOURCES file... LIBRARIES target...)
# A libFuzzer target, built when WORMGEAR_FUZZ is on (clang only).
function(wormgear_fuzz_target name)
  if(NOT WORMGEAR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
