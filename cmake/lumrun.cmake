# lumrun_layer(NAME DEPS...): one static library from every .cpp below the
# calling folder, with the repository root as include root, so code says
# #include "platform/files.h".
function(lumrun_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# lumrun_test_suite(NAME DIR LIBS...): one GoogleTest program from tests/DIR.
function(lumrun_test_suite name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    LUMRUN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    LUMRUN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# Every layer library that exists so far, highest layer first, for programs
# (tests, tools, benchmarks, fuzz targets) that may use any of them.
function(lumrun_all_layers out)
  set(libs "")
  foreach(layer shell engine games scene library script media render platform)
    if(TARGET lum_${layer})
      list(APPEND libs lum_${layer})
    endif()
  endforeach()
  set(${out} ${libs} PARENT_SCOPE)
endfunction()
