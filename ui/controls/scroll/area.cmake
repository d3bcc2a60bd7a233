# Scrolling: the scroll bar and the arithmetic it shares with scrolling boxes.
target_sources(kestrum_ui_controls PRIVATE
  scroll/scaled_div.cpp
  scroll/scroll_bar.cpp)

kestrum_add_gtest(kestrum_ui_controls_scroll_test
  SOURCES
    scroll/scaled_div_test.cpp
    scroll/scroll_bar_paint_test.cpp
    scroll/scroll_bar_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
