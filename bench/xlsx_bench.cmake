# Saving a workbook: our writer and colour reduction against libxlsxwriter.
if(NOT TARGET PkgConfig::XLSXWRITER)
  pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
endif()
add_executable(xlsx_bench xlsx_bench.cpp)
target_link_libraries(xlsx_bench PRIVATE tessarin_render PkgConfig::XLSXWRITER)
