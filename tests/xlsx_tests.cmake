# The workbook writer: read back by openpyxl, compared with libxlsxwriter, atomic saves,
# and the colour reduction that keeps a sheet within Excel's cell-format limit.
add_library(tessarin_workbook_reader STATIC workbook_reader.cpp)
target_compile_definitions(tessarin_workbook_reader PRIVATE TESSARIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

tessarin_add_test(xlsx_writer_test SOURCES xlsx_writer_test.cpp
                  LIBS tessarin_render tessarin_workbook_reader)
tessarin_add_test(xlsx_reference_test SOURCES xlsx_reference_test.cpp
                  LIBS tessarin_render tessarin_workbook_reader PkgConfig::XLSXWRITER)
tessarin_add_test(colour_reduction_test SOURCES colour_reduction_test.cpp LIBS tessarin_render)
