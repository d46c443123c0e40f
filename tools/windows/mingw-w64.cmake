# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, posix threads
# (std::thread and the C++ runtime's locks need them; the win32 flavour lacks them).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TRELVANO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRELVANO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVANO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVANO_MINGW_TRIPLE}-windres)
# The prefixes of the libraries built for Windows count as roots too, so the
# host's own libraries and headers are never taken for the target's.
set(CMAKE_FIND_ROOT_PATH /usr/${TRELVANO_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# Tests and discovery run the .exe files through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
