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

# skerrow_test(NAME FOLDER [DEPS ...]): one test executable from FOLDER/*.cpp, registered with CTest.
function(skerrow_test name folder)
  file(GLOB srcs CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARGN} skerrow_testsupport GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    SKERROW_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    SKERROW_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen;ALSOFT_DRIVERS=null;LP_NUM_THREADS=0")
endfunction()
