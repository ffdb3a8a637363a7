; Installer of the Windows program: per user, without administrator rights.
; makensis -INPUTCHARSET UTF8 -DVERSION=5.0.0.1 -DSTAGE=<staged files> -DOUTFILE=<setup.exe> tavro.nsi
; A 64-bit installer for the 64-bit program (runs where the program runs).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "成績処理TAVRO"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavro"

Name "${PRODUCT} for Windows Ver.5"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tavro"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "licenses\README.txt"

!include "MUI2.nsh"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\tavro.exe"
  File "${STAGE}\tavro-cli.exe"
  File "${STAGE}\tavro-print.exe"
  File "${STAGE}\*.dll"
  File /r "${STAGE}\platforms"
  File /r "${STAGE}\styles"
  File /r "${STAGE}\imageformats"
  File /r "${STAGE}\translations"
  File /r "${STAGE}\licenses"
  ; The program-side ini is the user's: an update keeps it.
  IfFileExists "$INSTDIR\tavro.INI" +2 0
    File "${STAGE}\tavro.INI"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\tavro.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\アンインストール.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} for Windows Ver.5"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavro.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there. The program-side ini and a data folder beside the program stay.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\tavro.exe"
  Delete "$INSTDIR\tavro-cli.exe"
  Delete "$INSTDIR\tavro-print.exe"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\licenses"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir /r "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
