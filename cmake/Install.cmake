# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where (GNUInstallDirs: bin/, share/...), and the
# Debian package that `cpack -G DEB` makes of the same files
# (scripts/make-deb.sh).

set(TARNWELL_APP_ID io.github.tarnwell.Tarnwell)
set(data "${PROJECT_SOURCE_DIR}/data")

# Man pages go in compressed, as Debian wants them.
set(man_pages tarnwell-cli.1)
if(TARNWELL_BUILD_GUI)
    list(APPEND man_pages tarnwell.1)
endif()
set(compressed_man_pages)
foreach(page IN LISTS man_pages)
    set(compressed "${PROJECT_BINARY_DIR}/man/${page}.gz")
    add_custom_command(OUTPUT "${compressed}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/man"
        COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" "${data}/man/${page}" "${compressed}"
        DEPENDS "${data}/man/${page}"
        COMMENT "Compressing the man page ${page}"
        VERBATIM)
    list(APPEND compressed_man_pages "${compressed}")
endforeach()
add_custom_target(man_pages ALL DEPENDS ${compressed_man_pages})

# Debian wants a changelog of its own format beside the copyright file.
configure_file("${data}/debian/changelog.in" "${PROJECT_BINARY_DIR}/debian/changelog" @ONLY)
set(compressed_changelog "${PROJECT_BINARY_DIR}/debian/changelog.gz")
add_custom_command(OUTPUT "${compressed_changelog}"
    COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" "${PROJECT_BINARY_DIR}/debian/changelog"
            "${compressed_changelog}"
    DEPENDS "${PROJECT_BINARY_DIR}/debian/changelog"
    VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS "${compressed_changelog}")

install(TARGETS tarnwell-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES ${compressed_man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${data}/debian/copyright" "${compressed_changelog}"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tarnwell")

if(TARNWELL_BUILD_GUI)
    install(TARGETS tarnwell RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
    install(FILES "${data}/${TARNWELL_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES "${data}/${TARNWELL_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
    install(FILES "${data}/${TARNWELL_APP_ID}.mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
        RENAME "${TARNWELL_APP_ID}.xml")
    install(FILES "${data}/icons/${TARNWELL_APP_ID}.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
    foreach(size IN ITEMS 16 32 48 64 128 256)
        install(FILES "${data}/icons/${size}x${size}/${TARNWELL_APP_ID}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
    endforeach()
endif()

# The Debian package: tarnwell_<version>_<arch>.deb, installing under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwell)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "The Tarnwell developers <tarnwell@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the bots of Quake III Arena")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwell makes and edits the bots (the computer-controlled opponents) of\n"
    "Quake III Arena: their name, model and skin, fun name, the characteristics\n"
    "of their skill levels, their item and weapon weights and their chat lines.\n"
    "It writes the five files the game reads, optionally in the game's folder\n"
    "layout and packed into an archive for the game's baseq3 folder.\n"
    "\n"
    "The package holds the editor (tarnwell) and the same file work without a\n"
    "window (tarnwell-cli).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# An editor for a game's files, not a game: Debian keeps "games" for games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/tarnwell/tarnwell")
# The libraries come from the programs themselves; zlib, which reads and
# writes every archive, is named as well, so that the package says it even
# where the look-up is not run. Qt's platform plugins are loaded at run time,
# so no library look-up finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "zlib1g")
if(TARNWELL_BUILD_GUI)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
endif()
include(CPack)
