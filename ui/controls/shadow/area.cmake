# The window shadow: the record of a window's shadow settings and the box that draws it.
target_sources(kestrum_ui_controls PRIVATE
  shadow/shadow_box.cpp
  shadow/window_shadow.cpp)

kestrum_add_gtest(kestrum_ui_controls_shadow_test
  SOURCES
    shadow/window_shadow_test.cpp
  LIBS kestrum_ui_controls
  TIMEOUT 60)
