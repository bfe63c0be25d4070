# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, so std::thread works).
#
#   cmake -S . -B build-win \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
#         -DJUCE_DIR=/usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5
#
# The libraries Debian does not ship for MinGW (libpng, libjpeg-turbo, hidapi) are built by
# scripts/windows/build-mingw-deps.sh into a prefix: KMX_MINGW_DEPS (cache or environment),
# /opt/kmx-mingw-deps by default.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KMX_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${KMX_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KMX_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KMX_MINGW_TRIPLE}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${KMX_MINGW_TRIPLE}-gcc-ar-posix ${KMX_MINGW_TRIPLE}-ar)
find_program(CMAKE_RANLIB NAMES ${KMX_MINGW_TRIPLE}-gcc-ranlib-posix ${KMX_MINGW_TRIPLE}-ranlib)

if(NOT DEFINED KMX_MINGW_DEPS)
    if(DEFINED ENV{KMX_MINGW_DEPS})
        set(KMX_MINGW_DEPS "$ENV{KMX_MINGW_DEPS}")
    else()
        set(KMX_MINGW_DEPS /opt/kmx-mingw-deps)
    endif()
endif()
set(KMX_MINGW_DEPS "${KMX_MINGW_DEPS}" CACHE PATH "Prefix of the MinGW builds of libpng, libjpeg-turbo and hidapi")

# Try-compile projects get a fresh cache: hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KMX_MINGW_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${KMX_MINGW_TRIPLE} "${KMX_MINGW_DEPS}")
list(APPEND CMAKE_PREFIX_PATH "${KMX_MINGW_DEPS}")

# Programs (juceaide, the host tools) come from the build machine; libraries and headers come
# from the MinGW root or the deps prefix first. Packages may also be found outside the root:
# JUCE's CMake package is the architecture-independent one from the Linux install.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# One self-contained executable: no libstdc++, libgcc or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Tests and helper programs built for Windows run under Wine.
find_program(KMX_WINE NAMES wine)
if(KMX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${KMX_WINE}")
endif()
