# Install rules and the Debian package.
#
# The program loads its screens from applicationDirPath()/../qml, so bin/ and
# qml/ share one prefix of their own (/opt/ZarvoReader unless another is
# given). What the desktop looks up by name goes to the system's folders
# (ZR_SYSTEM_PREFIX): the launcher in its PATH, the desktop entry, the icons,
# the AppStream data and the documentation.
set(ZR_PACKAGE_PREFIX /opt/ZarvoReader)
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX ${ZR_PACKAGE_PREFIX} CACHE PATH "Install prefix" FORCE)
endif()
set(ZR_SYSTEM_PREFIX /usr CACHE PATH "Where the launcher, desktop entry, icons and docs go")
include(GNUInstallDirs)

set(ZR_APP_ID org.zarvoreader.ZarvoReader)
set(ZR_DEPLOY ${CMAKE_SOURCE_DIR}/deploy)
set(ZR_SHARE ${ZR_SYSTEM_PREFIX}/share)
# Folders made by the install are 0755 whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zarvoreader vbp zarvostore RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/qml/ZarvoReader DESTINATION qml)

# The launcher names the program under the prefix of this install, which
# "cmake --install --prefix" and CPack choose only when installing.
set(ZR_LAUNCHER ${CMAKE_BINARY_DIR}/deploy/zarvoreader)
install(CODE "
    set(ZR_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zarvoreader\")
    configure_file(\"${ZR_DEPLOY}/zarvoreader.in\" \"${ZR_LAUNCHER}\" @ONLY)
")
install(PROGRAMS ${ZR_LAUNCHER} DESTINATION ${ZR_SYSTEM_PREFIX}/bin)

install(FILES ${ZR_DEPLOY}/${ZR_APP_ID}.desktop DESTINATION ${ZR_SHARE}/applications)
install(FILES ${ZR_DEPLOY}/${ZR_APP_ID}.metainfo.xml DESTINATION ${ZR_SHARE}/metainfo)
install(DIRECTORY ${ZR_DEPLOY}/icons/hicolor DESTINATION ${ZR_SHARE}/icons)
install(FILES ${ZR_DEPLOY}/zarvostore-nginx.conf.in
        DESTINATION ${ZR_SHARE}/doc/zarvoreader/examples)

# The Debian package: scripts/package.sh builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvoreader)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZarvoReader developers <dev@zarvoreader.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "e-book reader with an online book store")
set(CPACK_PACKAGE_DESCRIPTION
    "ZarvoReader keeps a bookshelf of .vbp book packages, lays chapters out in\n"
    "pages of twenty lines, remembers reading positions and bookmarks, and buys\n"
    "and downloads books from an online book store. Made for phone screens\n"
    "(Phosh, Plasma Mobile) and desktops.\n"
    "\n"
    "Also contains vbp, which makes and inspects book packages, and zarvostore,\n"
    "the book store server (an nginx configuration for it is in the examples).")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${ZR_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zarvoreader.org/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries linked are found by dpkg-shlibdeps; what is loaded at run time
# is named here: the QML modules the screens import, the SQLite driver and a
# font with the Chinese characters of the books and screens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(ZR_RUNTIME_DEPENDS
    qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
    qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
    qml6-module-qtquick-window libqt6sql6-sqlite fonts-noto-cjk)
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${ZR_RUNTIME_DEPENDS}")
# Wayland for phone shells; nginx and the PostgreSQL driver for the store.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "nginx, libqt6sql6-psql")
include(CPack)
