# Fuzz build (clang): one libFuzzer program per fuzz/*_fuzz.cpp, each with a
# smoke test that runs a fixed number of inputs from its seed corpus on.
file(GLOB KELVANE_FUZZ_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp")
set(KELVANE_FUZZ_SMOKE_RUNS 20000 CACHE STRING "Inputs each fuzz target runs in the test command")
set(KELVANE_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(src IN LISTS KELVANE_FUZZ_SOURCES)
  get_filename_component(name "${src}" NAME_WE)
  add_executable(${name} "${src}")
  target_link_libraries(${name} PRIVATE kelvane_core)
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/tests")
  target_compile_options(${name} PRIVATE ${KELVANE_WARNINGS} ${KELVANE_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${KELVANE_FUZZ_FLAGS})
  string(REGEX REPLACE "_fuzz$" "" corpus "${name}")
  add_test(NAME fuzz_${corpus}
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/fuzz.sh" --smoke ${KELVANE_FUZZ_SMOKE_RUNS} "$<TARGET_FILE:${name}>"
            "${CMAKE_SOURCE_DIR}/fuzz/corpus/${corpus}")
endforeach()
