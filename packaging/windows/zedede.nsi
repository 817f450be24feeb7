; ZeDede's installer: ZeDede.exe, its console companion zedede.com and the
; OpenSSL installer in one folder, Start-menu entries, on request that folder
; in the user's PATH, and an uninstaller.
;   makensis -DOUTFILE=<setup.exe> -DVERSION=<a.b.c> -DPROGRAM=<ZeDede.exe>
;            -DCONSOLE=<zedede.com> -DOPENSSL_SETUP=<Win32OpenSSL_Light-0_9_8e.exe>
;            [-DICON=<.ico>] zedede.nsi
; Silent: setup.exe /S [/PATH] [/D=<folder>] (/PATH: the folder goes into the
; user's PATH), uninstall.exe /S.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "StrFunc.nsh"
!include "WinMessages.nsh"

${StrStr}
${UnStrRep}

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
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ZeDede.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Iniciar el asistente"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"


Function un.onInit
  SetRegView 64
FunctionEnd

Section "ZeDede" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=ZeDede.exe" "${PROGRAM}"
  File "/oname=zedede.com" "${CONSOLE}"
  File "/oname=Win32OpenSSL_Light-0_9_8e.exe" "${OPENSSL_SETUP}"
  ; The tax authority's public keys, beside the program.
  SetOutPath "$INSTDIR\autoridades"
  File "${AUTHORITY_KEYS}\*.pem"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\ZeDede.lnk" "$INSTDIR\ZeDede.exe" "" "$INSTDIR\ZeDede.exe" 0 \
    SW_SHOWNORMAL "" "${TITLE}"
  CreateDirectory "$SMPROGRAMS\ZeDede"
  CreateShortcut "$SMPROGRAMS\ZeDede\Verificar certificado.lnk" "$INSTDIR\ZeDede.exe" \
    "--verificar" "$INSTDIR\ZeDede.exe" 0 SW_SHOWNORMAL "" \
    "Muestra qué es un archivo de certificado, su vigencia y su clave privada"
  CreateShortcut "$SMPROGRAMS\ZeDede\Mis certificados.lnk" "$INSTDIR\ZeDede.exe" \
    "--certificados" "$INSTDIR\ZeDede.exe" 0 SW_SHOWNORMAL "" \
    "Los certificados de una carpeta y sus vencimientos"
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

; Off unless ticked: "zedede" then runs the companion from any console.
Section /o "Agregar la carpeta del programa al PATH del usuario (para usar «zedede» en la consola)" SecPath
  ReadRegStr $0 HKCU "Environment" "Path"
  ${StrStr} $1 ";$0;" ";$INSTDIR;"
  ${If} $1 == ""
    ${If} $0 == ""
      WriteRegExpandStr HKCU "Environment" "Path" "$INSTDIR"
    ${Else}
      WriteRegExpandStr HKCU "Environment" "Path" "$0;$INSTDIR"
    ${EndIf}
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToUserPath" 1
SectionEnd

; After the sections, whose numbers it uses.
Function .onInit
  SetRegView 64
  ; /PATH on the command line ticks the PATH box (for silent installs).
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PATH" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecPath} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; The daily certificate reminders: every task named zedede-avisos-* that
  ; this account may see and delete (its own; every user's when run as an
  ; administrator), since the program they run goes away.
  ; (The inner command must not begin with a quote, which cmd would strip.)
  nsExec::Exec '"$SYSDIR\cmd.exe" /d /c for /f "tokens=1 delims=," %t in ($\'schtasks /Query /FO CSV /NH ^| findstr /i /c:"zedede-avisos-"$\') do schtasks /Delete /F /TN %t'
  Pop $0
  ; The folder leaves the user's PATH when the installation put it there.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToUserPath"
  ${If} $0 == 1
    ReadRegStr $1 HKCU "Environment" "Path"
    ${UnStrRep} $2 ";$1;" ";$INSTDIR;" ";"
    StrCpy $2 $2 "" 1
    StrCpy $2 $2 -1
    ${If} $2 == ""
      DeleteRegValue HKCU "Environment" "Path"
    ${ElseIf} $2 != $1
      WriteRegExpandStr HKCU "Environment" "Path" "$2"
    ${EndIf}
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
  Delete "$SMPROGRAMS\ZeDede.lnk"
  Delete "$SMPROGRAMS\ZeDede\Verificar certificado.lnk"
  Delete "$SMPROGRAMS\ZeDede\Mis certificados.lnk"
  RMDir "$SMPROGRAMS\ZeDede"
  Delete "$INSTDIR\ZeDede.exe"
  Delete "$INSTDIR\zedede.com"
  Delete "$INSTDIR\Win32OpenSSL_Light-0_9_8e.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\autoridades\autoridad-produccion.pem"
  Delete "$INSTDIR\autoridades\autoridad-homologacion.pem"
  RMDir "$INSTDIR\autoridades"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
