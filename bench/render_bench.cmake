# Drives an 800 × 600 sheet through SpreadsheetLink cell by cell, as the conversion does,
# then sizes and saves it: prints the time for the cells, the save and the peak memory.
add_executable(spreadsheet_link_bench spreadsheet_link_bench.cpp)
target_link_libraries(spreadsheet_link_bench PRIVATE tessarin_render)
