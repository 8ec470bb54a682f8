# Windows build: kelvane.exe, a variant whose power calls are recorded for the
# end-to-end tests, and the GoogleTest programs that run under Wine.
enable_language(RC)

# Only KnownDLLs and comctl32 (bound by the manifest) are linked; other
# system DLLs are loaded from the system folder at first use
# (base/system_library_win32.h), and scripts/check-imports.sh holds the list.
set(KELVANE_WIN32_LIBS user32 gdi32 comctl32 shell32 advapi32 ole32 uuid)
set(KELVANE_STATIC_LINK -static -static-libgcc -static-libstdc++)

# Built for size: -Os rather than -O3 (the program waits on messages and
# timers; what it does between them takes microseconds either way), every
# function and object in a section of its own so that the linker drops what
# nothing calls, and line tables (-g1) for the symbol file kept beside the
# stripped exe.
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
# Two builds of one commit in different folders give the same bytes: paths
# in the line tables and in assertions are relative to the source folder
# (the build folder sits at build/windows in both), and the PE header and
# the resources carry no build time. Nothing asks a type at run time
# (no dynamic_cast, no typeid), so classes carry no type information: 9.7 KB.
set(KELVANE_RELEASE_COMPILE -ffunction-sections -fdata-sections -g1 "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=." -fno-rtti)
target_compile_options(kelvane_core PRIVATE ${KELVANE_RELEASE_COMPILE})
# The portable core neither catches exceptions nor lets one pass on purpose:
# it reports results as values. Its cleanup paths and tables for exceptions
# were 12.8 KB of the program. An exception from below it (an allocation that
# fails) still travels up through its frames, whose x64 unwind tables stay,
# to the window procedure above, whose noexcept ends the program as before;
# only the destructors on the way are skipped. The grid's and the frame's
# index checks throw, and keep exceptions.
target_compile_options(kelvane_core PRIVATE -fno-exceptions)
set(KELVANE_THROWING_SOURCES controls/frame/shadow_frame.cpp controls/grid/grid_control.cpp
    controls/grid/grid_properties.cpp controls/grid/grid_model.cpp)
list(TRANSFORM KELVANE_THROWING_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/")
set_source_files_properties(${KELVANE_THROWING_SOURCES} PROPERTIES COMPILE_OPTIONS -fexceptions)
# The same holds for the shell's files that neither catch nor define a
# noexcept function (the window procedures, whose noexcept is the barrier
# that ends the program): some 6 KB more. A file is read again whenever it
# changes, so a catch or a window procedure added later brings its
# exceptions back.
foreach(source IN LISTS KELVANE_WIN32_SOURCES)
  file(READ "${source}" text)
  if(NOT text MATCHES "noexcept|catch \\(")
    set_source_files_properties("${source}" PROPERTIES COMPILE_OPTIONS -fno-exceptions)
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KELVANE_WIN32_SOURCES})
# libstdc++'s default terminate handler prints the type of an uncaught
# exception, demangled, to a console that a GUI program does not have; it
# brings the whole demangler (45 KB). Ending at once is what it does next.
set(KELVANE_RELEASE_LINK -Wl,--gc-sections -Wl,--no-insert-timestamp
    "-Wl,--defsym,_ZN9__gnu_cxx27__verbose_terminate_handlerEv=abort")

# The entry point and the real power calls are kept out of the shared shell
# library so that test programs can link a recording power backend instead.
set(KELVANE_SHELL_SOURCES ${KELVANE_WIN32_SOURCES})
list(FILTER KELVANE_SHELL_SOURCES EXCLUDE REGEX "(app_main|power_api|number_reader)_win32\\.cpp$")
set(KELVANE_REAL_POWER "${CMAKE_SOURCE_DIR}/power/power_api_win32.cpp")
set(KELVANE_MAIN "${CMAKE_SOURCE_DIR}/app/app_main_win32.cpp" "${CMAKE_SOURCE_DIR}/app/number_reader_win32.cpp")

