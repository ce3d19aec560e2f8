; The installer of Slotvane, built by scripts/package with makensis:
;   makensis -DVERSION=1.0.0.0 -DPROGRAM_DIR=<folder of slotvane.exe> -DOUTFILE=<setup.exe> installer.nsi
; Paths inside the script are relative to its folder. It installs the programs under Program
; Files, a Start-menu shortcut for all users and the uninstall entry. The uninstaller removes
; exactly what was installed and the path the program records at every start; the per-user data
; folder (log, link list, exports) stays. It removes nothing while the program runs: it asks the
; user to close it, and a silent uninstall fails with exit code 2 (seen by the caller when the
; uninstaller runs with _?=, as NSIS uninstallers otherwise return at once).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include FileFunc.nsh
!include LogicLib.nsh

!define MAKER "Tarvik"
!define TITLE "Slotvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${MAKER} ${TITLE}"
!define MAKER_KEY "Software\${MAKER}"
; Held by the program while it runs (src/app/program_win.cpp).
!define RUNNING_MUTEX "Global\${MAKER} ${TITLE}"
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5

Name "${MAKER} ${TITLE}"
OutFile "${OUTFILE}"
Icon "slotvane.ico"
UninstallIcon "slotvane.ico"
InstallDir "$PROGRAMFILES64\${MAKER}\${TITLE}"
ShowInstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${TITLE}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${MAKER} ${TITLE} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${MAKER}"

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    ; Only Program Files keeps other users from replacing the programs (and the uninstaller that an
    ; administrator runs), so /D= does not move them elsewhere.
    StrCpy $INSTDIR "$PROGRAMFILES64\${MAKER}\${TITLE}"
FunctionEnd

Section "Install"
    SetRegView 64
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}/slotvane.exe"
    File "${PROGRAM_DIR}/slotvane-cli.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\slotvane.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${MAKER} ${TITLE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\slotvane.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; A running copy holds its files: removing around them would leave them behind without an entry.
; Asks until the program is closed; Cancel, and a silent uninstall, end the uninstaller with 2.
; The mutex counts as held when it exists but belongs to another user (access denied).
Function un.EnsureProgramClosed
retry:
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> ${ERROR_ACCESS_DENIED}
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${TITLE} is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
FunctionEnd

Function un.onInit
    Call un.EnsureProgramClosed
FunctionEnd

Section "Uninstall"
    ; Again, as the program may have been started while the confirmation page was shown.
    Call un.EnsureProgramClosed
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\${TITLE}.lnk"
    Delete "$INSTDIR\slotvane.exe"
    Delete "$INSTDIR\slotvane-cli.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; Only the maker's own folder, and only when nothing else of the maker's is in it.
    RMDir "$PROGRAMFILES64\${MAKER}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; The program records its path here at every start (for the user who uninstalls: best effort).
    ; Other programs of the maker keep their values; the key goes once it is empty.
    DeleteRegValue HKCU "${MAKER_KEY}" "${TITLE}"
    DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
SectionEnd
