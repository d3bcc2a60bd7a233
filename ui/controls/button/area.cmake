# Text and clicking: label, button, check box and option, each over Control and over Box.
target_sources(kestrum_ui_controls PRIVATE
  button/button.cpp
  button/check_box.cpp
  button/label.cpp
  button/option.cpp)

kestrum_add_gtest(kestrum_ui_controls_button_test
  SOURCES
    button/button_test.cpp
    button/label_test.cpp
    button/option_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
