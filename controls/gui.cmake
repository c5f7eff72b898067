# The on-screen control objects (Qt Widgets). Their child windows come from ksv_qt_platform.
set(CMAKE_AUTOMOC ON)
add_library(ksv_ctrl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ctrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctrl_unsupported.cpp
)
target_include_directories(ksv_ctrl PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(ksv_ctrl PUBLIC Qt6::Widgets ksv_link ksv_qt_platform)
