# The skinned form's portable rules: metrics, the non-client geometry, the
# style, the window region as data, the frame pieces and the menu bar's
# colours. The Windows side of the form calls them.
add_library(vanto_skin_form_rules STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/sui_form_rules.cpp)
target_link_libraries(vanto_skin_form_rules PUBLIC vanto_skin)

# The menu bar of the skinned form: a toolkit tool bar drawn by the rules
# above.
if(WIN32)
  add_library(vanto_skin_menu_bar STATIC ${CMAKE_CURRENT_SOURCE_DIR}/sui_menu_bar_win.cpp)
  target_link_libraries(vanto_skin_menu_bar PUBLIC vanto_skin_form_rules vanto_skin_menus
    vanto_controls)
endif()

# The skinned form on its host window.
if(WIN32)
  add_library(vanto_skin_form STATIC ${CMAKE_CURRENT_SOURCE_DIR}/sui_form_win.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sui_form_classes_win.cpp)
  target_link_libraries(vanto_skin_form PUBLIC vanto_skin_menu_bar vanto_skin_title_bar
    vanto_skin_controls comctl32)
endif()
