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

# The real program in a real X window.
add_test(NAME window_under_xvfb.shows_and_closes_with_escape
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/window_smoke_test shows-and-closes $<TARGET_FILE:tessarin>)
add_test(NAME window_under_xvfb.ends_with_minus_one_without_a_display
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/window_smoke_test no-display $<TARGET_FILE:tessarin>)
set_tests_properties(window_under_xvfb.shows_and_closes_with_escape
  window_under_xvfb.ends_with_minus_one_without_a_display PROPERTIES TIMEOUT 60
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/xvfb/leak_suppressions.txt")
