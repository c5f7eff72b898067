# The chart window and the chart/table dialog (Qt Widgets) over the plain chart arithmetic.
set(CMAKE_AUTOMOC ON)
add_library(ksv_charts_gui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/chart_painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_wnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/matrix_chart_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/matrix_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/matrix_table_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_save_ui.cpp
)
target_include_directories(ksv_charts_gui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(ksv_charts_gui PUBLIC Qt6::Widgets ksv_charts ksv_format ksv_platform_core
  ksv_qt_platform)
