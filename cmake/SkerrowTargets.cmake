# Helpers that turn one source folder into one static library, and one test folder into one
# GoogleTest executable. Sources are globbed so a new file needs no edit here.

# skerrow_library(NAME FOLDER [DEPS ...]): static library from FOLDER/*.cpp (not recursive).
function(skerrow_library name folder)
  file(GLOB srcs CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.c)
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# skerrow_test(NAME FOLDER [DEPS ...] [WHOLE_SUITES SUITE ...]): one test executable from
# FOLDER/*.cpp, registered with CTest one case a test. A suite named in WHOLE_SUITES is one CTest
# test (named after the suite) that runs all its cases in one process: its cases share a costly
# SetUpTestSuite (game runs, a generated pack) that would otherwise run again for every case.
function(skerrow_test name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "WHOLE_SUITES")
  file(GLOB srcs CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${arg_UNPARSED_ARGUMENTS} skerrow_testsupport GTest::gtest
                                        GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    SKERROW_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    SKERROW_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set(env "SDL_VIDEODRIVER=offscreen;ALSOFT_DRIVERS=null;LP_NUM_THREADS=0")
  set(filter "*")
  if(arg_WHOLE_SUITES)
    list(JOIN arg_WHOLE_SUITES ".*:" whole)
    set(filter "-${whole}.*")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${filter}"
    PROPERTIES ENVIRONMENT "${env}")
  foreach(suite ${arg_WHOLE_SUITES})
    add_test(NAME ${suite} COMMAND ${name} --gtest_filter=${suite}.*)
    # A suite name that matches no case would otherwise pass with nothing run.
    set_tests_properties(${suite} PROPERTIES ENVIRONMENT "${env}"
                         FAIL_REGULAR_EXPRESSION "0 tests from 0 test suites ran")
  endforeach()
endfunction()
