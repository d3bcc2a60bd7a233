# Rich edit: the text box on the system's windowless rich edit object and its text host.
target_sources(kestrum_ui_controls PRIVATE
  richedit/rich_edit.cpp
  richedit/rich_edit_input.cpp
  richedit/txt_win_host.cpp)
target_link_libraries(kestrum_ui_controls PUBLIC imm32)

# A real hidden window with the system's rich edit library (Wine's under the test runner).
kestrum_add_gtest(kestrum_ui_controls_richedit_test
  SOURCES
    richedit/rich_edit_test.cpp
    richedit/txt_win_host_test.cpp
  LIBS kestrum_ui_base kestrum_ui_controls kestrum_ui_windowing
  LOCALES en zh
  TIMEOUT 120)
