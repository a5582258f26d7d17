; The Zelvo for Windows installer. scripts/windows.sh passes
;   VERSION  the one version of the program (project() in CMakeLists.txt)
;   STAGE    the folder `cmake --install` filled: programs, Qt, runtime
;   ICON     the program's icon (.ico)
;   PICTURE  the welcome and finish pages' picture (164 x 314 BMP, the program's icon)
;   FILES    an include of the Delete and RMDir lines of every file STAGE holds
;   OUTFILE  the installer to write
; A silent install (/S) and a silent uninstall (/S) ask nothing.
;
; The uninstaller removes what the installer put there and nothing else: a
; file the user saved into the folder stays, and so does the folder then. The
; user's settings (Zelvo\zelvo.ini in the profile's AppData) stay too.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "WordFunc.nsh"
!include "FileFunc.nsh"

!define APP "Zelvo"
!define PUBLISHER "Zelvo Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductName" "${APP}"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка ${APP}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "© ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
; "Отмена" asks before it quits.
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
; The installer runs elevated, and a program it started would too: files
; saved from it would land where the user's own programs cannot reach them.
; The finish page says where the program is instead of starting it.
!define MUI_FINISHPAGE_TEXT "Программа ${APP} установлена.$\r$\n$\r$\nЗапустите её из меню «Пуск», папка «${APP}»."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Zelvo"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; An earlier version's entry stood alone in the menu.
  Delete "$SMPROGRAMS\${APP}.lnk"
  CreateDirectory "$SMPROGRAMS\${APP}"
  CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\zelvo.exe" "" "$INSTDIR\zelvo.exe" 0
  CreateShortcut "$SMPROGRAMS\${APP}\Удалить ${APP}.lnk" "$INSTDIR\uninstall.exe" "" \
    "$INSTDIR\uninstall.exe" 0

  ; Programs and Features.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelvo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; zelvo-cli from any command prompt: the folder joins the system's PATH once.
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  ${WordReplace} "$0" ";$INSTDIR" "" "+" $0
  StrCmp $0 "" 0 +3
    StrCpy $0 "$INSTDIR"
    Goto +2
  StrCpy $0 "$0;$INSTDIR"
  WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0"
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\Удалить ${APP}.lnk"
  RMDir "$SMPROGRAMS\${APP}"
  Delete "$SMPROGRAMS\${APP}.lnk"
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  IfFileExists "$INSTDIR\*.*" 0 removed
    DetailPrint "Папка $INSTDIR оставлена: в ней есть файлы, которые установила не программа установки ${APP}."
    MessageBox MB_OK|MB_ICONINFORMATION "Папка $INSTDIR не удалена: в ней остались файлы, которые установила не программа установки ${APP} (например, сохранённые вами). Удалите их сами, если они не нужны." /SD IDOK
  removed:
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  ${un.WordReplace} "$0" ";$INSTDIR" "" "+" $0
  ${un.WordReplace} "$0" "$INSTDIR" "" "+" $0
  WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0"
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
SectionEnd