add_library(kelvane_shell STATIC ${KELVANE_SHELL_SOURCES})
target_link_libraries(kelvane_shell PUBLIC kelvane_core ${KELVANE_WIN32_LIBS})
target_compile_definitions(kelvane_shell PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_options(kelvane_shell PRIVATE ${KELVANE_WARNINGS} ${KELVANE_RELEASE_COMPILE})
target_compile_definitions(kelvane_core PUBLIC UNICODE _UNICODE)

# The version resource and the manifest take the project's version; the
# copyright year is the build's (SOURCE_DATE_EPOCH fixes it for a rebuild).
string(TIMESTAMP KELVANE_BUILD_YEAR "%Y" UTC)
configure_file(resources/version.h.in "${CMAKE_BINARY_DIR}/generated/version.h" @ONLY)
configure_file(resources/kelvane.manifest.in "${CMAKE_BINARY_DIR}/generated/kelvane.manifest" @ONLY)

# The exe's icon is drawn by the program's own picture code, run on the build
# machine by a small tool built with the host compiler.
find_program(KELVANE_HOST_CXX NAMES g++ c++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(KELVANE_ICON "${CMAKE_BINARY_DIR}/generated/kelvane.ico")
add_custom_command(OUTPUT "${KELVANE_ICON}"
  COMMAND "${KELVANE_HOST_CXX}" -std=c++20 -O2 -I "${CMAKE_SOURCE_DIR}"
          "${CMAKE_SOURCE_DIR}/packaging/icon_writer.cpp" "${CMAKE_SOURCE_DIR}/resources/raster_art.cpp"
          -lz -o "${CMAKE_BINARY_DIR}/icon_writer"
  COMMAND "${CMAKE_BINARY_DIR}/icon_writer" "${KELVANE_ICON}"
  DEPENDS "${CMAKE_SOURCE_DIR}/packaging/icon_writer.cpp" "${CMAKE_SOURCE_DIR}/resources/raster_art.cpp"
          "${CMAKE_SOURCE_DIR}/resources/raster_art.h"
  VERBATIM)
add_custom_target(kelvane_icon DEPENDS "${KELVANE_ICON}")

set(KELVANE_RC "${CMAKE_SOURCE_DIR}/resources/kelvane.rc")
set_source_files_properties(${KELVANE_RC} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/kelvane.manifest;${CMAKE_BINARY_DIR}/generated/version.h;${KELVANE_ICON}")

function(kelvane_program name)
  add_executable(${name} WIN32 ${KELVANE_MAIN} ${KELVANE_RC} ${ARGN})
  target_include_directories(${name} PRIVATE "${CMAKE_BINARY_DIR}/generated" "${CMAKE_SOURCE_DIR}/resources")
  target_link_libraries(${name} PRIVATE kelvane_shell)
  target_compile_options(${name} PRIVATE ${KELVANE_WARNINGS} ${KELVANE_RELEASE_COMPILE})
  target_link_options(${name} PRIVATE ${KELVANE_STATIC_LINK} ${KELVANE_RELEASE_LINK} -municode)
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name} SUFFIX ".exe")
  add_dependencies(${name} kelvane_icon)
  # The shipped file carries no symbols; name.debug keeps them for crash
  # analysis, and the exe names it (.gnu_debuglink) so debuggers find it.
  # objcopy stamps a PE file with the time it runs unless SOURCE_DATE_EPOCH
  # says otherwise; 0 is what the linker wrote (no time at all).
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${objcopy} --only-keep-debug $<TARGET_FILE:${name}> $<TARGET_FILE_DIR:${name}>/${name}.debug
    COMMAND ${objcopy} --strip-all $<TARGET_FILE:${name}>
    COMMAND ${CMAKE_COMMAND} -E chdir $<TARGET_FILE_DIR:${name}> ${objcopy} --add-gnu-debuglink=${name}.debug $<TARGET_FILE_NAME:${name}>
    VERBATIM)
