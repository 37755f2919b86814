# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686).
# The win32 thread-model compilers are used: the modules need no threading
# runtime, so nothing but system DLLs is imported.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(triple i686-w64-mingw32)
foreach(tool gcc g++)
  find_program(found_${tool} NAMES ${triple}-${tool}-win32 ${triple}-${tool} REQUIRED)
endforeach()
set(CMAKE_C_COMPILER ${found_gcc})
set(CMAKE_CXX_COMPILER ${found_g++})
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres REQUIRED)
find_program(KESTREL_OBJDUMP NAMES ${triple}-objdump REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
