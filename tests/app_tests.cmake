# Scripted stand-ins for the dialogs and a recorder of the window's events, for every test
# that drives the window or its handlers.
add_library(tessarin_test_support STATIC
  support/modal_script.cpp
  support/scripted_dialogs.cpp
)
target_link_libraries(tessarin_test_support PUBLIC tessarin_app GTest::gtest)

tessarin_add_test(app_test WIDGETS
  SOURCES
    file_dialog_service_test.cpp
    message_box_test.cpp
  LIBS tessarin_app tessarin_test_support)
