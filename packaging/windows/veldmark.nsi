; The Windows installer: veldmark.scr into the system folder, where the screensaver settings
; list it; veldmark.exe, the read-me, the licence and the uninstaller into Program Files; an
; entry under "Add or remove programs"; and an offer to make Veldmark the current screensaver.
; Silent with /S; /S /CURRENT also makes it the current screensaver.
;   makensis -NOCD -DVERSION=X.Y.Z -DFILES=DIR -DOUTFILE=SETUP.EXE veldmark.nsi
; (scripts/release runs it; DIR holds veldmark.scr, veldmark.exe, README.txt and LICENSE.txt.)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; The files keep no time of their own: the same files give the same installer, byte for byte.
SetDateSave off
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veldmark"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SENDCHANGE 2

Name "Veldmark ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Veldmark"
BrandingText "Veldmark ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "Veldmark"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Veldmark ${VERSION} setup"
VIAddVersionKey /LANG=1033 CompanyName "The Veldmark authors"
VIAddVersionKey /LANG=1033 LegalCopyright "Copyright (c) the Veldmark authors. MIT License."

!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Make Veldmark the current screensaver"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeCurrentScreensaver
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screensaver settings"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreensaverSettings
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; The current user's screensaver becomes Veldmark, and the running session is told at once.
Function MakeCurrentScreensaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\veldmark.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})'
FunctionEnd

Function OpenScreensaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "Veldmark"
  SetOutPath "$SYSDIR"
  File "${FILES}\veldmark.scr"
  SetOutPath "$INSTDIR"
  File "${FILES}\veldmark.exe"
  File "${FILES}\README.txt"
  File "${FILES}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Veldmark.lnk" "$INSTDIR\veldmark.exe" "" "$INSTDIR\veldmark.exe" 0 \
    SW_SHOWNORMAL "" "The drive in a window"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Veldmark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Veldmark authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veldmark.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=veldmark.scr /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; A silent install changes the current screensaver only when asked to.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CURRENT" $1
  ${IfNot} ${Errors}
    Call MakeCurrentScreensaver
  ${EndIf}
SectionEnd

Section "Uninstall"
  ; The screensaver setting goes with the file it names.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\veldmark.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$SYSDIR\veldmark.scr"
  Delete "$SMPROGRAMS\Veldmark.lnk"
  Delete "$INSTDIR\veldmark.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
