#!/bin/sh
# Installs, checks and uninstalls both installers silently under wine.
#   installers_test.sh <build folder>     (WINEPREFIX set to the test prefix)
set -eu
B=$1
W=/usr/lib/wine/wine64
C=$WINEPREFIX/drive_c
ENV_KEY='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
fail() { echo "FAIL: $*" >&2; exit 1; }
# Waits up to 30 s until none of the given paths exists.
gone() {
    for _ in $(seq 60); do
        left=0
        for p in "$@"; do [ -e "$p" ] && left=1; done
        [ $left = 0 ] && return 0
        sleep 0.5
    done
    return 1
}
conf() { $W reg query "$ENV_KEY" /v OPENSSL_CONF 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_EXPAND_SZ *//p'; }

# Nothing of an earlier run may remain.
$W reg delete "$ENV_KEY" /v OPENSSL_CONF /f >/dev/null 2>&1 || true

# OpenSSL: files, machine environment value, a working program.
$W "$B/bin/Win32OpenSSL_Light-0_9_8e.exe" /S
dir="$C/Program Files/OpenSSL"
for f in openssl.exe openssl.cnf LICENSE.txt uninstall.exe; do
    [ -f "$dir/$f" ] || fail "missing $dir/$f"
done
[ "$(conf)" = 'C:\Program Files\OpenSSL\openssl.cnf' ] || fail "OPENSSL_CONF is '$(conf)'"
$W "$dir/openssl.exe" version | grep -q '^OpenSSL 3' || fail "openssl.exe does not run"
# The one file the wizard writes there is made by the installer.
[ -f "$dir/vemra.cnf" ] || fail "the installer made no vemra.cnf"
[ -f "$dir/vemra.cnf.lock" ] || fail "the installer made no vemra.cnf.lock"
echo "vemra" > "$dir/vemra.cnf"

# ZeDede: the programs in one folder, the Start-menu entries, the uninstall
# entry, and (asked for with /PATH) the folder in the user's PATH, after what
# was there.
userpath() { $W reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p'; }
$W reg delete 'HKCU\Environment' /v Path /f >/dev/null 2>&1 || true
$W reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\Herramientas' /f >/dev/null 2>&1
$W "$B/ZeDede-"*"-setup.exe" /S /PATH
app="$C/Program Files/Vemra/ZeDede"
for f in ZeDede.exe zedede.com Win32OpenSSL_Light-0_9_8e.exe uninstall.exe; do
    [ -f "$app/$f" ] || fail "missing $app/$f"
done
cmp -s "$app/ZeDede.exe" "$B/bin/ZeDede.exe" || fail "installed ZeDede.exe differs"
cmp -s "$app/zedede.com" "$B/bin/zedede.com" || fail "installed zedede.com differs"
menu="$C/ProgramData/Microsoft/Windows/Start Menu/Programs"
lnk="$menu/ZeDede.lnk"
for l in "$lnk" "$menu/ZeDede/Verificar certificado.lnk" "$menu/ZeDede/Mis certificados.lnk"; do
    [ -f "$l" ] || fail "no Start-menu entry $l"
done
# A shortcut holds its arguments as UTF-16 text.
tr -d '\000' <"$menu/ZeDede/Verificar certificado.lnk" | grep -qa -- '--verificar' \
    || fail "Verificar certificado lacks --verificar"
tr -d '\000' <"$menu/ZeDede/Mis certificados.lnk" | grep -qa -- '--certificados' \
    || fail "Mis certificados lacks --certificados"
[ "$(userpath)" = 'C:\Herramientas;C:\Program Files\Vemra\ZeDede' ] || fail "user PATH is '$(userpath)'"
$W reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZeDede' /v DisplayIcon \
    >/dev/null 2>&1 || fail "no uninstall entry"

# Uninstalling (in place, so that it is waited for) leaves nothing behind
# but the uninstallers themselves, which NSIS cannot delete while running.
$W "$app/uninstall.exe" /S '_?=C:\Program Files\Vemra\ZeDede'
gone "$app/ZeDede.exe" "$app/Win32OpenSSL_Light-0_9_8e.exe" || fail "ZeDede files remain"
[ ! -e "$lnk" ] || fail "Start-menu entry remains"
[ ! -e "$menu/ZeDede" ] || fail "Start-menu folder remains"
gone "$app/zedede.com" || fail "zedede.com remains"
[ "$(userpath)" = 'C:\Herramientas' ] || fail "user PATH after uninstalling is '$(userpath)'"
$W reg delete 'HKCU\Environment' /v Path /f >/dev/null 2>&1 || true
# Without /PATH the user's PATH is left alone.
$W "$B/ZeDede-"*"-setup.exe" /S
[ -f "$app/zedede.com" ] || fail "missing $app/zedede.com"
[ -z "$(userpath)" ] || fail "user PATH set without /PATH: '$(userpath)'"
$W "$app/uninstall.exe" /S '_?=C:\Program Files\Vemra\ZeDede'
gone "$app/ZeDede.exe" || fail "ZeDede files remain"
$W reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZeDede' >/dev/null 2>&1 \
    && fail "uninstall entry remains"
$W "$dir/uninstall.exe" /S '_?=C:\Program Files\OpenSSL'
gone "$dir/openssl.exe" "$dir/openssl.cnf" "$dir/LICENSE.txt" "$dir/vemra.cnf" "$dir/vemra.cnf.lock" || fail "OpenSSL files remain"
[ -z "$(conf)" ] || fail "OPENSSL_CONF remains: $(conf)"
rm -rf "$dir" "$app"
echo "installers: OK"
