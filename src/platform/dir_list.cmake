# Folder listing, used to find the sound files.
# Windows builds use the native backend (win32.cmake).
if(WIN32)
  return()
endif()
add_library(grumbo_platform_dir_list STATIC ${CMAKE_CURRENT_LIST_DIR}/posix/dir_list.cpp)
target_include_directories(grumbo_platform_dir_list PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(grumbo_platform_dir_list PUBLIC grumbo_platform_files)
