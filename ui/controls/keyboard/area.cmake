# The system touch keyboard, shown for touch input into text controls.
target_sources(kestrum_ui_controls PRIVATE
  keyboard/on_screen_keyboard_manager.cpp)
target_link_libraries(kestrum_ui_controls PUBLIC ole32 shell32)

kestrum_add_gtest(kestrum_ui_controls_keyboard_test
  SOURCES
    keyboard/on_screen_keyboard_manager_test.cpp
  LIBS kestrum_ui_controls
  TIMEOUT 60)
