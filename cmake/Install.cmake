# What `cmake --install` lays down and what `cpack -G DEB` packs.
#
# Linux: the programs in bin/, libDorvex32.so.1 in the library folder (found
# through the programs' RPATH), the C header and a CMake package for callers
# of the print engine, the shipped files in share/kovra-viewer/, and the
# desktop entry, icon, MIME type and AppStream metainfo.  Windows: the
# programs, the DLL and the shipped files side by side, as the build has them.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KOVRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kovra-viewer)

# The programs find Dorvex32 relative to themselves wherever the tree lands.
if(NOT WIN32)
  file(RELATIVE_PATH bin_to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(ProjectKovra kovra PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")
endif()

install(TARGETS ProjectKovra kovra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set_target_properties(Dorvex32 PROPERTIES
  VERSION ${PROJECT_VERSION}.0
  SOVERSION ${PROJECT_VERSION_MAJOR}
  PUBLIC_HEADER ${PROJECT_SOURCE_DIR}/printengine/Dorvex32.h)
install(TARGETS Dorvex32 EXPORT Dorvex32Targets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
set(dorvex_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Dorvex32)
install(EXPORT Dorvex32Targets NAMESPACE Dorvex32:: DESTINATION ${dorvex_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Dorvex32Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/Dorvex32Config.cmake INSTALL_DESTINATION ${dorvex_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/Dorvex32ConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/Dorvex32Config.cmake ${CMAKE_CURRENT_BINARY_DIR}/Dorvex32ConfigVersion.cmake
  DESTINATION ${dorvex_cmake_dir})

if(NOT WIN32)
  set(linux ${PROJECT_SOURCE_DIR}/data/linux)
  set(app_id com.example.KovraViewer)
  install(FILES ${linux}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${linux}/${app_id}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${linux}/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${linux}/${app_id}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${linux}/copyright DESTINATION ${KOVRA_DOC_DIR})
  # Debian wants the changelog and manual pages compressed, without a time
  # stamp in the gzip header.
  set(zipped)
  foreach(f changelog kovra.1 ProjectKovra.1)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${f}.gz
      COMMAND gzip -9 -n -c ${linux}/${f} > ${CMAKE_CURRENT_BINARY_DIR}/${f}.gz
      DEPENDS ${linux}/${f})
    list(APPEND zipped ${CMAKE_CURRENT_BINARY_DIR}/${f}.gz)
  endforeach()
  add_custom_target(kovra_install_docs ALL DEPENDS ${zipped})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${KOVRA_DOC_DIR})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kovra.1.gz ${CMAKE_CURRENT_BINARY_DIR}/ProjectKovra.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package.
set(CPACK_PACKAGE_NAME kovra-viewer)
set(CPACK_PACKAGE_VENDOR "Kovra Viewer developers")
set(CPACK_PACKAGE_CONTACT "Kovra Viewer developers <support@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the listing files of the Kovra real-estate network")
set(CPACK_PACKAGE_DESCRIPTION "Kovra Viewer opens the Shift-JIS listing export files of the Kovra
real-estate network, shows every listing as Japanese display texts, prints an
A4 report per listing through its print engine Dorvex32, writes linked HTML
pages from a template and saves a copy with the broker columns blanked.
The command-line tool kovra offers the same work without a window.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://support.example.com/kovra/)
# The libraries from dpkg-shlibdeps; what is loaded at run time by name
# (Qt's platform plugins and translations, the fonts) is declared here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-liberation2")
# libDorvex32.so.1 sits in the library folder: ldconfig runs through a
# trigger, as Debian's policy asks, instead of maintainer scripts.
# Scripts of our own keep CPack from writing ldconfig calls into them.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/data/linux/triggers ${PROJECT_SOURCE_DIR}/data/linux/postinst ${PROJECT_SOURCE_DIR}/data/linux/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
