# Installation layout and the Debian package (cpack -G DEB, see scripts/package.sh): the program and
# zavrik-tool in /usr/bin, their manual pages, the copyright and changelog under /usr/share/doc.
include(GNUInstallDirs)

set(ZAVRIK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zavrik)
set(ZAVRIK_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)

# Manual pages and the changelog are installed compressed with gzip -9n, as Debian wants them.
set(compressed "")
foreach(source docs/man/zavrik.1 docs/man/zavrik-tool.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${ZAVRIK_PACKAGE_FILES}/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAVRIK_PACKAGE_FILES}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND compressed ${output})
endforeach()
add_custom_target(zavrik_package_files ALL DEPENDS ${compressed})

install(TARGETS zavrik zavrik-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZAVRIK_PACKAGE_FILES}/zavrik.1.gz ${ZAVRIK_PACKAGE_FILES}/zavrik-tool.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZAVRIK_PACKAGE_FILES}/changelog.gz DESTINATION ${ZAVRIK_DOC_DIR})
install(FILES packaging/copyright DESTINATION ${ZAVRIK_DOC_DIR})

# Packaging installs what is built; it never builds the whole tree first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zavrik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "zavrik maintainers <maintainers@users.noreply.c-seed-07565e20.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "report generator: templates in a Firebird database to PDF")
set(CPACK_PACKAGE_DESCRIPTION
  "zavrik reads a report template stored in the table IDE_REPORTS of a\n\
Firebird database, runs its queries and scripts, lays out its bands on\n\
pages and writes the PDF document to standard output as Base64 text.\n\
zavrik-tool checks templates, lists the report classes with their\n\
properties and renders template files for their authors.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link come from dpkg-shlibdeps; the Firebird client library,
# libtiff and cairo are opened at run time, so they are named here (libtiff.so.6 is in package
# libtiff6, libcairo.so.2 in libcairo2).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(REGEX REPLACE "^(.*)\\.so\\.([0-9]+)$" "\\1\\2" tiff_package "${ZAVRIK_TIFF_LIBRARY}")
string(REGEX REPLACE "^(.*)\\.so\\.([0-9]+)$" "\\1\\2" cairo_package "${ZAVRIK_CAIRO_LIBRARY}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfbclient2, ${tiff_package}, ${cairo_package}")
# The metric-compatible stand-ins for the report families (Arial, Times New Roman, Courier New,
# Calibri, Tahoma) and a general fallback.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-liberation2 | fonts-liberation, fonts-crosextra-carlito, fonts-wine, fonts-dejavu-core")
include(CPack)
