# Installation of the desktop integration: the desktop entries, the application icon and the udev
# rule that lets the logged-in user open the interface. Included by the top-level CMakeLists.txt.
include(GNUInstallDirs)
set(linux_dir ${PROJECT_SOURCE_DIR}/resources/linux)
# udev reads rules from /usr/lib/udev/rules.d whatever the prefix; TELVIX_UDEV_RULES_DIR overrides it
# (packaging, or an install prefix without root).
set(TELVIX_UDEV_RULES_DIR "/usr/lib/udev/rules.d" CACHE PATH "Where the udev rule is installed")
install(FILES ${linux_dir}/70-telvix-interface.rules DESTINATION ${TELVIX_UDEV_RULES_DIR})
if(TELVIX_GUI)
  install(FILES ${linux_dir}/telvix-updater.desktop ${linux_dir}/telvix-updater-demo.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/application.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME telvix-updater.svg)
endif()
