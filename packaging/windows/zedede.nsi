; ZeDede's installer: ZeDede.exe and the OpenSSL installer in one folder, a
; Start-menu entry and an uninstaller.
;   makensis -DOUTFILE=<setup.exe> -DVERSION=<a.b.c> -DPROGRAM=<ZeDede.exe>
;            -DOPENSSL_SETUP=<Win32OpenSSL_Light-0_9_8e.exe> [-DICON=<.ico>] zedede.nsi
; Silent: setup.exe /S [/D=<folder>], uninstall.exe /S.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZeDede"
!define TITLE "Asistente para la generación del pedido de certificado digital"

Name "ZeDede ${VERSION}"
Caption "Instalación de ZeDede ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vemra\ZeDede"
ShowInstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=3082 "ProductName" "ZeDede"
VIAddVersionKey /LANG=3082 "CompanyName" "Vemra"
VIAddVersionKey /LANG=3082 "FileDescription" "Instalación de ZeDede"
VIAddVersionKey /LANG=3082 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=3082 "LegalCopyright" "Copyright (C) Vemra"
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

!define MUI_WELCOMEPAGE_TEXT "Este asistente instalará ZeDede ${VERSION}, el ${TITLE}.$\r$\n$\r$\nPresione Siguiente para continuar."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ZeDede.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Iniciar el asistente"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "ZeDede"
  SetOutPath "$INSTDIR"
  File "/oname=ZeDede.exe" "${PROGRAM}"
  File "/oname=Win32OpenSSL_Light-0_9_8e.exe" "${OPENSSL_SETUP}"
  ; The tax authority's public keys, beside the program.
  SetOutPath "$INSTDIR\autoridades"
  File "${AUTHORITY_KEYS}\*.pem"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\ZeDede.lnk" "$INSTDIR\ZeDede.exe" "" "$INSTDIR\ZeDede.exe" 0 \
    SW_SHOWNORMAL "" "${TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "ZeDede"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vemra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ZeDede.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; The daily certificate reminders: every task named zedede-avisos-* that
  ; this account may see and delete (its own; every user's when run as an
  ; administrator), since the program they run goes away.
  ; (The inner command must not begin with a quote, which cmd would strip.)
  nsExec::Exec '"$SYSDIR\cmd.exe" /d /c for /f "tokens=1 delims=," %t in ($\'schtasks /Query /FO CSV /NH ^| findstr /i /c:"zedede-avisos-"$\') do schtasks /Delete /F /TN %t'
  Pop $0
  Delete "$SMPROGRAMS\ZeDede.lnk"
  Delete "$INSTDIR\ZeDede.exe"
  Delete "$INSTDIR\Win32OpenSSL_Light-0_9_8e.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\autoridades\autoridad-produccion.pem"
  Delete "$INSTDIR\autoridades\autoridad-homologacion.pem"
  RMDir "$INSTDIR\autoridades"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
