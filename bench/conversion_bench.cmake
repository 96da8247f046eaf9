# End to end: tessarin-convert on generated photograph-like JPEGs, side by side with a
# typical Python converter. `cmake --build build --target end_to_end_bench` (or
# bench/end_to_end.sh) prints the median wall time and peak memory of each.
add_executable(bench_picture bench_picture.cpp)
target_link_libraries(bench_picture PRIVATE tessarin_canvas JPEG::JPEG)
add_custom_target(end_to_end_bench
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/end_to_end.sh $<TARGET_FILE:tessarin-convert>
          $<TARGET_FILE:bench_picture>
  DEPENDS tessarin-convert bench_picture
  USES_TERMINAL VERBATIM)
