# What only the Windows build needs: the image libraries Debian's JUCE leaves to the system, and
# the program's manifest. Included from the top-level CMakeLists.txt when WIN32, after kmx_juce
# exists; the program's own settings are applied once every target is defined.

include(${CMAKE_CURRENT_LIST_DIR}/WindowsImageLibs.cmake)
kmx_link_windows_image_libs(kmx_juce)

# The executable asks for no elevation and declares the Windows versions it was tested with.
# JUCE's generated resources.rc carries the version record (from the target's VERSION) and no
# icon, since none is given; this second resource file adds the manifest.
set(KMX_WINDOWS_MANIFEST ${CMAKE_BINARY_DIR}/windows/KMXUpdateProgram.manifest)
set(KMX_WINDOWS_MANIFEST_RC ${CMAKE_BINARY_DIR}/windows/manifest.rc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/WindowsManifest.xml.in ${KMX_WINDOWS_MANIFEST} @ONLY)
file(WRITE ${KMX_WINDOWS_MANIFEST_RC}.tmp
    "#include <winuser.h>\n"
    "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${KMX_WINDOWS_MANIFEST}\"\n")
configure_file(${KMX_WINDOWS_MANIFEST_RC}.tmp ${KMX_WINDOWS_MANIFEST_RC} COPYONLY)

function(kmx_windows_program target)
    target_sources(${target} PRIVATE ${KMX_WINDOWS_MANIFEST_RC})
    set_property(SOURCE ${KMX_WINDOWS_MANIFEST_RC} APPEND PROPERTY OBJECT_DEPENDS ${KMX_WINDOWS_MANIFEST})
endfunction()

# The test programs that drive the program through Xlib (window and end-to-end tests) are Linux
# programs; on Windows the same checks run from the Linux side against the program under Wine
# (scripts/windows/build-and-test.sh). An empty X11 target lets their CMake read, and they stay
# out of the default build.
if(NOT TARGET X11::X11)
    add_library(X11::X11 INTERFACE IMPORTED)
endif()
set(KMX_WINDOWS_LINUX_ONLY_TESTS app_window_tests e2e_tests)

function(_kmx_windows_finish)
    if(TARGET KMXUpdateProgram)
        kmx_windows_program(KMXUpdateProgram)
    endif()
    # A DLL is hidgate.dll, not libhidgate.dll: that is the name the program imports.
    foreach(_t hidgate_emulator hidgate_hidapi)
        if(TARGET ${_t})
            set_target_properties(${_t} PROPERTIES PREFIX "" IMPORT_PREFIX "")
        endif()
    endforeach()
    # The import library has to follow the code that calls it on the link line: GNU ld reads
    # archives in order.
    if(TARGET kmx_core AND TARGET hidgate)
        target_link_libraries(kmx_core INTERFACE hidgate)
    endif()
    foreach(_t IN LISTS KMX_WINDOWS_LINUX_ONLY_TESTS)
        if(TARGET ${_t})
            set_target_properties(${_t} PROPERTIES EXCLUDE_FROM_ALL TRUE)
        endif()
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _kmx_windows_finish)
