# Debian's JUCE leaves out its bundled zlib, libpng and libjpeg and includes the system headers
# instead. On Linux its CMake links them through pkg-config; for a Windows build nothing does, so
# this file finds the static MinGW builds (zlib from libz-mingw-w64-dev, the others from
# scripts/windows/build-mingw-deps.sh) and attaches them to a JUCE module library target.
#
#   include(cmake/WindowsImageLibs.cmake)
#   kmx_link_windows_image_libs(kmx_juce)

# Static archives only: the program ships as one executable beside hidgate.dll, and the MinGW
# zlib also comes with an import library for a zlib1.dll nobody installs.
find_library(KMX_ZLIB_STATIC NAMES libz.a REQUIRED)
find_library(KMX_PNG_STATIC NAMES libpng16.a libpng.a REQUIRED)
find_library(KMX_JPEG_STATIC NAMES libjpeg.a REQUIRED)
find_path(KMX_PNG_INCLUDE png.h REQUIRED)
find_path(KMX_JPEG_INCLUDE jpeglib.h REQUIRED)
find_path(KMX_ZLIB_INCLUDE zlib.h REQUIRED)

if(NOT EXISTS "${KMX_JPEG_INCLUDE}/jpegint.h")
    message(FATAL_ERROR "jpegint.h is missing beside ${KMX_JPEG_INCLUDE}/jpeglib.h: "
        "run scripts/windows/build-mingw-deps.sh")
endif()

function(kmx_link_windows_image_libs target)
    target_include_directories(${target} SYSTEM PRIVATE
        "${KMX_PNG_INCLUDE}" "${KMX_JPEG_INCLUDE}" "${KMX_ZLIB_INCLUDE}")
    # libpng needs zlib after it on the link line.
    target_link_libraries(${target} PUBLIC
        "${KMX_PNG_STATIC}" "${KMX_JPEG_STATIC}" "${KMX_ZLIB_STATIC}")
endfunction()
