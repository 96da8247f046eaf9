# The conversion run and tessarin-convert.

# The run against a scripted window and a recording server; workbooks read by openpyxl.
tessarin_add_test(conversion_run_test SOURCES conversion_run_test.cpp
  LIBS tessarin_render tessarin_recording_server tessarin_workbook_reader)

# tessarin-convert run as a program.
tessarin_add_test(tessarin_convert_test SOURCES tessarin_convert_test.cpp
  LIBS tessarin_render tessarin_workbook_reader tessarin_program_run)
add_dependencies(tessarin_convert_test tessarin-convert)

# The conversion through the real window (offscreen), and against tessarin-convert.
tessarin_add_test(conversion_window_test WIDGETS SOURCES conversion_window_test.cpp
  LIBS tessarin_app tessarin_test_support tessarin_recording_server tessarin_workbook_reader
       tessarin_program_run)
add_dependencies(conversion_window_test tessarin-convert)
