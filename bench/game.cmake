# The simulation: one 1/120 s step of the heaviest boss fight, and a whole
# ten-world run by the automated player (simulated steps per second).
add_executable(game_bench ${CMAKE_CURRENT_LIST_DIR}/game_bench.cpp)
target_link_libraries(game_bench PRIVATE grumbo_game grumbo_autoplayer benchmark::benchmark benchmark::benchmark_main)
