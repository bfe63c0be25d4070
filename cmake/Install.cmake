# Installation on Linux:
#   <prefix>/lib/kmxupdateprogram/KMXUpdateProgram   the program
#   <prefix>/lib/kmxupdateprogram/libhidgate.so      its device layer, beside it ($ORIGIN)
#   <prefix>/bin/kmxupdateprogram                    a link to start it from the path
#   <prefix>/share/applications/...desktop           the desktop entry
#   <udev rules dir>/70-kmx-q7.rules                 access to the controller for the logged-in user
# The update package is not installed: the real KMX-Q7_UP.upd is copied beside
# the program by whoever installs it.
#
# A build with the emulated controller installs as a different program
# (other folder, link and desktop entry, the sample package, no udev rule) and
# by default into a prefix of its own, so it can never replace the real one.
if(WIN32)
    return()
endif()

include(GNUInstallDirs)

if(KMX_HIDGATE STREQUAL "emulator")
    set(_kmx_install_name kmxupdateprogram-emulator)
    set(_kmx_install_title "KMXUpdateProgram (emulated controller)")
    if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
        set(CMAKE_INSTALL_PREFIX /opt/kmxupdateprogram-emulator CACHE PATH "Install prefix" FORCE)
    endif()
else()
    set(_kmx_install_name kmxupdateprogram)
    set(_kmx_install_title "KMXUpdateProgram")
endif()

set(_kmx_install_dir ${CMAKE_INSTALL_LIBDIR}/${_kmx_install_name})

install(TARGETS KMXUpdateProgram RUNTIME DESTINATION ${_kmx_install_dir})
install(TARGETS hidgate_${KMX_HIDGATE} LIBRARY DESTINATION ${_kmx_install_dir})

if(KMX_HIDGATE STREQUAL "emulator" AND DEFINED KMX_SAMPLE_PACKAGE)
    install(FILES ${KMX_SAMPLE_PACKAGE} DESTINATION ${_kmx_install_dir})
endif()

install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"../${_kmx_install_dir}/KMXUpdateProgram\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${_kmx_install_name}\" SYMBOLIC)
")

set(KMX_DESKTOP_NAME "${_kmx_install_title}")
set(KMX_DESKTOP_EXEC "${CMAKE_INSTALL_PREFIX}/${_kmx_install_dir}/KMXUpdateProgram")
configure_file(${CMAKE_SOURCE_DIR}/packaging/linux/kmxupdateprogram.desktop.in
               ${CMAKE_BINARY_DIR}/${_kmx_install_name}.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${_kmx_install_name}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

if(KMX_HIDGATE STREQUAL "hidapi")
    set(KMX_UDEV_RULES_DIR "${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d" CACHE PATH "Where the udev rule goes")
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/70-kmx-q7.rules DESTINATION ${KMX_UDEV_RULES_DIR})
endif()
