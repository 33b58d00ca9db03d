# Input devices: the SDL2 keyboard, game controllers and joysticks that
# `NativeInput` reads, and a scripted stand-in for tests and headless runs.
# Windows builds use the native backend (win32.cmake).
if(WIN32)
  return()
endif()
find_package(SDL2 REQUIRED)
add_library(grumbo_platform_input STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sdl/sdl_input.cpp
)
target_include_directories(grumbo_platform_input PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_platform_input PUBLIC SDL2::SDL2)

add_library(grumbo_platform_input_headless STATIC
  ${CMAKE_CURRENT_LIST_DIR}/headless/headless_input.cpp
)
target_include_directories(grumbo_platform_input_headless PUBLIC ${PROJECT_SOURCE_DIR}/src)
