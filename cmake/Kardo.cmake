# Helpers shared by every folder's CMakeLists.txt.
#
#   kardo_library(NAME SOURCES a.cpp b.cpp DEPS other_lib ...)
#     a static library kardo_NAME whose headers are included as "NAME/x.h" from src/.
#   kardo_test(NAME SOURCES ... DEPS ...)
#     a GoogleTest program NAME_tests registered with CTest test by test.
#   kardo_bench(NAME SOURCES ... DEPS ...)
#     a Google Benchmark program NAME_bench in build/bench/.

function(kardo_library name)
  cmake_parse_arguments(K "" "" "SOURCES;DEPS" ${ARGN})
  add_library(kardo_${name} STATIC ${K_SOURCES})
  target_include_directories(kardo_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kardo_${name} PUBLIC ${K_DEPS})
endfunction()

function(kardo_test name)
  cmake_parse_arguments(K "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name}_tests ${K_SOURCES})
  target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name}_tests PRIVATE ${K_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name}_tests PRIVATE
    KARDO_SHARED_DATA="${PROJECT_SOURCE_DIR}/../shared/data"
    KARDO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KARDO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()

function(kardo_bench name)
  cmake_parse_arguments(K "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name}_bench ${K_SOURCES})
  set_target_properties(${name}_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  target_link_libraries(${name}_bench PRIVATE ${K_DEPS} benchmark::benchmark)
endfunction()

# Adds every listed subfolder that has a CMakeLists.txt, so folders can arrive one at a time.
# KARDO_ONLY (a ;-list of folder names) restricts a build to some folders while others are
# being written.
set(KARDO_ONLY "" CACHE STRING "Build only these folders (empty: all)")
function(kardo_subdirs)
  foreach(dir ${ARGN})
    if(KARDO_ONLY AND NOT dir IN_LIST KARDO_ONLY)
      continue()
    endif()
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
