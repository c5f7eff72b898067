# The on-screen control objects (Qt Widgets). Their child windows come from ksv_qt_platform.
set(CMAKE_AUTOMOC ON)
add_library(ksv_ctrl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ctrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_blob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_date_time.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_latch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_matrix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_number.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_password.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_section.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_unsupported.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/momentary_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/value_text.cpp
)
target_include_directories(ksv_ctrl PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(ksv_ctrl PUBLIC Qt6::Widgets ksv_link ksv_qt_platform ksv_ctrl_rules
  ksv_charts ksv_charts_gui ksv_gif ksv_dialogs)
