# Virtual list: many equal rows shown by a fixed pool of element controls.
target_sources(kestrum_ui_controls PRIVATE
  virtuallist/virtual_layout.cpp
  virtuallist/virtual_list_box.cpp)

kestrum_add_gtest(kestrum_ui_controls_virtuallist_test
  SOURCES
    virtuallist/virtual_list_box_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
