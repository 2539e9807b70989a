# What `cmake --install` puts beside the programs, and the Debian package CPack builds from it.

# Whoever builds the package maintains it (DEBFULLNAME and DEBEMAIL when configuring, as
# Debian's own tools take them). The project has no address that mail would reach; without
# them the field says so with a domain reserved never to resolve, instead of leading anywhere.
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
    set(default_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
    set(default_maintainer "Pagelark local build <no-address@pagelark.invalid>")
endif()
set(PAGELARK_MAINTAINER "${default_maintainer}" CACHE STRING "The package's Maintainer field")

configure_file(packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
set(pagelark_docdir ${CMAKE_INSTALL_DATADIR}/doc/pagelark)
# Debian wants manual pages and changelogs compressed, reproducibly (no name, no time).
set(man_pages pagelark.1 pagelark-tso.1)
if(PAGELARK_KIOSK)
    list(APPEND man_pages pagelark-session.1)
endif()
set(compressed)
foreach(page IN LISTS man_pages ITEMS changelog)
    if(NOT page STREQUAL changelog)
        configure_file(packaging/${page} ${PROJECT_BINARY_DIR}/packaging/${page} @ONLY)
    endif()
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/${page}.gz
                       COMMAND gzip -9nkf ${page}
                       DEPENDS ${PROJECT_BINARY_DIR}/packaging/${page}
                       WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging VERBATIM)
    list(APPEND compressed ${PROJECT_BINARY_DIR}/packaging/${page}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
list(TRANSFORM man_pages APPEND .gz)
list(TRANSFORM man_pages PREPEND ${PROJECT_BINARY_DIR}/packaging/)
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright README.md ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${pagelark_docdir})
if(PAGELARK_KIOSK)
    install(FILES packaging/pagelark.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # A file manager's second choice for a presentation, after playing it (the entries are
    # offered in the order of their names): no menu entry, as it needs a file.
    install(FILES packaging/pagelark.edit.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # .tso files are presentations to a file manager, which offers the desktop entry for them.
    install(FILES packaging/pagelark-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME pagelark.xml)
    # The X session a display manager's automatic login starts: the kiosk alone.
    install(PROGRAMS packaging/pagelark-session DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES packaging/pagelark-xsession.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/xsessions
            RENAME pagelark.desktop)
    # The same without an X server: the kiosk in the cage compositor. A name of its own: LightDM
    # looks for a session name among the X sessions first.
    install(FILES packaging/pagelark-wayland-session.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/wayland-sessions RENAME pagelark-wayland.desktop)
    install(FILES packaging/pagelark.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    # The session bus interface (the machine setting DBus), for the bus's tools and bindings.
    install(FILES src/dbus/org.pagelark.Kiosk1.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/interfaces)
    # The unit names the program where this install puts it: the prefix is known only when
    # installing (the package's is not the build's). systemd looks for user units under the
    # prefix's lib, not the multiarch library folder.
    install(CODE "
        file(READ \"${PROJECT_SOURCE_DIR}/packaging/pagelark.service.in\" unit)
        string(REPLACE \"@PAGELARK_BINDIR@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
               unit \"\${unit}\")
        file(WRITE \"${PROJECT_BINARY_DIR}/packaging/pagelark.service\" \"\${unit}\")
        file(INSTALL \"${PROJECT_BINARY_DIR}/packaging/pagelark.service\"
                     \"${PROJECT_SOURCE_DIR}/packaging/pagelark-session.target\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/lib/systemd/user\")")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pagelark)
set(CPACK_PACKAGE_VENDOR "Pagelark developers")
set(CPACK_PACKAGE_CONTACT "${PAGELARK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web kiosk and web screen saver")
# Under the synopsis (the summary above); lines that fit 80 columns with their leading blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Plays a presentation of web pages full screen and loops over it, preloading\n\
the next page out of sight. Visitors may browse within include and exclude\n\
lists; an operator edits presentations in a configuration window. Includes\n\
pagelark-tso, which shows and re-saves presentation files from the shell.")
# No Homepage: the project has no site yet.
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack names the build machine's architecture; a cross build's package is the target's.
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL aarch64)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Dependencies from the shared libraries the programs link (libmosquitto1 among them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# xset turns blanking off in the X session; cage runs the Wayland session, where Qt's Wayland
# platform, loaded at run time, draws the kiosk, and pkill (procps) ends cage's client.
# unclutter-xfixes (hides an idle pointer, started by the kiosk session alone) is only
# suggested: it recommends unclutter-startup, which would hide the pointer in every account's
# session, and apt installs recommends of recommends.
# The on-screen keyboard is loaded by Qt at run time, so no library dependency names it, nor
# the Qt Quick modules it needs that its own package leaves out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "dbus-user-session, xdg-utils, x11-xserver-utils, qt6-virtualkeyboard-plugin, \
qml6-module-qtquick, qml6-module-qtquick-layouts, qml6-module-qtquick-window, \
qml6-module-qtqml-workerscript, qml6-module-qt-labs-folderlistmodel, cage, qt6-wayland, procps")
# cec-ctl sends a television on HDMI to standby outside the screen's hours.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "v4l-utils, unclutter-xfixes")
include(CPack)
