; The Windows installer, built by the `installer` target (cmake/Installer.cmake), which defines
; VERSION, OUTFILE, FILES (the include that lists the programs and the read-me), LINK (the
; installed file the Start-menu entry opens) and ICON (the program whose icon the list of
; installed programs shows).
;
; A per-user install: no administrator rights, the programs under the user's own
; %LOCALAPPDATA%\Programs, the Start-menu entry and the uninstaller's registration under
; HKEY_CURRENT_USER. `/S` installs silently; `Uninstall.exe /S` removes everything it put there
; and leaves the dialog's remembered paths alone.
;
; Nothing is left half done: while a program of the installation runs, neither the installer nor
; the uninstaller touches anything (Retry or Cancel; a silent run ends with exit code 2), and the
; registration goes only once the files are gone. A second installation into another folder takes
; over the registration and the Start-menu entry; an uninstaller removes them only while they are
; its own folder's.

; 64-bit and Unicode: makensis on Debian makes 32-bit installers otherwise.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelagor"

Name "Pelagor ${VERSION}"
; A file that cannot be written is never skipped: the run ends, as after Cancel.
AllowSkipFiles off
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

LangString PROGRAM_RUNNING ${LANG_ENGLISH} \
    "Pelagor is running from $INSTDIR. Close every Pelagor window and pelagor-cli, then choose Retry."
LangString PROGRAM_RUNNING ${LANG_TRADCHINESE} \
    "Pelagor 正在執行（$INSTDIR）。請關閉所有 Pelagor 視窗與 pelagor-cli，再按「重試」。"
LangString FILES_LEFT ${LANG_ENGLISH} \
    "Some files in $INSTDIR could not be removed. Pelagor stays registered: close what uses them, then uninstall again."
LangString FILES_LEFT ${LANG_TRADCHINESE} \
    "$INSTDIR 中有些檔案無法移除。Pelagor 仍保留登錄：請關閉使用它們的程式，再解除安裝一次。"

; Waits until the installed program named on the stack is not running: Windows lets nobody open
; the file of a running program for writing. Retry tries again; Cancel, and a silent run, end
; here with exit code 2, before anything is changed.
!macro PELAGOR_WAIT_UNTIL_CLOSED_FUNCTION UN
Function ${UN}WaitUntilClosed
    Exch $0
    Push $1
retry:
    IfFileExists "$INSTDIR\$0" 0 closed
    ClearErrors
    FileOpen $1 "$INSTDIR\$0" a
    IfErrors running
    FileClose $1
    Goto closed
running:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PROGRAM_RUNNING)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
closed:
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro PELAGOR_WAIT_UNTIL_CLOSED_FUNCTION ""
!insertmacro PELAGOR_WAIT_UNTIL_CLOSED_FUNCTION "un."

Section
    !insertmacro PELAGOR_WAIT_FOR_PROGRAMS ""
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
; registration goes after the files, so that an uninstall that could not finish can be run again;
; the folder goes last, so that its absence means the uninstall is complete.
Section "Uninstall"
    !insertmacro PELAGOR_WAIT_FOR_PROGRAMS "un."
    ClearErrors
    !insertmacro PELAGOR_DELETE_FILES
    IfErrors 0 removed
    MessageBox MB_OK|MB_ICONSTOP "$(FILES_LEFT)" /SD IDOK
    SetErrorLevel 2
    Quit
removed:
    ; The entry and the link belong to the installation the registration names: another one, in
    ; another folder, may have taken them over.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    StrCmp $0 $INSTDIR 0 not_ours
    Delete "$SMPROGRAMS\Pelagor.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
not_ours:
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
