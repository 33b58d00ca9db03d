# The presentation: the cost of drawing a busy frame (the world 9 boss fight
# with full projectile and particle lists and the HUD) and an ordinary one, at
# 1280 x 720 with the software renderer, offscreen.
add_executable(app_bench ${CMAKE_CURRENT_LIST_DIR}/app_bench.cpp)
target_link_libraries(app_bench PRIVATE grumbo_app grumbo_video_sdl benchmark::benchmark benchmark::benchmark_main)
if(TARGET grumbo_assets)
  add_dependencies(app_bench grumbo_assets)
endif()

# Time from launch to the first title frame, against a bare window; run by
# bench/startup.py under one display.
add_executable(startup_probe ${CMAKE_CURRENT_LIST_DIR}/startup_probe.cpp)
target_link_libraries(startup_probe PRIVATE grumbo_app grumbo_video_sdl)
if(TARGET grumbo_assets)
  add_dependencies(startup_probe grumbo_assets)
endif()
