; The Windows installer: per-user (default) or for all users, a Start-menu entry, and an
; uninstaller that removes exactly what was installed. The settings under the roaming
; application-data folder are the user's: kept unless the user asks otherwise.
; makensis -DVERSION=x.y.z.w -DSOURCE=<portable folder> -DOUTFILE=<setup.exe> pelmaris.nsi
; A 64-bit installer for a 64-bit program (and for a Wine without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma

!define APPNAME "Pelmaris"
!define MAKER "Wendelmoor"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APPNAME}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APPNAME}"
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

Name "${APPNAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
ShowInstDetails show

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${APPNAME} setup"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${MAKER}"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  ; The file list is generated from the portable folder, so the uninstaller can remove
  ; exactly these files and nothing else.
  !include "${FILELIST}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\Pelmaris.exe" "" "$INSTDIR\Pelmaris.exe" 0
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "${MAKER}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\Pelmaris.exe"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !include "${UNFILELIST}"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${APPNAME}.lnk"
  ; Removed only when empty: anything the user put there stays.
  RMDir "$INSTDIR\platforms"
  RMDir "$INSTDIR\styles"
  RMDir "$INSTDIR\imageformats"
  RMDir "$INSTDIR\translations"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTKEY}"
  ; The settings are the user's. A silent uninstall keeps them unless /REMOVESETTINGS is
  ; given; otherwise the user is asked, and No keeps them.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  IfErrors 0 remove_settings
  IfSilent keep_settings
  MessageBox MB_YESNO|MB_DEFBUTTON2 "設定ファイルも削除しますか?" IDYES remove_settings
  Goto keep_settings
remove_settings:
  SetShellVarContext current
  Delete "$APPDATA\${MAKER}\${APPNAME}\${APPNAME}.ini"
  RMDir "$APPDATA\${MAKER}\${APPNAME}"
  RMDir "$APPDATA\${MAKER}"
keep_settings:
SectionEnd
