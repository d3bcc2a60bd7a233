# Combo box and its drop-down window.
target_sources(kestrum_ui_controls PRIVATE
  combo/combo.cpp
  combo/combo_wnd.cpp)

# The drop-down is a real popup window (Xvfb under Wine).
kestrum_add_gtest(kestrum_ui_controls_combo_test
  SOURCES
    combo/combo_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls
  TIMEOUT 180)
