# The simulation: one 1/120 s step of the heaviest boss fight, and a whole
# ten-world run by the automated player of the tests (simulated steps per second).
add_executable(game_bench ${CMAKE_CURRENT_LIST_DIR}/game_bench.cpp ${PROJECT_SOURCE_DIR}/tests/game/autoplayer.cpp)
target_include_directories(game_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/game)
target_link_libraries(game_bench PRIVATE grumbo_game benchmark::benchmark benchmark::benchmark_main)
