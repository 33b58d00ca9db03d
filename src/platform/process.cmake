# The process as a whole: set-up before the game starts, and its command line.
if(WIN32)
  add_library(grumbo_platform_process STATIC ${CMAKE_CURRENT_LIST_DIR}/win32/process_win32.cpp)
  target_link_libraries(grumbo_platform_process PUBLIC shell32 ole32)
else()
  add_library(grumbo_platform_process STATIC ${CMAKE_CURRENT_LIST_DIR}/posix/process_posix.cpp)
endif()
target_include_directories(grumbo_platform_process PUBLIC ${PROJECT_SOURCE_DIR}/src)
