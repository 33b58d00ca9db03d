# Per-user folders: the XDG data folder for the save file.
# Windows builds use the native backend (win32.cmake).
if(WIN32)
  return()
endif()
add_library(grumbo_platform_user_paths STATIC
  ${CMAKE_CURRENT_LIST_DIR}/posix/user_paths.cpp
)
target_include_directories(grumbo_platform_user_paths PUBLIC ${PROJECT_SOURCE_DIR}/src)
