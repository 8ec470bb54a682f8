# Native build: the portable core and its unit tests.
include(GoogleTest)

file(GLOB_RECURSE KELVANE_NATIVE_TESTS CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/*_test.cpp")
list(FILTER KELVANE_NATIVE_TESTS EXCLUDE REGEX "/tests/(win32|e2e)/")
file(GLOB_RECURSE KELVANE_TEST_SUPPORT CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp")

add_executable(kelvane_tests ${KELVANE_NATIVE_TESTS} ${KELVANE_TEST_SUPPORT})
target_link_libraries(kelvane_tests PRIVATE kelvane_core GTest::gmock_main)
target_include_directories(kelvane_tests PRIVATE "${CMAKE_SOURCE_DIR}/tests")
target_compile_options(kelvane_tests PRIVATE ${KELVANE_WARNINGS})
gtest_discover_tests(kelvane_tests DISCOVERY_MODE PRE_TEST)

if(KELVANE_BENCHMARKS)
  find_package(benchmark REQUIRED)
  file(GLOB KELVANE_BENCH_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/bench/*_bench.cpp")
  foreach(src IN LISTS KELVANE_BENCH_SOURCES)
    get_filename_component(name "${src}" NAME_WE)
    add_executable(${name} "${src}")
    target_link_libraries(${name} PRIVATE kelvane_core benchmark::benchmark)
    target_compile_options(${name} PRIVATE ${KELVANE_WARNINGS})
  endforeach()
endif()
