; The installer of Slotvane, built by scripts/package with makensis:
;   makensis -DVERSION=1.0.0.0 -DPROGRAM_DIR=<folder of slotvane.exe> -DOUTFILE=<setup.exe> installer.nsi
; Paths inside the script are relative to its folder. It installs the programs under Program
; Files, a Start-menu shortcut for all users and the uninstall entry. The uninstaller removes
; exactly what was installed; the per-user data folder (log, link list, exports) stays.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include FileFunc.nsh

!define MAKER "Tarvik"
!define TITLE "Slotvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${MAKER} ${TITLE}"

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

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

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

Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\${TITLE}.lnk"
    Delete "$INSTDIR\slotvane.exe"
    Delete "$INSTDIR\slotvane-cli.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; The maker's folder goes only when nothing else of the maker's is in it.
    RMDir "$INSTDIR\.."
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
