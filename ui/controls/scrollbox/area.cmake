# Scrollable box: a box whose content scrolls under on-demand scroll bars.
target_sources(kestrum_ui_controls PRIVATE
  scrollbox/scrollable_box.cpp)

kestrum_add_gtest(kestrum_ui_controls_scrollbox_test
  SOURCES
    scrollbox/scrollable_box_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
