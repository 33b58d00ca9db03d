# Cost of mixing one 768-frame buffer at full load, as a share of the 17.4 ms it lasts, and of
# decoding a resampled clip at start-up.
add_executable(audio_bench ${CMAKE_CURRENT_LIST_DIR}/audio_bench.cpp)
target_link_libraries(audio_bench PRIVATE grumbo_audio benchmark::benchmark benchmark::benchmark_main)
