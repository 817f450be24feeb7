#!/bin/sh
# Checks the Debian package as a user gets it:
#   packaging/check-package.sh <zedede_*.deb>
# As root, on a machine where zedede is not installed yet, it installs the
# package with apt, checks the installed program and files, and removes it
# again, checking that nothing of it is left. Otherwise (not root, or a
# zedede already installed) the same checks run on the package unpacked into
# a temporary folder, without apt.
#
# Checked: lintian reports no error; "zedede --version" and "--help" answer
# without a window; the menu entry and the AppStream data validate, and its
# second action opens the certificate check; "zedede --verificar ARCHIVO
# --sin-ventana" checks a certificate without a window; the icon
# the menu entry names is there at 48 pixels; the OpenSSL installer next to
# the program prepares a folder; the program started on a virtual display
# (xvfb) shows its window, whose WM_CLASS is the menu entry's StartupWMClass.
set -eu

deb=$(readlink -f "$1")
[ -f "$deb" ] || { echo "check-package: no package $1" >&2; exit 2; }
app_id=ar.com.vemra.ZeDede
work=$(mktemp -d)
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

step() { printf '== %s\n' "$*"; }
fail() { echo "check-package: $*" >&2; exit 1; }

step "lintian"
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || lintian_failed=yes
grep -v '^running with root privileges' "$work/lintian.log" || true
[ -z "${lintian_failed:-}" ] || fail "lintian reports errors"

version=$(dpkg-deb -f "$deb" Version)
installed=no
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W -f='${Status}' zedede 2>/dev/null | grep -q "ok installed"; then
    step "apt-get install $deb"
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >"$work/apt.log" 2>&1 \
        || { cat "$work/apt.log"; fail "the package does not install"; }
    installed=yes
    root=""
else
    step "unpacking $deb (not installing: not root, or zedede already installed)"
    dpkg-deb -x "$deb" "$work/root"
    root="$work/root"
fi
program="$root/usr/bin/zedede"
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"

step "the program and its installer"
[ "$(readlink -f "$program")" = "$(readlink -f "$root/usr/lib/zedede/ZeDede")" ] || fail "zedede is not the program"
[ -x "$root/usr/lib/zedede/install-openssl.sh" ] || fail "no install-openssl.sh next to the program"
[ "$installed" = no ] || [ "$(command -v zedede)" = /usr/bin/zedede ] || fail "zedede is not on PATH"

step "zedede --version, --help"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version)
echo "$out"
[ "$(echo "$out" | head -n 1)" = "zedede $version" ] || fail "--version says '$out', the package is $version"
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help | grep -q '^Uso: zedede' || fail "--help"

step "desktop-file-validate, appstreamcli validate --no-net"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
icon=$(sed -n 's/^Icon=//p' "$desktop")
wmclass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48 px icon $icon"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"

# A home of its own for everything the program and the installer write.
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"

step "install-openssl.sh"
"$root/usr/lib/zedede/install-openssl.sh"
grep -q "^OPENSSL_CONF=$XDG_DATA_HOME/Vemra/OpenSSL/openssl.cnf\$" "$XDG_CONFIG_HOME/Vemra/environment" \
    || fail "the installer recorded no OpenSSL folder"
"$XDG_DATA_HOME/Vemra/OpenSSL/openssl" version >/dev/null || fail "the OpenSSL folder has no working openssl"

step "the menu entry's certificate check, zedede --verificar ARCHIVO --sin-ventana"
grep -q '^Exec=zedede --verificar %f$' "$desktop" || fail "the menu entry has no certificate check action"
# A certificate signed by itself: read, its key found beside it, and not
# issued by the tax authority (a problem: 1).
mkdir -p "$work/check"
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=prueba" -days 10 \
    -keyout "$work/check/Privada_prueba.key" -out "$work/check/prueba.crt" 2>/dev/null
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --verificar "$work/check/prueba.crt" \
    --sin-ventana >"$work/check/out.txt" 2>&1 || status=$?
cat "$work/check/out.txt"
[ "$status" -eq 1 ] || fail "--verificar --sin-ventana ended with $status, not 1"
grep -q 'Privada_prueba.key: corresponde$' "$work/check/out.txt" || fail "--sin-ventana found no key"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --sin-ventana 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "--sin-ventana without a file ended with $status, not 2"

step "the window, on a virtual display"
cat >"$work/show.sh" <<'SHOW'
#!/bin/sh
# Starts the program, waits for its window and prints the window's WM_CLASS.
"$1" >"$2/program.log" 2>&1 &
echo $! >"$2/program.pid"
i=0
while [ $i -lt 200 ]; do
    id=$(xwininfo -root -tree 2>/dev/null | grep 'Asistente para la generación del pedido' | awk '{print $1}' | head -n 1)
    if [ -n "$id" ]; then
        xprop -id "$id" WM_CLASS
        kill "$(cat "$2/program.pid")"
        exit 0
    fi
    sleep 0.1
    i=$((i + 1))
done
kill "$(cat "$2/program.pid")" 2>/dev/null
cat "$2/program.log" >&2
exit 1
SHOW
chmod +x "$work/show.sh"
class=$(QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" "$work/show.sh" "$program" "$work") \
    || fail "no window appeared within 20 seconds"
echo "$class"
echo "$class" | grep -q "\"$wmclass\"\$" || fail "WM_CLASS is not the menu entry's StartupWMClass $wmclass"

if [ "$installed" = yes ]; then
    step "apt-get remove zedede"
    dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' | grep -v '/$' >"$work/files"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y zedede >"$work/apt.log" 2>&1 \
        || { cat "$work/apt.log"; fail "the package does not remove"; }
    if dpkg-query -W -f='${Status}' zedede 2>/dev/null | grep -qv "not-installed"; then
        fail "zedede is still known to dpkg: $(dpkg-query -W -f='${Status}' zedede)"
    fi
    left=""
    while read -r f; do
        if [ -e "$f" ] || [ -L "$f" ]; then left="$left $f"; fi
    done <"$work/files"
    [ -z "$left" ] || fail "left behind:$left"
    [ ! -e /usr/lib/zedede ] && [ ! -e /usr/share/doc/zedede ] || fail "folders left behind"
fi
step "package $version: all checks passed"
