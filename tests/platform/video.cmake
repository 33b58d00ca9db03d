# The SDL video backend drawing offscreen with the software renderer.
grumbo_add_test(video_sdl_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/video_sdl_test.cpp
  LIBS grumbo_video_sdl
  LABELS platform)
if(TARGET grumbo_assets)
  add_dependencies(video_sdl_test grumbo_assets)
endif()
