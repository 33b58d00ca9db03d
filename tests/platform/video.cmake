# The SDL video backend drawing offscreen with the software renderer, and its window's events.
grumbo_add_test(video_sdl_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/video_sdl_test.cpp
  LIBS grumbo_video_sdl grumbo_sdl_test_support
  LABELS platform)
if(TARGET grumbo_assets)
  add_dependencies(video_sdl_test grumbo_assets)
endif()
