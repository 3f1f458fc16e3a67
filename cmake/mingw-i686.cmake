# i686 mingw-w64 cross build. The -win32 thread-model compilers need no
# winpthread DLL, so the program stands alone on Windows 95 and NT 4.0.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The tills this program is started on range from a 386DX (Windows 95) to the
# Pentium, K6, MediaGX and VIA C3 class, none of which has CMOV or the later
# additions that GCC's default i686 target takes for granted: every Windows
# target is built for the 80386 and tuned for the Pentium.
set(CMAKE_C_FLAGS_INIT "-march=i386 -mtune=pentium")
set(CMAKE_CXX_FLAGS_INIT "-march=i386 -mtune=pentium")
