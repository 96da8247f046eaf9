tessarin_add_test(column_name_test SOURCES column_name_test.cpp LIBS tessarin_render)

# The automation layer.
tessarin_add_test(variant_test SOURCES variant_test.cpp LIBS tessarin_render)
tessarin_add_test(object_ref_test SOURCES object_ref_test.cpp LIBS tessarin_render)
tessarin_add_test(type_info_test SOURCES type_info_test.cpp LIBS tessarin_render)
tessarin_add_test(automation_registry_test SOURCES automation_registry_test.cpp
  LIBS tessarin_render)

# The embedded spreadsheet engine.
tessarin_add_test(cell_rect_test SOURCES cell_rect_test.cpp LIBS tessarin_render)
tessarin_add_test(cell_grid_test SOURCES cell_grid_test.cpp LIBS tessarin_render)
tessarin_add_test(spreadsheet_engine_test SOURCES spreadsheet_engine_test.cpp LIBS tessarin_render)

# SpreadsheetLink, against the embedded engine and a recorder wrapped around it.
tessarin_add_test(spreadsheet_link_test SOURCES spreadsheet_link_test.cpp
  LIBS tessarin_render tessarin_recording_server)
# Workbooks saved through SpreadsheetLink, read back by openpyxl (the writer's reader).
tessarin_add_test(spreadsheet_link_save_test SOURCES spreadsheet_link_save_test.cpp
  LIBS tessarin_render tessarin_workbook_reader)
