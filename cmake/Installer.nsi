; The Windows installer, built by the `installer` target (cmake/Installer.cmake), which defines
; VERSION, OUTFILE, FILES (the include that lists the programs and the read-me), LINK (the
; installed file the Start-menu entry opens) and ICON (the program whose icon the list of
; installed programs shows).
;
; A per-user install: no administrator rights, the programs under the user's own
; %LOCALAPPDATA%\Programs, the Start-menu entry and the uninstaller's registration under
; HKEY_CURRENT_USER. `/S` installs silently; `Uninstall.exe /S` removes everything it put there
; and leaves the dialog's remembered paths alone.

; 64-bit and Unicode: makensis on Debian makes 32-bit installers otherwise.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelagor"

Name "Pelagor ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pelagor"
; A second install goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Pelagor"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "Orvane"
VIAddVersionKey /LANG=0 "FileDescription" "Pelagor ${VERSION} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Orvane"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; English first: it is the language of a system that is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"

Section
    SetOutPath "$INSTDIR"
    !insertmacro PELAGOR_INSTALL_FILES
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Pelagor.lnk" "$INSTDIR\${LINK}"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pelagor"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvane"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${ICON}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only what the installer put there goes: a folder the user chose may hold other files. The
; folder goes last, so that its absence means the uninstall is complete.
Section "Uninstall"
    Delete "$SMPROGRAMS\Pelagor.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    !insertmacro PELAGOR_DELETE_FILES
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
