; The Windows setup program: installs telvix-updater.exe, telvix-cli.exe, the icons and the odbc\
; folder, a Start menu shortcut and an uninstaller listed among the system's programs.
; Per machine with administrator rights, or per user without them (/CurrentUser, or the choice
; on the install-mode page).
;   makensis -DVERSION=4.0.0 -DOUTFILE=...\telvix-updater-setup.exe -DCLI_EXE=... [-DUPDATER_EXE=...]
;            -DICONS_DIR=... -DODBC_NOTE=... installer.nsi
; A 64-bit setup for the 64-bit programs: it also writes the 64-bit registry view.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Telvix Updater"
!define PRODUCT_KEY "TelvixUpdater"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_KEY}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${PRODUCT_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${PRODUCT_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
Icon "${ICONS_DIR}\application.ico"
UninstallIcon "${ICONS_DIR}\application.ico"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var ChosenDir

; The install mode sets its own default folder; a folder named with /D= keeps precedence.
Function .onInit
  StrCpy $ChosenDir $INSTDIR
  !insertmacro MULTIUSER_INIT
  StrCmp $ChosenDir "" +2
  StrCpy $INSTDIR $ChosenDir
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Telvix Updater" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
!ifdef UPDATER_EXE
  File "/oname=telvix-updater.exe" "${UPDATER_EXE}"
!endif
  File "/oname=telvix-cli.exe" "${CLI_EXE}"
  SetOutPath "$INSTDIR\icons"
  File "${ICONS_DIR}\*.ico"
  SetOutPath "$INSTDIR\odbc"
  File "/oname=README.txt" "${ODBC_NOTE}"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr SHCTX "Software\${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "Software\${PRODUCT_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Telvix"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
!ifdef UPDATER_EXE
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\telvix-updater.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} (demo).lnk" "$INSTDIR\telvix-updater.exe" "--demo"
!endif
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

; Removes exactly what the setup put there; the user's settings and install journal in the
; application data folder stay, as they hold records the catalogue may not have taken yet.
Section "Uninstall"
  Delete "$INSTDIR\telvix-updater.exe"
  Delete "$INSTDIR\telvix-cli.exe"
  Delete "$INSTDIR\icons\*.ico"
  RMDir "$INSTDIR\icons"
  Delete "$INSTDIR\odbc\README.txt"
  RMDir "$INSTDIR\odbc"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} (demo).lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\${PRODUCT_KEY}"
SectionEnd
