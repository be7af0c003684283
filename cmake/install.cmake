# Where `cmake --install` and the .deb put the program: the executables in bin, the files the
# editor reads (help, mask.bmp) and the examples in share/meshforge, and the desktop entry,
# icon and project MIME type where the freedesktop menus and file managers look for them.
set(MESHFORGE_SHARE ${CMAKE_INSTALL_DATADIR}/meshforge)
install(TARGETS meshforge-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${MESHFORGE_SHARE}/examples)
if(TARGET meshforge)
  install(TARGETS meshforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/help DESTINATION ${MESHFORGE_SHARE})
  install(FILES ${CMAKE_SOURCE_DIR}/resources/mask.bmp DESTINATION ${MESHFORGE_SHARE})
  set(desktop ${CMAKE_SOURCE_DIR}/resources/desktop)
  install(FILES ${desktop}/meshforge.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop}/meshforge.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${desktop}/meshforge.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()

# The Debian package (scripts/package builds it). Debian's shared-mime-info and
# desktop-file-utils pick the MIME type and the desktop entry up through their dpkg triggers.
set(MESHFORGE_MAINTAINER "Meshforge maintainers <meshforge@localhost>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME meshforge)
set(CPACK_PACKAGE_VENDOR Meshforge)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor of 3D objects for the racing game GPL")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MESHFORGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Meshforge edits the vertices, lines and polygons of GPL track objects, imports and\n"
    "exports DXF, assigns textures and writes the ASE file the game's converter reads.\n"
    "The package holds the Qt editor (meshforge) and the command line (meshforge-cli).")
find_program(MESHFORGE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MESHFORGE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS libqt6core6 libqt6gui6 libqt6widgets6
         libqt6opengl6 libqt6openglwidgets6 libqt6printsupport6 libglu1-mesa libgl1)
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
include(CPack)
