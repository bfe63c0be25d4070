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

set(_kmx_emulator_prefix /opt/kmxupdateprogram-emulator)

if(KMX_HIDGATE STREQUAL "emulator")
    set(_kmx_install_name kmxupdateprogram-emulator)
    set(_kmx_install_title "KMXUpdateProgram (emulated controller)")
    if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
        set(CMAKE_INSTALL_PREFIX ${_kmx_emulator_prefix} CACHE PATH "Install prefix" FORCE)
        set(_KMX_PREFIX_FORCED ON CACHE INTERNAL "The install prefix was set to the emulator's")
    endif()
else()
    set(_kmx_install_name kmxupdateprogram)
    set(_kmx_install_title "KMXUpdateProgram")
    # A tree first configured for the emulator and then switched to the real
    # hidgate must not keep the emulator's prefix.
    if(_KMX_PREFIX_FORCED AND CMAKE_INSTALL_PREFIX STREQUAL _kmx_emulator_prefix)
        set(CMAKE_INSTALL_PREFIX /usr/local CACHE PATH "Install prefix" FORCE)
    endif()
    unset(_KMX_PREFIX_FORCED CACHE)
endif()

# Always lib/<name>: a private folder of the program (FHS /usr/lib/<package>),
# the same whatever prefix the tree was configured with.
set(_kmx_install_dir lib/${_kmx_install_name})

install(TARGETS KMXUpdateProgram RUNTIME DESTINATION ${_kmx_install_dir})
install(TARGETS hidgate_${KMX_HIDGATE} LIBRARY DESTINATION ${_kmx_install_dir})

if(KMX_HIDGATE STREQUAL "emulator" AND DEFINED KMX_SAMPLE_PACKAGE)
    install(FILES ${KMX_SAMPLE_PACKAGE} DESTINATION ${_kmx_install_dir})
endif()

# The link and the desktop entry are made at install time, so both follow the
# prefix given then (cmake --install <build> --prefix <dir>), not the one the
# tree was configured with; both go into install_manifest.txt like every
# other installed file.
set(KMX_DESKTOP_NAME "${_kmx_install_title}")
set(KMX_DESKTOP_EXEC "@KMX_DESKTOP_EXEC@")
configure_file(${CMAKE_SOURCE_DIR}/packaging/linux/kmxupdateprogram.desktop.in
               ${CMAKE_BINARY_DIR}/${_kmx_install_name}.desktop.in @ONLY)

install(CODE "
    set(_kmx_prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(_kmx_link \"\${_kmx_prefix}/${CMAKE_INSTALL_BINDIR}/${_kmx_install_name}\")
    file(MAKE_DIRECTORY \"\${_kmx_prefix}/${CMAKE_INSTALL_BINDIR}\")
    message(STATUS \"Installing: \${_kmx_link}\")
    file(CREATE_LINK \"../${_kmx_install_dir}/KMXUpdateProgram\" \"\${_kmx_link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_kmx_link}\")

    # Exec names the program where it runs, without DESTDIR.
    set(KMX_DESKTOP_EXEC \"\${CMAKE_INSTALL_PREFIX}/${_kmx_install_dir}/KMXUpdateProgram\")
    set(_kmx_desktop \"\${_kmx_prefix}/${CMAKE_INSTALL_DATADIR}/applications/${_kmx_install_name}.desktop\")
    message(STATUS \"Installing: \${_kmx_desktop}\")
    configure_file(\"${CMAKE_BINARY_DIR}/${_kmx_install_name}.desktop.in\" \"\${_kmx_desktop}\" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_kmx_desktop}\")
")

if(KMX_HIDGATE STREQUAL "hidapi")
    # Relative: under the install prefix (udev reads /usr/lib/udev/rules.d, so
    # a /usr install needs nothing more); give /etc/udev/rules.d for any other
    # prefix.
    set(KMX_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "Where the udev rule goes, absolute or relative to the install prefix")
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/70-kmx-q7.rules DESTINATION ${KMX_UDEV_RULES_DIR})
endif()
