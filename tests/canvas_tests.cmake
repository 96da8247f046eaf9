tessarin_add_test(read_file_bytes_test SOURCES read_file_bytes_test.cpp LIBS tessarin_canvas)
tessarin_add_test(picture_decoder_test SOURCES picture_decoder_test.cpp LIBS tessarin_canvas ZLIB::ZLIB)
tessarin_add_test(jpeg_decoder_test SOURCES jpeg_decoder_test.cpp LIBS tessarin_canvas JPEG::JPEG)
tessarin_add_test(bad_input_test SOURCES bad_input_test.cpp LIBS tessarin_canvas)
tessarin_add_test(bitmap_loader_test SOURCES bitmap_loader_test.cpp LIBS tessarin_canvas)
tessarin_add_test(picture_file_test SOURCES picture_file_test.cpp LIBS tessarin_canvas)

# The canvas surface, text stamping, opening a picture and the editing handlers. A Qt
# application gives the text its fonts; no widget is involved.
tessarin_add_test(canvas_test WIDGETS
  SOURCES
    canvas_surface_test.cpp
    canvas_text_test.cpp
    canvas_editing_test.cpp
    open_picture_test.cpp
  LIBS tessarin_canvas Qt6::Widgets)

# The same through the main window: the program's handlers, the canvas panel and the
# dialogs answered by script.
tessarin_add_test(canvas_window_test WIDGETS
  SOURCES program_handlers_test.cpp
  LIBS tessarin_app tessarin_test_support)

# The real program end to end under Xvfb: open, paint, stamp, convert, close; the workbook
# read back with openpyxl.
add_test(NAME edit_and_convert_under_xvfb
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/edit_and_convert_test $<TARGET_FILE:tessarin>)
set_tests_properties(edit_and_convert_under_xvfb PROPERTIES TIMEOUT 120
  ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/xvfb/leak_suppressions.txt")
