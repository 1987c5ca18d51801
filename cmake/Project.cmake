# Shared build rules. KW_TARGET names the build: native (tests under sanitizers,
# fuzz targets), bench (native, optimised), win32 (Windows 95/98 deliverables)
# or win64 (the same programs; tests run under wine64).
if(NOT KW_TARGET)
  set(KW_TARGET native)
endif()
set(KW_DIST ${CMAKE_SOURCE_DIR}/dist/${KW_TARGET})
set(KW_WINERUN ${CMAKE_SOURCE_DIR}/tests/wine/winerun.sh)
set(KW_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

function(kw_winpath out path)
  string(REPLACE "/" "\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
kw_winpath(KW_DIST_W ${KW_DIST})
kw_winpath(KW_SRC_W ${CMAKE_SOURCE_DIR})
kw_winpath(KW_BIN_W ${CMAKE_BINARY_DIR})

# GoogleTest from Debian's sources, built for this target before our own
# warning flags apply.
if(NOT KW_TARGET STREQUAL "win32")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  if(KW_TARGET STREQUAL "native")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

if(WIN32)
  add_compile_definitions(WINVER=0x0400 _WIN32_WINDOWS=0x0410 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 STRICT NOMINMAX)
  add_compile_options(-Wall -Wextra -Werror -Os -ffunction-sections -fdata-sections
    -include ${CMAKE_SOURCE_DIR}/toolkit/LeanPrefix.h)
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
elseif(KW_TARGET STREQUAL "native")
  add_compile_options(-Wall -Wextra -Werror -g -O1 -fno-sanitize-recover=undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
else()
  add_compile_options(-Wall -Wextra -Werror -O2)
endif()

# A shipped program or library: copied to dist/<target>/; on win32 its import
# table is checked against what Windows 95/98 offer.
function(kw_deliver target)
  if(NOT WIN32)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KW_DIST}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${KW_DIST}/)
  # The library's error hooks, replaced (toolkit/LeanRuntime.cpp), unless the
  # target does without exceptions altogether.
  get_target_property(opts ${target} COMPILE_OPTIONS)
  if(NOT "${opts}" MATCHES "-fno-exceptions")
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/toolkit/LeanRuntime.cpp)
  endif()
  if(KW_TARGET STREQUAL "win32")
    add_test(NAME win32.imports.${target}
      COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh $<TARGET_FILE:${target}> ${ARGN})
  endif()
endfunction()

# kw_test(name SOURCES ... LIBS ... [GUI]): a GoogleTest program; native ones run
# directly, win64 ones under wine64 (serialised: they share one prefix).
function(kw_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  if(KW_TARGET STREQUAL "win32" OR KW_TARGET STREQUAL "bench")
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  if(WIN32)
    add_test(NAME ${KW_TARGET}.${name} COMMAND ${KW_WINERUN} $<TARGET_FILE:${name}>)
    set_tests_properties(${KW_TARGET}.${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT 600
      ENVIRONMENT "WINEPREFIX=${KW_WINEPREFIX};KW_DIST=${KW_DIST_W};KW_SRC=${KW_SRC_W};KW_BIN=${KW_BIN_W}")
  else()
    add_test(NAME ${KW_TARGET}.${name} COMMAND ${name})
    set_tests_properties(${KW_TARGET}.${name} PROPERTIES TIMEOUT 600
      ENVIRONMENT "KW_SRC=${CMAKE_SOURCE_DIR};KW_BIN=${CMAKE_BINARY_DIR}")
  endif()
endfunction()

# kw_road95(name TEST target [FILTER pattern] [WIN98]): a road of the 32-bit
# programs in dist/win32, as users run them on Windows 95: the win64 GoogleTest
# program `target` (its tests matching `pattern`) run as win32.<name> under
# winerun.sh's 32-bit mode, in the prefix of the win32 build folder. The UI kit
# tells each program it starts that it runs on Windows 95 (98 with WIN98).
# KW_BIN32 names the win32 build folder, for 32-bit helper programs.
function(kw_road95 name)
  cmake_parse_arguments(R "WIN98" "TEST;FILTER" "" ${ARGN})
  if(NOT KW_TARGET STREQUAL "win64")
    return()
  endif()
  set(version win95)
  if(R_WIN98)
    set(version win98)
  endif()
  set(args)
  if(R_FILTER)
    set(args --gtest_filter=${R_FILTER})
  endif()
  get_filename_component(builds ${CMAKE_BINARY_DIR} DIRECTORY)
  kw_winpath(dist32 ${CMAKE_SOURCE_DIR}/dist/win32)
  kw_winpath(bin32 ${builds}/win32)
  add_test(NAME win32.${name} COMMAND ${KW_WINERUN} $<TARGET_FILE:${R_TEST}> ${args})
  set_tests_properties(win32.${name} PROPERTIES RESOURCE_LOCK wine32 TIMEOUT 600
    ENVIRONMENT "WINE32_QEMU=1;WINEPREFIX=${builds}/win32/wineprefix;KW_WINVER=${version};KW_DIST=${dist32};KW_SRC=${KW_SRC_W};KW_BIN=${KW_BIN_W};KW_BIN32=${bin32}")
endfunction()

# kw_fuzz(name SOURCES ... LIBS ... [DICT file] [CORPUS dir...]): a libFuzzer
# target (native clang build only). Its corpus is fuzz/corpus/<name>/, its
# reproducers of mended findings fuzz/regress/<name>/; CORPUS adds seed folders
# (hand-made samples, fuzz/seeds/).
# ctest runs it for 15 s from a fresh folder seeded with all of these; `make
# fuzz` (tools/fuzz.sh) finds it through build/native/fuzz-targets/<name>.
function(kw_fuzz name)
  cmake_parse_arguments(F "" "DICT" "SOURCES;LIBS;CORPUS" ${ARGN})
  if(NOT KW_TARGET STREQUAL "native" OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
  endif()
  add_dependencies(fuzz_targets ${name})
  set(seeds ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name} ${CMAKE_SOURCE_DIR}/fuzz/regress/${name} ${F_CORPUS})
  set(dict "")
  if(F_DICT)
    get_filename_component(dict ${F_DICT} ABSOLUTE)
  endif()
  list(JOIN seeds " " seedtext)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzz-targets/${name}
    CONTENT "bin=$<TARGET_FILE:${name}>\ndict=${dict}\nseeds=${seedtext}\n")
  set(work ${CMAKE_BINARY_DIR}/fuzz-test/${name})
  set(opts -max_total_time=15 -rss_limit_mb=2048 -timeout=10 -print_final_stats=0)
  if(dict)
    list(APPEND opts -dict=${dict})
  endif()
  list(JOIN opts " " opttext)
  add_test(NAME ${KW_TARGET}.fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
      sh -c "rm -rf ${work} && mkdir -p ${work} && exec $<TARGET_FILE:${name}> ${opttext} ${work} $(ls -d ${seedtext} 2>/dev/null)")
  set_tests_properties(${KW_TARGET}.fuzz.${name} PROPERTIES TIMEOUT 120)
endfunction()

# Adds every listed sub-folder that has a CMakeLists.txt, so each part of the
# tree can be built as soon as it exists.
function(kw_add_subdirs)
  foreach(d ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/CMakeLists.txt)
      add_subdirectory(${d})
    endif()
  endforeach()
endfunction()
