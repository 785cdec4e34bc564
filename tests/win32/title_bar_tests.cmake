# The title bar on a real form: dragging, double clicks, the buttons' looks
# under the mouse, the window menu and the close button, driven by real input.
vanto_add_test(NAME title_bar_win_test SOURCES title_bar_win_test.cpp
  LIBS vanto_skin_title_bar vanto_ui_input vanto_theme_pictures)