endfunction()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/generated -I${CMAKE_SOURCE_DIR}/resources")

kelvane_program(kelvane ${KELVANE_REAL_POWER})
kelvane_program(kelvane-recording "${CMAKE_SOURCE_DIR}/tests/e2e/recording_power_win32.cpp")

# The user guide that "&Help" opens lies beside the program. It is written
# as HTML in docs/help/ and printed to PDF by WeasyPrint, which needs no TeX.
find_program(KELVANE_WEASYPRINT weasyprint REQUIRED)
file(GLOB KELVANE_HELP_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/docs/help/*" "${CMAKE_SOURCE_DIR}/docs/images/*.png")
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/kelvane.pdf"
  COMMAND "${KELVANE_WEASYPRINT}" --quiet "${CMAKE_SOURCE_DIR}/docs/help/kelvane.html" "${CMAKE_BINARY_DIR}/kelvane.pdf"
  DEPENDS ${KELVANE_HELP_SOURCES}
  COMMENT "Printing the user guide to kelvane.pdf"
  VERBATIM)
add_custom_target(kelvane_help ALL DEPENDS "${CMAKE_BINARY_DIR}/kelvane.pdf")

# The installer's custom actions (packaging/kelvane.wxs): closing a running
# program before its files are replaced, and removing its logon entry after
# an uninstall. Windows Installer loads the DLL from inside the package.
add_library(kelvane_setup_actions SHARED "${CMAKE_SOURCE_DIR}/packaging/setup_actions_win32.cpp")
target_link_libraries(kelvane_setup_actions PRIVATE kelvane_shell msi)
target_compile_options(kelvane_setup_actions PRIVATE ${KELVANE_WARNINGS} ${KELVANE_RELEASE_COMPILE})
target_link_options(kelvane_setup_actions PRIVATE ${KELVANE_STATIC_LINK} ${KELVANE_RELEASE_LINK} -s)
set_target_properties(kelvane_setup_actions PROPERTIES PREFIX "" OUTPUT_NAME kelvane-setup-actions)

# Windows-side tests: one GoogleTest program, run by ctest under Wine through
# a wrapper that gives each run its own copy of the template prefix.
file(GLOB_RECURSE KELVANE_WIN32_TESTS CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/win32/*_test.cpp")
file(GLOB_RECURSE KELVANE_WIN32_TEST_SUPPORT CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/win32/support/*.cpp")
if(KELVANE_WIN32_TESTS)
  add_executable(kelvane_win32_tests ${KELVANE_WIN32_TESTS} ${KELVANE_WIN32_TEST_SUPPORT} ${KELVANE_REAL_POWER}
    "${CMAKE_SOURCE_DIR}/app/number_reader_win32.cpp")
  target_link_libraries(kelvane_win32_tests PRIVATE kelvane_shell GTest::gmock_main)
  target_include_directories(kelvane_win32_tests PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_BINARY_DIR}/generated")
  target_compile_options(kelvane_win32_tests PRIVATE ${KELVANE_WARNINGS})
  target_link_options(kelvane_win32_tests PRIVATE ${KELVANE_STATIC_LINK})
  add_test(NAME win32_unit
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh" "$<TARGET_FILE:kelvane_win32_tests>" --gtest_brief=1)
endif()

# The import table may name only DLLs that Windows never looks for beside the
# program; the check is shown to refuse a program that imports others.
add_test(NAME imports COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check-imports.sh"
         $<TARGET_FILE:kelvane> $<TARGET_FILE:kelvane-recording>)
add_test(NAME imports_refused COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/check-imports.sh"
         $<TARGET_FILE:kelvane_dll_probe>)
set_tests_properties(imports_refused PROPERTIES PASS_REGULAR_EXPRESSION "imports powrprof\\.dll"
                     FAIL_REGULAR_EXPRESSION "only KnownDLLs")

# Look-alikes of the system DLLs that the program loads itself, as someone
# might leave them beside a download, for the planted-DLL test: each has
# every export of the real one (the names come from mingw-w64's import
# library) and lives in a folder of its own, so that nothing else of the
# build ever starts beside it.
set(KELVANE_PLANTED_DLLS version msimg32 powrprof)
set(KELVANE_PLANTED_TARGETS)
foreach(name IN LISTS KELVANE_PLANTED_DLLS)
  find_library(KELVANE_IMPORT_LIBRARY_${name} NAMES ${name} REQUIRED)
  execute_process(COMMAND "${CMAKE_NM}" -g --defined-only "${KELVANE_IMPORT_LIBRARY_${name}}"
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "__imp_[A-Za-z0-9_]+" exports "${symbols}")
  list(REMOVE_DUPLICATES exports)
  list(SORT exports)
  list(TRANSFORM exports REPLACE "^__imp_(.*)$" "  \\1=PlantedEntry")
  list(JOIN exports "\n" exports)
  set(definitions "${CMAKE_BINARY_DIR}/generated/planted_${name}.def")
  file(CONFIGURE OUTPUT "${definitions}" CONTENT "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
  add_library(kelvane_planted_${name} SHARED "${CMAKE_SOURCE_DIR}/tests/e2e/helpers/planted_dll.cpp" "${definitions}")
  target_compile_definitions(kelvane_planted_${name} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
  target_compile_options(kelvane_planted_${name} PRIVATE ${KELVANE_WARNINGS})
  target_link_options(kelvane_planted_${name} PRIVATE ${KELVANE_STATIC_LINK})
  set_target_properties(kelvane_planted_${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
                        RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/planted"
                        ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/planted/lib")
  list(APPEND KELVANE_PLANTED_TARGETS kelvane_planted_${name})
endforeach()
add_executable(kelvane_dll_probe WIN32 "${CMAKE_SOURCE_DIR}/tests/e2e/helpers/dll_probe.cpp")
target_compile_definitions(kelvane_dll_probe PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(kelvane_dll_probe PRIVATE ${KELVANE_WARNINGS})
target_link_libraries(kelvane_dll_probe PRIVATE version msimg32 powrprof)
target_link_options(kelvane_dll_probe PRIVATE ${KELVANE_STATIC_LINK} -municode)

# End-to-end tests drive the real program from a GoogleTest program of their
# own, in a fresh prefix per run.
file(GLOB KELVANE_E2E_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/e2e/*_e2e.cpp"
     "${CMAKE_SOURCE_DIR}/tests/e2e/support/*.cpp")
if(KELVANE_E2E_SOURCES)
  add_executable(kelvane_e2e_tests ${KELVANE_E2E_SOURCES})
  target_link_libraries(kelvane_e2e_tests PRIVATE kelvane_shell GTest::gmock_main)
  target_include_directories(kelvane_e2e_tests PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_BINARY_DIR}/generated")
  target_compile_options(kelvane_e2e_tests PRIVATE ${KELVANE_WARNINGS})
  target_link_options(kelvane_e2e_tests PRIVATE ${KELVANE_STATIC_LINK})
  add_dependencies(kelvane_e2e_tests kelvane kelvane-recording kelvane_window_owner kelvane_task_waiter
                   kelvane_dll_probe ${KELVANE_PLANTED_TARGETS})
  add_test(NAME e2e
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/e2e-run.sh" "$<TARGET_FILE:kelvane_e2e_tests>" --gtest_brief=1)
  set_tests_properties(e2e PROPERTIES TIMEOUT 900)
endif()

# Script-driven end-to-end tests; each script is one ctest test.
file(GLOB KELVANE_E2E_TESTS CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh")
foreach(script IN LISTS KELVANE_E2E_TESTS)
  get_filename_component(name "${script}" NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash "${script}" "$<TARGET_FILE_DIR:kelvane>")
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300)
endforeach()

# Window-hiding tests: a second program that owns a normal, a minimised and a
# maximised window, so that hiding is tried on the windows of another process.
# It is built beside the test program, which starts it from there.
add_executable(kelvane_window_owner WIN32 "${CMAKE_SOURCE_DIR}/tests/win32/helpers/window_owner.cpp")
target_compile_definitions(kelvane_window_owner PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(kelvane_window_owner PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_window_owner PRIVATE ${KELVANE_STATIC_LINK} -municode)
if(TARGET kelvane_win32_tests)
  add_dependencies(kelvane_win32_tests kelvane_window_owner ${KELVANE_PLANTED_TARGETS})
endif()

# A task that the end-to-end tests let end when they choose.
add_executable(kelvane_task_waiter WIN32 "${CMAKE_SOURCE_DIR}/tests/e2e/helpers/task_waiter.cpp")
target_compile_definitions(kelvane_task_waiter PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_options(kelvane_task_waiter PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_task_waiter PRIVATE ${KELVANE_STATIC_LINK} -municode)

# The firing-latency benchmark: drives kelvane-recording.exe under Wine
# (scripts/bench.sh runs it).
add_executable(kelvane_firing_bench "${CMAKE_SOURCE_DIR}/bench/firing_latency_win32.cpp")
target_link_libraries(kelvane_firing_bench PRIVATE kelvane_shell)
target_compile_options(kelvane_firing_bench PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_firing_bench PRIVATE ${KELVANE_STATIC_LINK} -municode)
add_dependencies(kelvane_firing_bench kelvane-recording)

# The native floor that the footprint bench measures the program against.
add_executable(kelvane_floor WIN32 "${CMAKE_SOURCE_DIR}/bench/floor_win32.cpp" "${CMAKE_SOURCE_DIR}/bench/floor.rc")
target_include_directories(kelvane_floor PRIVATE "${CMAKE_BINARY_DIR}/generated")
target_compile_definitions(kelvane_floor PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(kelvane_floor PRIVATE comctl32 shell32 user32 gdi32)
target_compile_options(kelvane_floor PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_floor PRIVATE ${KELVANE_STATIC_LINK} -municode)
set_source_files_properties("${CMAKE_SOURCE_DIR}/bench/floor.rc" PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/kelvane.manifest")
add_executable(kelvane_footprint_bench "${CMAKE_SOURCE_DIR}/bench/footprint_win32.cpp")
target_link_libraries(kelvane_footprint_bench PRIVATE kelvane_shell psapi)
target_compile_options(kelvane_footprint_bench PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_footprint_bench PRIVATE ${KELVANE_STATIC_LINK} -municode)
add_dependencies(kelvane_footprint_bench kelvane kelvane_floor)

# The grid control as a user meets it, for the screenshots.
add_executable(kelvane_grid_host WIN32 "${CMAKE_SOURCE_DIR}/tests/win32/helpers/grid_host.cpp")
target_link_libraries(kelvane_grid_host PRIVATE kelvane_shell)
target_compile_options(kelvane_grid_host PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_grid_host PRIVATE ${KELVANE_STATIC_LINK} -municode)

# Grid painting against the list view; run by hand under Wine (see the file).
add_executable(kelvane_grid_paint_bench "${CMAKE_SOURCE_DIR}/bench/grid_paint_bench_win32.cpp")
target_link_libraries(kelvane_grid_paint_bench PRIVATE kelvane_shell)
target_compile_options(kelvane_grid_paint_bench PRIVATE ${KELVANE_WARNINGS})
target_link_options(kelvane_grid_paint_bench PRIVATE ${KELVANE_STATIC_LINK})
set_target_properties(kelvane_grid_paint_bench PROPERTIES OUTPUT_NAME grid_paint_bench)
