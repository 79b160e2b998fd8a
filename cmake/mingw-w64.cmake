# Cross-build for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# the one the Qt SDK was built with).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DONDRIX_QT_PREFIX=<unpacked SDK>/opt/qt6-mingw64
#
# scripts/windows unpacks the SDK and does all of this.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# try_compile projects read this file again: hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ONDRIX_QT_PREFIX)
if(NOT ONDRIX_QT_PREFIX AND DEFINED ENV{ONDRIX_QT_PREFIX})
  set(ONDRIX_QT_PREFIX $ENV{ONDRIX_QT_PREFIX})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${ONDRIX_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(ONDRIX_QT_PREFIX)
  list(APPEND CMAKE_PREFIX_PATH ${ONDRIX_QT_PREFIX})
endif()

# Qt's build tools (moc, uic, rcc) are the host's, of the same version.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# Test programs and test discovery run under Wine where it is installed.
find_program(ONDRIX_WINE wine)
if(ONDRIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ONDRIX_WINE})
endif()
