# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64-posix): the
# real Windows, Direct3D 9 and D3DX 9 headers and import libraries, programs linked statically
# so that they need no MinGW runtime DLLs beside them.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNELIX_MINGW x86_64-w64-mingw32)
# The posix threading flavour: the win32 one has no std::thread or std::mutex.
set(CMAKE_C_COMPILER ${TARNELIX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNELIX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNELIX_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNELIX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
