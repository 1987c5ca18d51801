# zlib for the 32-bit build, compiled for a 486 from the copy in GCC's sources
# (Debian's gcc-12-source, which tools/deps.sh installs): the prebuilt mingw
# libz.a targets a Pentium Pro. Small over fast: one CRC table. Sets
# KW_ZLIB_LIBRARY; without those sources, the prebuilt library.
set(KW_ZLIB_LIBRARY ${CMAKE_FIND_ROOT_PATH}/lib/libz.a)
file(GLOB kw_gcc_tarball /usr/src/gcc-12/gcc-12*.tar.xz)
set(kw_zlib_dir ${CMAKE_BINARY_DIR}/zlib486)
if(kw_gcc_tarball AND NOT EXISTS ${kw_zlib_dir}/inflate.c)
  file(MAKE_DIRECTORY ${kw_zlib_dir})
  execute_process(COMMAND tar -xJf ${kw_gcc_tarball} -C ${kw_zlib_dir} --strip-components=2
      --wildcards --no-wildcards-match-slash "*/zlib/*.[ch]")
endif()
if(EXISTS ${kw_zlib_dir}/inflate.c)
  # Deflate too, for the package builder; the linker keeps only what is used.
  add_library(kw_zlib STATIC ${kw_zlib_dir}/adler32.c ${kw_zlib_dir}/crc32.c ${kw_zlib_dir}/deflate.c
    ${kw_zlib_dir}/inffast.c ${kw_zlib_dir}/inflate.c ${kw_zlib_dir}/inftrees.c ${kw_zlib_dir}/trees.c
    ${kw_zlib_dir}/zutil.c)
  # Its own options, not the project's (warnings as errors, the C++ prefix).
  set_property(TARGET kw_zlib PROPERTY COMPILE_OPTIONS -Os -march=i486 -ffunction-sections -fdata-sections -w)
  target_compile_definitions(kw_zlib PRIVATE NOBYFOUR)
  target_include_directories(kw_zlib BEFORE PUBLIC ${kw_zlib_dir})
  set(KW_ZLIB_LIBRARY kw_zlib)
else()
  message(WARNING "GCC's sources (gcc-12-source) not found: UNPACK32.DLL keeps the prebuilt zlib, built for a Pentium Pro")
endif()
