# Twenty conversions of an 800 × 600 picture in one window: prints the heap, resident memory
# and live spreadsheet objects after runs 1, 5, 10 and 20, and the growth per run.
add_executable(hardening_bench hardening_bench.cpp)
target_link_libraries(hardening_bench PRIVATE tessarin_app)
