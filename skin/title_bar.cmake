# The skinned title bar: sections, buttons, the window menu and the bar's
# rules are portable; the bar itself is a window (sui_title_bar_win.cpp).

# The window menu's captions, in one place: they become string resources
# (Windows) and the program's built-in copy of them (GBK, everywhere).
set(TITLE_BAR_MINIMISE "最小化(&N)")
set(TITLE_BAR_MAXIMISE "最大化/还原(&X)")
set(TITLE_BAR_CLOSE "关闭(&C)")
# String resource numbers; sui_title_bar_win.cpp reads them through the
# definitions below.
set(TITLE_BAR_STRING_MINIMISE 27331)
set(TITLE_BAR_STRING_MAXIMISE 27332)
set(TITLE_BAR_STRING_CLOSE 27333)

set(TITLE_BAR_TEXTS_DIR ${CMAKE_SOURCE_DIR}/resources/skin/title_bar)
configure_file(${TITLE_BAR_TEXTS_DIR}/title_bar_texts.cpp.in
  ${CMAKE_CURRENT_BINARY_DIR}/title_bar_texts.utf8.cpp @ONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/title_bar_texts.cpp
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/gbk_literals.py
          ${CMAKE_CURRENT_BINARY_DIR}/title_bar_texts.utf8.cpp
          ${CMAKE_CURRENT_BINARY_DIR}/title_bar_texts.cpp
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/title_bar_texts.utf8.cpp
          ${CMAKE_SOURCE_DIR}/scripts/gbk_literals.py
  VERBATIM)

vanto_platform_sources(TITLE_BAR_SOURCES
  sui_title_bar.cpp sui_title_bar_rules.cpp sui_title_bar_classes.cpp
  sui_title_bar_posix.cpp sui_title_bar_win.cpp sui_title_bar_classes_win.cpp)
add_library(vanto_skin_title_bar STATIC ${TITLE_BAR_SOURCES}
  ${CMAKE_CURRENT_BINARY_DIR}/title_bar_texts.cpp)
target_link_libraries(vanto_skin_title_bar PUBLIC vanto_skin_menus)
target_compile_definitions(vanto_skin_title_bar PRIVATE
  TITLE_BAR_STRING_MINIMISE=${TITLE_BAR_STRING_MINIMISE}
  TITLE_BAR_STRING_MAXIMISE=${TITLE_BAR_STRING_MAXIMISE}
  TITLE_BAR_STRING_CLOSE=${TITLE_BAR_STRING_CLOSE})

if(WIN32)
  configure_file(${TITLE_BAR_TEXTS_DIR}/title_bar_strings.rc.in
    ${CMAKE_CURRENT_BINARY_DIR}/title_bar_strings.rc @ONLY)
  # Resources in a static library are never pulled in by a symbol: every
  # program that links the title bar gets the object itself.
  add_library(vanto_title_bar_strings OBJECT ${CMAKE_CURRENT_BINARY_DIR}/title_bar_strings.rc)
  target_sources(vanto_skin_title_bar INTERFACE $<TARGET_OBJECTS:vanto_title_bar_strings>)
  add_dependencies(vanto_skin_title_bar vanto_title_bar_strings)
endif()
