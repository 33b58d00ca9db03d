# Sound output: the SDL device for the game, and a hardware-free device for tests.
# Windows builds use the native backend (win32.cmake).
if(WIN32)
  return()
endif()
find_package(SDL2 REQUIRED)

add_library(grumbo_platform_audio_sdl STATIC ${CMAKE_CURRENT_LIST_DIR}/sdl/sdl_audio_output.cpp)
target_include_directories(grumbo_platform_audio_sdl PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_platform_audio_sdl PRIVATE SDL2::SDL2)

add_library(grumbo_platform_audio_headless STATIC ${CMAKE_CURRENT_LIST_DIR}/headless/headless_audio_output.cpp)
target_include_directories(grumbo_platform_audio_headless PUBLIC ${PROJECT_SOURCE_DIR}/src)
