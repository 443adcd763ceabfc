# Cross-builds for 64-bit Windows with Debian's mingw-w64 g++ (POSIX threads, as the Qt kit
# was built with). PELMARIS_WINDOWS_KITS names the folder the Qt and image-library kits
# were unpacked into.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(toolchain_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchain_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchain_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${toolchain_prefix}-windres)
set(CMAKE_AR /usr/bin/${toolchain_prefix}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${toolchain_prefix}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT PELMARIS_WINDOWS_KITS)
  set(PELMARIS_WINDOWS_KITS "$ENV{PELMARIS_WINDOWS_KITS}")
endif()
set(PELMARIS_WINDOWS_KITS "${PELMARIS_WINDOWS_KITS}" CACHE PATH "Unpacked Windows build kits")
set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix} ${PELMARIS_WINDOWS_KITS}/qt6-mingw
    ${PELMARIS_WINDOWS_KITS}/mingw-deps)
set(CMAKE_PREFIX_PATH ${PELMARIS_WINDOWS_KITS}/qt6-mingw ${PELMARIS_WINDOWS_KITS}/mingw-deps)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Qt's tools (moc, rcc, uic) are the build machine's own.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
set(ZLIB_USE_STATIC_LIBS ON)
