# Cross-compiles the Windows build with Debian's mingw-w64, posix thread model
# (std::thread and std::mutex need it), everything linked statically so the
# executable needs no runtime beside the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GRUMBO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GRUMBO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRUMBO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GRUMBO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GRUMBO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Unicode Windows headers: every W function is the default.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# -O2 rather than -O3: GCC 12 reports false -Wrestrict overlaps in inlined string code at -O3.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags")
