# The workbook writer: read back by openpyxl, compared with libxlsxwriter, atomic saves,
# and the colour reduction that keeps a sheet within Excel's cell-format limit.

tessarin_add_test(xlsx_writer_test SOURCES xlsx_writer_test.cpp
                  LIBS tessarin_render tessarin_workbook_reader)
tessarin_add_test(xlsx_reference_test SOURCES xlsx_reference_test.cpp
                  LIBS tessarin_render tessarin_workbook_reader PkgConfig::XLSXWRITER)
tessarin_add_test(colour_reduction_test SOURCES colour_reduction_test.cpp LIBS tessarin_render)
