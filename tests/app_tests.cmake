# Scripted stand-ins for the dialogs and a recorder of the window's events, for every test
# that drives the window or its handlers.
add_library(tessarin_test_support STATIC
  support/modal_script.cpp
  support/scripted_dialogs.cpp
)
target_link_libraries(tessarin_test_support PUBLIC tessarin_app GTest::gtest)

tessarin_add_test(app_test WIDGETS
  SOURCES
    color_picker_test.cpp
    combo_box_test.cpp
    common_dlg_test.cpp
    draw_panel_test.cpp
    edit_box_test.cpp
    file_dialog_service_test.cpp
    main_window_test.cpp
    message_box_test.cpp
    process_bar_test.cpp
    program_pictures_test.cpp
    window_keyboard_test.cpp
  LIBS tessarin_app tessarin_test_support)

# Makes its own application object in every test.
tessarin_add_test(start_up_test SOURCES start_up_test.cpp LIBS tessarin_app tessarin_test_support)
