# Lists: the list box, its items and the tree view built on them.
target_sources(kestrum_ui_controls PRIVATE
  list/list_box.cpp
  list/list_container_element.cpp
  list/tree_node.cpp
  list/tree_view.cpp)

kestrum_add_gtest(kestrum_ui_controls_list_test
  SOURCES
    list/list_box_test.cpp
    list/tree_view_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
