# A produced workbook as LibreOffice Calc renders it, compared with its picture cell for
# cell; skipped when LibreOffice is not installed. It runs tessarin-convert and
# scripts/render-workbook as a user would.
tessarin_add_test(libreoffice_rendering_test SOURCES libreoffice_rendering_test.cpp LIBS tessarin_canvas tessarin_program_run)
target_compile_definitions(libreoffice_rendering_test PRIVATE
  TESSARIN_CONVERT="$<TARGET_FILE:tessarin-convert>")
add_dependencies(libreoffice_rendering_test tessarin-convert)
