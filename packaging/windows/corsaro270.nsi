; The Windows installer: the programs in Program Files, a Start-menu folder, an uninstaller and the
; entry in the system's list of installed programs. The log and the profile backups belong to
; each user, in %LOCALAPPDATA%\Corsaro270: the installer makes nothing there and the uninstaller
; removes nothing there.
;
; makensis -NOCD -DVERSION=1.3 -DOUTFILE=setup.exe -DCLI=corsaro270-cli.exe
;          [-DCUSTOMISER=corsaro270.exe] [-DDEMO=corsaro270-demo.exe -DPRESETS=assets/presets]
;          corsaro270.nsi

!ifndef VERSION | OUTFILE | CLI
  !error "VERSION, OUTFILE and CLI must be defined"
!endif

!define PRODUCT "Corsaro270 Customiser"
!define FOLDER "Corsaro270"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${FOLDER}"

Target amd64-unicode
Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${FOLDER}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "LegalCopyright" ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Programs"
  SetOutPath "$INSTDIR"
!ifdef CUSTOMISER
  File "/oname=corsaro270.exe" "${CUSTOMISER}"
!endif
!ifdef DEMO
  File "/oname=corsaro270-demo.exe" "${DEMO}"
  ; The bundled preset server's content, which the demo reads from its own folder.
  SetOutPath "$INSTDIR\presets"
  File /r "${PRESETS}/*"
  SetOutPath "$INSTDIR"
!endif
  File "/oname=corsaro270-cli.exe" "${CLI}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; For every user of the machine, as the programs are.
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${FOLDER}"
!ifdef CUSTOMISER
  CreateShortcut "$SMPROGRAMS\${FOLDER}\${PRODUCT}.lnk" "$INSTDIR\corsaro270.exe"
!endif
!ifdef DEMO
  CreateShortcut "$SMPROGRAMS\${FOLDER}\Corsaro270 Demo.lnk" "$INSTDIR\corsaro270-demo.exe"
!endif
  ; The command-line tool is a console program: a prompt that starts with its help.
  CreateShortcut "$SMPROGRAMS\${FOLDER}\Corsaro270 Command Line.lnk" "$SYSDIR\cmd.exe" \
    '/k "$INSTDIR\corsaro270-cli.exe" help'
  CreateShortcut "$SMPROGRAMS\${FOLDER}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Only the files this installer put there, and the folder only once it is empty, so that
  ; nothing a user keeps beside the programs is lost.
  Delete "$INSTDIR\corsaro270.exe"
  Delete "$INSTDIR\corsaro270-demo.exe"
  Delete "$INSTDIR\corsaro270-cli.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; The presets folder is the installer's own, all of it.
  RMDir /r "$INSTDIR\presets"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${FOLDER}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${FOLDER}\Corsaro270 Demo.lnk"
  Delete "$SMPROGRAMS\${FOLDER}\Corsaro270 Command Line.lnk"
  Delete "$SMPROGRAMS\${FOLDER}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${FOLDER}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
