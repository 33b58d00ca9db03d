# Persistence: the INI round trip of one save, the text codec and the writer's enqueue and write.
add_executable(save_bench ${CMAKE_CURRENT_LIST_DIR}/save_bench.cpp)
target_link_libraries(save_bench PRIVATE grumbo_save benchmark::benchmark benchmark::benchmark_main)
