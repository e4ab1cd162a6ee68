# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package.
#
#   cmake --install build --prefix DIR   bin/quarneltit, quarnel-tool,
#       quarnel-ta, quarnel-load; share/quarneltit (English module, help pages and their
#       images); the desktop entry and the icon.
#   cpack --config build/CPackConfig.cmake   quarneltit_<version>_<arch>.deb
#
# The TA parameter file is not installed: the program asks for it on its
# first start. Qt's own French texts come from Debian's
# qt6-translations-l10n, where the program looks for them.
include(GNUInstallDirs)

target_compile_definitions(quarneltit PRIVATE QUARNEL_VERSION="${PROJECT_VERSION}")

set(QUARNEL_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quarneltit)
install(TARGETS quarneltit quarnel-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT program)
if(TARGET quarnel-ta)
  install(TARGETS quarnel-ta quarnel-load RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          COMPONENT program)
endif()
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/quarneltit.ENG
              ${CMAKE_SOURCE_DIR}/src/resources/help/QuarnelTit_F.html
              ${CMAKE_SOURCE_DIR}/src/resources/help/QuarnelTit_E.html
        DESTINATION ${QUARNEL_INSTALL_DATA_DIR} COMPONENT program)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/resources/help/images
        DESTINATION ${QUARNEL_INSTALL_DATA_DIR} COMPONENT program
        FILES_MATCHING PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/quarneltit.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/quarneltit.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)
foreach(size 64 128)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/quarneltit-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME quarneltit.png COMPONENT program)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarneltit)
set(CPACK_PACKAGE_VENDOR "QuarnelSoft")
set(CPACK_PACKAGE_CONTACT "QuarnelTit developers <quarneltit@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "secure-mail client of the QuarnelSys system")
set(CPACK_PACKAGE_DESCRIPTION
    "QuarnelTit signs, encrypts and sends mail to the other affiliates of a\n\
Trusted Authority, and decrypts what they send. The package also holds\n\
quarnel-tool, the reference authority server quarnel-ta and its load driver\n\
quarnel-load.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quarneltit)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries alone do not say: Qt's French texts (loaded at run
# time), a font, and the Qt SQL plugin of quarnel-ta's default store (its
# PostgreSQL one only for an authority on PostgreSQL).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, fonts-dejavu-core | fonts-liberation2, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils, libqt6sql6-psql")
include(CPack)
