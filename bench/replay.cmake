# Replays: checking a whole ten-world run (simulated steps per second, after
# reading the file), and the size of that run's replay file.
add_executable(replay_bench ${CMAKE_CURRENT_LIST_DIR}/replay_bench.cpp)
target_link_libraries(replay_bench PRIVATE grumbo_replay grumbo_autoplayer benchmark::benchmark
                      benchmark::benchmark_main)
