# Installation and packaging rules.
#
# One id names the desktop entry, the AppStream component and the icon, so that desktops and
# software centres can tie the three together.
include(GNUInstallDirs)

set(DIEPROFILE_APP_ID "io.github.dieprofile.DieProfile")
set(DIEPROFILE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(DIEPROFILE_MAINTAINER "dieprofile developers <dieprofile@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")

# The PNG icons come from the code that draws the window's icon, at build time.
add_executable(dieprofile-icons src/qt/programs/icon_main.cpp)
target_link_libraries(dieprofile-icons PRIVATE dieprofile_qt)

# The sizes are the program's own (kAppIconSizes); the folder is written whole and installed whole.
set(dieprofile_icon_dir ${PROJECT_BINARY_DIR}/icons)
set(dieprofile_icon_stamp ${PROJECT_BINARY_DIR}/icons.stamp)
add_custom_command(
  OUTPUT ${dieprofile_icon_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${dieprofile_icon_dir}
  COMMAND dieprofile-icons ${dieprofile_icon_dir} ${DIEPROFILE_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${dieprofile_icon_stamp}
  DEPENDS dieprofile-icons
  COMMENT "Drawing the application icons"
  VERBATIM)
add_custom_target(dieprofile_icons ALL DEPENDS ${dieprofile_icon_stamp})

install(TARGETS dieprofile dieprofile-replay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Where the program looks for its printing module: the same folder from any prefix.
install(TARGETS dieprofile_printing LIBRARY DESTINATION ${DIEPROFILE_PRIVATE_LIBDIR})
install(FILES ${DIEPROFILE_PACKAGING_DIR}/${DIEPROFILE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DIEPROFILE_PACKAGING_DIR}/${DIEPROFILE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The design file's MIME type; dpkg's trigger of shared-mime-info updates the database.
install(FILES ${DIEPROFILE_PACKAGING_DIR}/${DIEPROFILE_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${dieprofile_icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${DIEPROFILE_PACKAGING_DIR}/dieprofile.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${DIEPROFILE_APP_ID}.svg)
install(FILES ${DIEPROFILE_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Its library dependencies are read from the binaries by dpkg-shlibdeps;
# the fonts and the X11 platform plugin are loaded at run time, so no binary names them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dieprofile)
set(CPACK_PACKAGE_VENDOR "dieprofile developers")
set(CPACK_PACKAGE_CONTACT "${DIEPROFILE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Die Profile draws the bore of a diamond wire-drawing die to scale from its dimensions,\
 shows the delta value and the area reduction of the draft, works in inches or millimetres\
 and prints the layout.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DIEPROFILE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
include(CPack)
