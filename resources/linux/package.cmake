# The Debian package of the Linux programs (cpack -G DEB in the build directory): telvix-updater,
# telvix-cli, the udev rule, the desktop entries and the icon, with the packages they need at run
# time declared (shared libraries found by dpkg-shlibdeps, and the ODBC drivers the catalogue and
# the demo connect through, which no library link reveals).
set(linux_dir ${PROJECT_SOURCE_DIR}/resources/linux)
set(package_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/telvix-updater)

# Debian wants the changelog and the manual pages compressed, and reproducibly so.
set(package_gz_files)
foreach(source changelog telvix-updater.1 telvix-cli.1)
  set(gz ${PROJECT_BINARY_DIR}/package/${source}.gz)
  add_custom_command(OUTPUT ${gz} COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/package
                     COMMAND gzip -9n -c ${linux_dir}/${source} > ${gz} DEPENDS ${linux_dir}/${source})
  list(APPEND package_gz_files ${gz})
endforeach()
add_custom_target(telvix_package_files ALL DEPENDS ${package_gz_files})
install(FILES ${PROJECT_BINARY_DIR}/package/changelog.gz ${linux_dir}/copyright DESTINATION ${package_doc_dir})
install(FILES ${PROJECT_BINARY_DIR}/package/telvix-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TELVIX_GUI)
  install(FILES ${PROJECT_BINARY_DIR}/package/telvix-updater.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME telvix-updater)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Telvix")
set(CPACK_PACKAGE_CONTACT "Telvix service software <service@telvix-interfaces.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tool for Telvix vehicle video interfaces")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Finds a Telvix vehicle video interface attached by USB, shows the software\n\
it carries, searches the software catalogue by vehicle, installs the chosen\n\
software (through the interface's HID bootloader or its update volume),\n\
records the install and edits the interface's video, camera, text-overlay\n\
and feature settings. Includes the command-line program telvix-cli and an\n\
emulated interface for trying the program without hardware.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "unixodbc, odbc-mariadb, libsqliteodbc")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.telvix-interfaces.com/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
