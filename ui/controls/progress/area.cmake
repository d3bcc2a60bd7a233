# Progress bar and slider.
target_sources(kestrum_ui_controls PRIVATE
  progress/progress.cpp
  progress/slider.cpp)

kestrum_add_gtest(kestrum_ui_controls_progress_test
  SOURCES
    progress/progress_test.cpp
    progress/slider_test.cpp
    render/gdiplus/render_test_environment.cpp
  LIBS kestrum_ui_controls kestrum_ui_windowing
  TIMEOUT 60)
