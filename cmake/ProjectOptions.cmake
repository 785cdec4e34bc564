# Warnings, sanitizers and platform settings shared by every target.
add_library(vanto_options INTERFACE)
target_compile_options(vanto_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
  -Wno-missing-field-initializers)
target_include_directories(vanto_options INTERFACE ${CMAKE_SOURCE_DIR})
# The program's texts are GBK bytes at run time: sources are UTF-8, and every
# narrow literal is compiled into code page 936. UTF-8 text, where it is
# needed (JSON, terminals, tests), is written as u8"" literals.
target_compile_options(vanto_options INTERFACE -finput-charset=UTF-8 -fexec-charset=CP936)

if(WIN32)
  # Windows 7 or later; SSE2 is on every 32-bit Windows still supported.
  target_compile_definitions(vanto_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(vanto_options INTERFACE -msse2 -mfpmath=sse)
  target_link_options(vanto_options INTERFACE -static -static-libgcc -static-libstdc++)
  list(APPEND CMAKE_PREFIX_PATH /opt/vanto-mingw)
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
