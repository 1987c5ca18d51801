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
  add_compile_options(-Wall -Wextra -Werror -Os -ffunction-sections -fdata-sections -fno-ident
    -include ${CMAKE_SOURCE_DIR}/toolkit/LeanPrefix.h)
  if(KW_TARGET STREQUAL "win32")
    # No dynamic_cast or typeid anywhere: the type records of every polymorphic
    # class, and the library's multiple-inheritance cast code, stay out.
    # Thrown types still get theirs, so catch clauses match as before.
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
    # Windows 95 runs on 486 and Pentium processors: no CMOV, FCOMI or SSE.
    add_compile_options(-march=i486)
    # The programs run their code on one thread: function-local statics need
    # no locks (kw_deliver turns them back on for a DLL's own sources).
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
    # Link-time optimisation of the project's code. The linker cannot drop an
    # unused function here: on PE every function's unwind record sits in one
    # kept .eh_frame per object and holds it alive. The optimiser sees the
    # whole program and leaves such functions out before any record is
    # written. One partition: GCC 12 fails (an internal error in modref) when
    # it splits these programs. Functions whose only exception handling is
    # clean-up get the C personality routine then (libgcc_eh's unwind-c,
    # rebuilt for the 486 in toolkit/lib486).
    add_compile_options(-flto)
    add_link_options(-flto -flto-partition=one -Os -march=i486)
  endif()
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
elseif(KW_TARGET STREQUAL "native")
  add_compile_options(-Wall -Wextra -Werror -g -O1 -fno-sanitize-recover=undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
else()
  add_compile_options(-Wall -Wextra -Werror -O2)
endif()

# kw_deliver(target [WITH_MSVCRT] [EXTRA.DLL ...]): a shipped program or library,
# copied to dist/<target>/. On win32 it links the project's own C runtime
# (toolkit/runtime) in place of MSVCRT.DLL, which a bare Windows 95 lacks, and
# its import table is checked against what Windows 95/98 offer. WITH_MSVCRT
# keeps MSVCRT.DLL, for console tools that only run on the author's machine.
function(kw_deliver target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(D "WITH_MSVCRT" "" "" ${ARGN})
  set(extra ${D_UNPARSED_ARGUMENTS})
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
    # The link map names the functions behind what the processor check finds
    # in the stripped program (tools/check-cpu.sh).
    target_link_options(${target} PRIVATE -Wl,-Map=${KW_MAPS}/$<TARGET_FILE_NAME:${target}>.map)
    if(D_WITH_MSVCRT)
      list(APPEND extra MSVCRT.DLL)
      # The mingw-w64 start-up and C library parts it links were built for a
      # Pentium Pro, and no sources of them come with Debian: the processor
      # check reports their finds without failing.
      kw_lib486(${target})
      # libgcc's thread hooks still must not call CreateSemaphoreW.
      target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/toolkit/runtime/Semaphore.cpp)
      file(GENERATE OUTPUT ${KW_MAPS}/$<TARGET_FILE_NAME:${target}>.tool
        CONTENT "an author's tool on the C runtime DLL\n" TARGET ${target})
    else()
      kw_own_runtime(${target})
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      target_compile_options(${target} PRIVATE -fthreadsafe-statics)
    endif()
    add_test(NAME win32.imports.${target}
      COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh $<TARGET_FILE:${target}> ${extra})
  endif()
endfunction()

# Links the target against toolkit/runtime instead of the C runtime DLL: the
# specs file (written there) replaces the compiler's start files and default
# libraries. Auto-import off: any data a DLL would have to supply becomes a
# link error instead of a relocation this runtime does not perform.
function(kw_own_runtime target)
  target_link_options(${target} PRIVATE -specs=${KW_RUNTIME_SPECS}
    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc
    # Windows 95 loads a program at its preferred base: no relocations needed.
    $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-Wl,--disable-reloc-section>)
  add_dependencies(${target} kw_runtime)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KW_RUNTIME_SPECS} $<TARGET_FILE:kw_runtime>)
  kw_lib486(${target})
endfunction()

# Links the target against libstdc++ and libgcc_eh with their members rebuilt
# for the 486 (toolkit/lib486): that folder comes before the compiler's own.
function(kw_lib486 target)
  target_link_options(${target} PRIVATE -L${KW_LIB486})
  add_dependencies(${target} kw_lib486)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KW_LIB486_FILES})
endfunction()
set(KW_RUNTIME_SPECS ${CMAKE_BINARY_DIR}/kw_runtime.specs)
set(KW_LIB486 ${CMAKE_BINARY_DIR}/lib486)
set(KW_LIB486_FILES ${KW_LIB486}/libstdc++.a ${KW_LIB486}/libgcc_eh.a)
set(KW_MAPS ${CMAKE_BINARY_DIR}/maps)
file(MAKE_DIRECTORY ${KW_MAPS})
# zlib: built for the 486 in the 32-bit build (toolkit/lib486).
if(KW_TARGET STREQUAL "win32")
  set(KW_ZLIB_LIBRARY kw_zlib)
elseif(WIN32)
  set(KW_ZLIB_LIBRARY ${CMAKE_FIND_ROOT_PATH}/lib/libz.a)
endif()

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
