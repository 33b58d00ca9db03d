# Cost of one frame's `poll` and one controller pass over scripted devices, and
# of the pure key-and-pad mapping alone.
add_executable(input_bench ${CMAKE_CURRENT_LIST_DIR}/input_bench.cpp)
target_link_libraries(input_bench PRIVATE grumbo_input grumbo_platform_input_headless benchmark::benchmark
                                          benchmark::benchmark_main)
