; The OpenSSL installer that ships beside ZeDede.exe: installs the OpenSSL
; command-line program into Program Files, writable by administrators only
; (but for vemra.cnf, the wizard's configuration copy), and points the
; machine environment value OPENSSL_CONF at its configuration file.
;   makensis -DOUTFILE=<setup.exe> -DOPENSSL_DIR=<folder with openssl.exe,
;            openssl.cnf, LICENSE.txt> openssl.nsi
; Silent: setup.exe /S [/D=<folder>], uninstall.exe /S.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OpenSSL-Vemra"

Name "OpenSSL"
Caption "Instalación de OpenSSL"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\OpenSSL"
ShowInstDetails show

!define MUI_WELCOMEPAGE_TITLE "Instalación de OpenSSL"
!define MUI_WELCOMEPAGE_TEXT "Este asistente instalará el programa OpenSSL, que el asistente de pedido de certificado digital usa para generar la clave privada y el pedido.$\r$\n$\r$\nPresione Siguiente para continuar."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "OpenSSL quedó instalado"
!define MUI_FINISHPAGE_TEXT "OpenSSL se instaló en $INSTDIR.$\r$\n$\r$\nPresione Terminar para volver al asistente."
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

Section "OpenSSL"
  ; Whoever could replace openssl.exe, put a DLL beside it or change
  ; openssl.cnf would take part in making every company's private key: the
  ; folder is the administrators' and the system's alone (the machine's
  ; users may read and run), set here rather than inherited, so that a
  ; folder outside Program Files (/D=) is closed just as well.
  CreateDirectory "$INSTDIR"
  nsExec::ExecToLog 'icacls "$INSTDIR" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX'
  Pop $0
  SetOutPath "$INSTDIR"
  File "${OPENSSL_DIR}/openssl.exe"
  File "${OPENSSL_DIR}/openssl.cnf"
  File "${OPENSSL_DIR}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Files left by an earlier installation take the folder's list as well.
  nsExec::ExecToLog 'icacls "$INSTDIR\*" /reset /T /C /Q'
  Pop $0
  ; The wizard writes its configuration copy (vemra.cnf) beside openssl.cnf
  ; with the rights of the user who runs it, and locks vemra.cnf.lock while
  ; it does (one generation at a time): those two files, made here, are open
  ; to the machine's users for modification; the folder takes no new files.
  ${IfNot} ${FileExists} "$INSTDIR\vemra.cnf"
    FileOpen $1 "$INSTDIR\vemra.cnf" w
    FileClose $1
  ${EndIf}
  ${IfNot} ${FileExists} "$INSTDIR\vemra.cnf.lock"
    FileOpen $1 "$INSTDIR\vemra.cnf.lock" w
    FileClose $1
  ${EndIf}
  nsExec::ExecToLog 'icacls "$INSTDIR\vemra.cnf" /grant *S-1-5-32-545:M'
  Pop $0
  nsExec::ExecToLog 'icacls "$INSTDIR\vemra.cnf.lock" /grant *S-1-5-32-545:M'
  Pop $0
  WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "OPENSSL_CONF" "$INSTDIR\openssl.cnf"
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "OpenSSL 3.0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vemra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; The environment value goes only when it still names this installation.
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "OPENSSL_CONF"
  ${If} $0 == "$INSTDIR\openssl.cnf"
    DeleteRegValue HKLM "${ENVIRONMENT_KEY}" "OPENSSL_CONF"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
  Delete "$INSTDIR\openssl.exe"
  Delete "$INSTDIR\openssl.cnf"
  Delete "$INSTDIR\vemra.cnf"
  Delete "$INSTDIR\vemra.cnf.lock"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
