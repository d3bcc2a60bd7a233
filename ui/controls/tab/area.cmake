# Tab box (one child at a time) and the tile layout with its box.
target_sources(kestrum_ui_controls PRIVATE
  tab/tab_box.cpp
  tab/tile_box.cpp
  tab/tile_layout.cpp)

kestrum_add_gtest(kestrum_ui_controls_tab_test
  SOURCES
    tab/tab_box_test.cpp
    tab/tile_layout_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
