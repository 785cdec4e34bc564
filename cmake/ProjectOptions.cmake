# Warnings, sanitizers and platform settings shared by every target.
add_library(vanto_options INTERFACE)
target_compile_options(vanto_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
  -Wno-missing-field-initializers)
target_include_directories(vanto_options INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_options(vanto_options INTERFACE -finput-charset=UTF-8)

if(WIN32)
  # The tree's architecture under its three names: the Wine rig that runs
  # its programs, the COFF machine the built-files check expects, and the
  # processorArchitecture of its application manifest.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(VANTO_WINE_ARCH win64)
    set(VANTO_MACHINE x64)
    set(VANTO_MANIFEST_ARCH amd64)
  else()
    set(VANTO_WINE_ARCH win32)
    set(VANTO_MACHINE x86)
    set(VANTO_MANIFEST_ARCH x86)
  endif()

  # Windows 7 or later; SSE2 is on every 32-bit Windows still supported (and
  # always on x86_64).
  target_compile_definitions(vanto_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_compile_options(vanto_options INTERFACE -msse2 -mfpmath=sse)
    # i686 unwinds C++ exceptions by DWARF frame tables, which need to
    # describe only the functions an exception can pass through. The
    # assembler's CFI directives describe every function; the compiler's own
    # tables leave out those it proves cannot throw, and let it combine stack
    # adjustments. Its tables come with padding and copies that the linker
    # does not merge on PE: cmake/UnwindTables.cmake compacts them after the
    # link. (x86_64 unwinds by the system's SEH tables, which every
    # non-leaf function needs.)
    target_compile_options(vanto_options INTERFACE
      -fno-asynchronous-unwind-tables -fno-dwarf2-cfi-asm)
  endif()
  target_link_options(vanto_options INTERFACE -static -static-libgcc -static-libstdc++)
  # Every user of a product downloads its installer: the programs are built
  # for size, each function and datum in a section of its own, so that the
  # linker drops whatever nothing reaches.
  target_compile_options(vanto_options INTERFACE -Os -ffunction-sections -fdata-sections)
  target_link_options(vanto_options INTERFACE -Wl,--gc-sections)
  list(APPEND CMAKE_PREFIX_PATH ${VANTO_MINGW_PREFIX})
  # -static does not reach a library named by its import library: without
  # this, FindZLIB picks libz.dll.a and every program needs zlib1.dll, which
  # Wine carries and a clean Windows does not.
  set(ZLIB_USE_STATIC_LIBS ON)
  # Our own build of zlib (scripts/bootstrap.sh: for size), before Debian's.
  set(ZLIB_ROOT ${VANTO_MINGW_PREFIX})
  find_package(ZLIB REQUIRED)
  find_package(JPEG REQUIRED)
else()
  option(VANTO_SANITIZE "Build the host tree with AddressSanitizer and UBSan" ON)
  if(VANTO_SANITIZE)
    target_compile_options(vanto_options INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(vanto_options INTERFACE -fsanitize=address,undefined)
  endif()
  find_package(ZLIB REQUIRED)
endif()

# Platform files are named *_win.cpp and *_posix.cpp; this helper keeps the
# ones for the tree being built.
function(vanto_platform_sources out)
  set(result)
  foreach(src IN LISTS ARGN)
    if(src MATCHES "_win\\.cpp$" AND NOT WIN32)
      continue()
    elseif(src MATCHES "_posix\\.cpp$" AND WIN32)
      continue()
    endif()
    list(APPEND result ${src})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The program's texts are GBK bytes at run time. Sources are UTF-8; a file
# that holds texts is written as NAME.cpp.in and turned into NAME.cpp with
# every literal as GBK escapes (scripts/gbk_literals.py). Compilers' own
# execution-charset options are not used: clang has none, and standard
# headers hold literals that GBK cannot express.
# vanto_gbk_sources(<var> <name.cpp.in>...): appends the generated sources to <var>.
function(vanto_gbk_sources var)
  set(result ${${var}})
  foreach(in IN LISTS ARGN)
    string(REGEX REPLACE "\\.in$" "" name ${in})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
    add_custom_command(OUTPUT ${out}
      COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/gbk_literals.py ${CMAKE_CURRENT_SOURCE_DIR}/${in} ${out}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${in} ${CMAKE_SOURCE_DIR}/scripts/gbk_literals.py
      VERBATIM)
    list(APPEND result ${out})
  endforeach()
  set(${var} ${result} PARENT_SCOPE)
endfunction()

# A program's icon and application manifest, as its resource script NAME.rc
# (beside the CMakeLists) pulls them in: NAME.ico (resources/make_icon.py)
# and NAME.manifest (resources/setup.manifest.in, which names the tree's own
# architecture for the program and for the common controls it asks for: a
# 64-bit program that asks for the x86 assembly gets the old version 5
# controls, or no start at all). Sets <out> to the script to compile.
function(vanto_program_resources out name)
  set(dir ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_command(
    OUTPUT ${dir}/${name}.ico
    COMMAND python3 ${CMAKE_SOURCE_DIR}/resources/make_icon.py ${dir}/${name}.ico
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_icon.py ${CMAKE_SOURCE_DIR}/resources/pack_picture.py
            ${CMAKE_SOURCE_DIR}/resources/bmp24.py)
  configure_file(${CMAKE_SOURCE_DIR}/resources/setup.manifest.in ${dir}/${name}.manifest @ONLY)
  configure_file(${name}.rc ${dir}/${name}.rc COPYONLY)
  # windres reports no dependencies: name the files the script pulls in.
  set_source_files_properties(${dir}/${name}.rc PROPERTIES
    OBJECT_DEPENDS "${dir}/${name}.ico;${dir}/${name}.manifest")
  set(${out} ${dir}/${name}.rc PARENT_SCOPE)
endfunction()
