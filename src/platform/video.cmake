# Window, clock, drawing device, text, images, message boxes and frame
# read-back. Both backends implement the same headers (window.h, clock.h,
# renderer.h); a program links exactly one of them.
# Windows builds use the native backend (win32.cmake).
if(WIN32)
  return()
endif()
find_package(SDL2 REQUIRED)
find_package(SDL2_image REQUIRED)
find_package(SDL2_ttf REQUIRED)

add_library(grumbo_video_sdl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sdl/sdl_video_clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/sdl_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/sdl_render.cpp
)
target_include_directories(grumbo_video_sdl PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_video_sdl PUBLIC SDL2::SDL2 SDL2_image::SDL2_image SDL2_ttf::SDL2_ttf grumbo_platform_input)

add_library(grumbo_video_headless STATIC
  ${CMAKE_CURRENT_LIST_DIR}/headless/headless_video.cpp
)
target_include_directories(grumbo_video_headless PUBLIC ${PROJECT_SOURCE_DIR}/src)
