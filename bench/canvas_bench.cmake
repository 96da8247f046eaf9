# Picture decoding and the size query: build/bench/canvas_bench prints its figures.
add_executable(canvas_bench canvas_bench.cpp)
target_link_libraries(canvas_bench PRIVATE tessarin_canvas JPEG::JPEG)
