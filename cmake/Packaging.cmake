# What `cmake --install` puts beside the programs, and the Debian package CPack builds from it.

configure_file(packaging/pagelark.1 ${PROJECT_BINARY_DIR}/packaging/pagelark.1 @ONLY)
configure_file(packaging/pagelark-tso.1 ${PROJECT_BINARY_DIR}/packaging/pagelark-tso.1 @ONLY)

install(FILES ${PROJECT_BINARY_DIR}/packaging/pagelark.1 ${PROJECT_BINARY_DIR}/packaging/pagelark-tso.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(PAGELARK_KIOSK)
    install(FILES packaging/pagelark.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # The X session a display manager's automatic login starts: the kiosk alone.
    install(PROGRAMS packaging/pagelark-session DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES packaging/pagelark-xsession.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/xsessions
            RENAME pagelark.desktop)
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
set(CPACK_PACKAGE_CONTACT "Pagelark developers <pagelark@pagelark.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web kiosk and web screen saver")
# Under the synopsis (the summary above), one paragraph per line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Plays a presentation of web pages full screen and loops over it, preloading the\n\
next page out of sight. Visitors may browse within include and exclude lists; an\n\
operator edits presentations in a configuration window. Includes pagelark-tso,\n\
which shows and re-saves presentation files from the shell.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://pagelark.example.org/")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Dependencies from the shared libraries the programs link, and those named here besides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(PAGELARK_KIOSK)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libmosquitto1")
endif()
set(CPACK_STRIP_FILES ON)
# unclutter hides the pointer of the kiosk session until it moves; xset turns blanking off.
# The on-screen keyboard is loaded by Qt at run time, so no library dependency names it, nor
# the Qt Quick modules it needs that its own package leaves out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "dbus-user-session, xdg-utils, unclutter, x11-xserver-utils, qt6-virtualkeyboard-plugin, \
qml6-module-qtquick, qml6-module-qtquick-layouts, qml6-module-qtquick-window, \
qml6-module-qtqml-workerscript, qml6-module-qt-labs-folderlistmodel")
# cec-ctl sends a television on HDMI to standby outside the screen's hours.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "v4l-utils")
include(CPack)
