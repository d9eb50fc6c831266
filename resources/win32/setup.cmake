# The Windows setup program, telvix-updater-setup.exe in the build directory, made by NSIS from
# resources/win32/installer.nsi once the programs are built. Skipped where makensis is missing.
find_program(TELVIX_MAKENSIS makensis)
if(TELVIX_MAKENSIS)
  set(win32_dir ${PROJECT_SOURCE_DIR}/resources/win32)
  set(setup_exe ${PROJECT_BINARY_DIR}/telvix-updater-setup.exe)
  set(setup_defines -DVERSION=${PROJECT_VERSION} -DOUTFILE=${setup_exe} -DCLI_EXE=$<TARGET_FILE:telvix-cli>
                    -DICONS_DIR=${win32_dir}/icons -DODBC_NOTE=${win32_dir}/odbc-readme.txt)
  set(setup_programs telvix-cli)
  if(TARGET telvix-updater)
    list(APPEND setup_defines -DUPDATER_EXE=$<TARGET_FILE:telvix-updater>)
    list(APPEND setup_programs telvix-updater)
  endif()
  add_custom_command(OUTPUT ${setup_exe}
                     COMMAND ${TELVIX_MAKENSIS} -V2 ${setup_defines} ${win32_dir}/installer.nsi
                     DEPENDS ${win32_dir}/installer.nsi ${win32_dir}/odbc-readme.txt ${setup_programs}
                     COMMENT "Making telvix-updater-setup.exe")
  add_custom_target(telvix_setup ALL DEPENDS ${setup_exe})
endif()
