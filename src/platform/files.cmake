# Files: exclusive creation, full writes, fsync, atomic rename and whole-file reads, reported
# as Windows system error codes. Linux builds use the POSIX backend.
# Windows builds use the native backend (win32.cmake).
if(WIN32)
  return()
endif()
add_library(grumbo_platform_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/posix/files_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix/native_path.cpp
)
target_include_directories(grumbo_platform_files PUBLIC ${PROJECT_SOURCE_DIR}/src)
