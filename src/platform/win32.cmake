# The native Windows backend of the platform layer. On Windows it defines the targets the
# other fragments define elsewhere, under the same names, so the game's libraries link it
# unchanged; none of the SDL or POSIX fragments apply there.
if(NOT WIN32)
  return()
endif()

set(GRUMBO_WIN32_DIR ${CMAKE_CURRENT_LIST_DIR}/win32)

add_library(grumbo_platform_files STATIC ${GRUMBO_WIN32_DIR}/files_win32.cpp)
target_include_directories(grumbo_platform_files PUBLIC ${PROJECT_SOURCE_DIR}/src)

add_library(grumbo_platform_dir_list STATIC ${GRUMBO_WIN32_DIR}/dir_list_win32.cpp)
target_include_directories(grumbo_platform_dir_list PUBLIC ${PROJECT_SOURCE_DIR}/src)

add_library(grumbo_platform_user_paths STATIC ${GRUMBO_WIN32_DIR}/user_paths_win32.cpp)
target_include_directories(grumbo_platform_user_paths PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_platform_user_paths PUBLIC shell32)

add_library(grumbo_platform_input STATIC ${GRUMBO_WIN32_DIR}/win32_input.cpp)
target_include_directories(grumbo_platform_input PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_platform_input PUBLIC winmm)

# The audio library links the game's sound device by this name on every system.
add_library(grumbo_platform_audio_winmm STATIC ${GRUMBO_WIN32_DIR}/winmm_audio_output.cpp)
target_include_directories(grumbo_platform_audio_winmm PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_platform_audio_winmm PUBLIC winmm)
add_library(grumbo_platform_audio_sdl ALIAS grumbo_platform_audio_winmm)

add_library(grumbo_video_win32 STATIC
  ${GRUMBO_WIN32_DIR}/win32_clock.cpp
  ${GRUMBO_WIN32_DIR}/win32_window.cpp
  ${GRUMBO_WIN32_DIR}/d2d_renderer.cpp
)
target_include_directories(grumbo_video_win32 PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_video_win32 PUBLIC d2d1 dwrite windowscodecs ole32 gdi32 user32 winmm uuid)

# The artwork comes from a native build's asset forge (the forge cannot run here).
set(GRUMBO_WINDOWS_ASSETS "${PROJECT_SOURCE_DIR}/build/ci/bin/assets" CACHE PATH
    "The assets folder of a native build, packed beside the Windows executable")
if(NOT EXISTS ${GRUMBO_WINDOWS_ASSETS}/icon.ico)
  message(FATAL_ERROR "No forged assets in ${GRUMBO_WINDOWS_ASSETS}: build the native target grumbo_assets "
                      "first and pass its bin/assets folder as GRUMBO_WINDOWS_ASSETS")
endif()

# The icon resource; an object library, so the resource is always linked.
configure_file(${GRUMBO_WIN32_DIR}/grumbos_megastream.rc.in ${CMAKE_CURRENT_BINARY_DIR}/grumbos_megastream.rc @ONLY)
add_library(grumbo_win32_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/grumbos_megastream.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/grumbos_megastream.rc PROPERTIES
                            OBJECT_DEPENDS ${GRUMBO_WINDOWS_ASSETS}/icon.ico)

# `cmake --build --target grumbo_windows_zip`: the executable and its assets folder in one zip.
set(GRUMBO_WINDOWS_STAGE ${CMAKE_BINARY_DIR}/package/GrumbosMegastream)
set(GRUMBO_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/GrumbosMegastream-windows.zip)
add_custom_target(grumbo_windows_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package ${GRUMBO_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GRUMBO_WINDOWS_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:grumbos_megastream> ${GRUMBO_WINDOWS_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${GRUMBO_WINDOWS_ASSETS} ${GRUMBO_WINDOWS_STAGE}/assets
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${GRUMBO_WINDOWS_ZIP} --format=zip GrumbosMegastream
  DEPENDS grumbos_megastream
  COMMENT "Packing the Windows executable and its assets into GrumbosMegastream-windows.zip"
  VERBATIM)

# Checks of what only this backend does, run under Wine by scripts/windows-smoke.sh.
add_executable(win32_backend_check EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/win32/backend_check.cpp)
target_link_libraries(win32_backend_check PRIVATE grumbo_video_win32 grumbo_platform_audio_winmm grumbo_save
                      grumbo_platform_files grumbo_platform_dir_list grumbo_platform_user_paths grumbo_platform_input)
