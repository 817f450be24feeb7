#!/bin/sh
# Set-up, build and run on Debian 12.
#   ./dev.sh run           install what is missing, build, start the wizard
#   ./dev.sh test          install what is missing, build, run every test; then
#                          build the Debian package and check it (as root: install
#                          it with apt, check the installed program, remove it);
#                          then build the tests again with AddressSanitizer and
#                          UndefinedBehaviorSanitizer (in build-asan) and run them;
#                          then everything windows-test does
#   ./dev.sh windows       cross-build ZeDede.exe and its installers for 64-bit
#                          Windows (build-win/)
#   ./dev.sh windows-test  cross-build the tests and run them under wine
set -eu

cd "$(dirname "$0")"
BUILD_DIR=${BUILD_DIR:-build}
ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libpng-dev \
qt6-translations-l10n fonts-liberation2 fonts-dejavu-core libfontconfig-dev openssl \
libbenchmark-dev libssl-dev python3 \
dpkg-dev lintian desktop-file-utils appstream xvfb xauth x11-utils \
systemd dbus-bin libglib2.0-bin"

# The Windows build: mingw-w64, wine to run the tests, NSIS for the installers.
WINDOWS_PACKAGES="cmake g++ ninja-build qt6-base-dev qt6-base-dev-tools libpng-dev \
libfontconfig-dev libgl-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
mingw-w64-tools wine64 fonts-wine nsis xz-utils qt6-translations-l10n icoutils"
WIN_BUILD_DIR=${WIN_BUILD_DIR:-build-win}
# Qt and OpenSSL for Windows, beside the project (see its README).
if [ -z "${WINDOWS_KIT:-}" ]; then
    for k in ../shared/windows ../../shared/windows; do
        [ -d "$k" ] && WINDOWS_KIT=$k && break
    done
fi
WINDOWS_KIT=${WINDOWS_KIT:-../shared/windows}

install_missing() {
    missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
            || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y ${APT_OPTIONS:-} $missing
}

# Qt for Windows (static) is unpacked once into the build folder; the
# picture converter runs natively, from a small native build of its own.
build_windows() {
    PACKAGES="$WINDOWS_PACKAGES" APT_OPTIONS=--no-install-recommends install_missing
    kit=$(cd "$WINDOWS_KIT" && pwd)
    mkdir -p "$WIN_BUILD_DIR"
    win=$(cd "$WIN_BUILD_DIR" && pwd)
    if [ ! -f "$win/win64/lib/libQt6Core.a" ]; then
        tar -C "$win" -xJf "$kit/qt6.4.2-mingw64-static.tar.xz"
    fi
    # ccache speeds up rebuilds where it is installed (CI may not have it).
    launcher=$(command -v ccache || true)
    cmake -S . -B "$win/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEDEDE_BENCH=OFF >/dev/null
    cmake --build "$win/host" --target art_pixels
    cmake -S . -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$kit/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$win/win64" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 \
        -DZEDEDE_ART_PIXELS="$win/host/app/art_pixels" -DZEDEDE_BENCH=OFF \
        -DZEDEDE_WINDOWS_KIT="$kit" \
        ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher -DCMAKE_C_COMPILER_LAUNCHER=$launcher}
    cmake --build "$win" -j "$(nproc)" "$@"
}

# A wine prefix of its own in the build folder: Windows 10, the fonts of
# Windows' dialogs, Qt's output on stderr, and (for the tests) no display.
wine_prefix() {
    export WINEPREFIX="$1/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    W=/usr/lib/wine/wine64
    if [ ! -f "$WINEPREFIX/.zedede" ]; then
        $W wineboot -i >/dev/null 2>&1
        $W winecfg -v win10 >/dev/null 2>&1
        cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/ms_sans_serif.ttf \
            "$WINEPREFIX/drive_c/windows/Fonts/"
        $W reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /d 1 /f >/dev/null 2>&1
        $W reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
        # The offscreen platform reads its fonts from a folder.
        $W reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d 'C:\windows\Fonts' /f >/dev/null 2>&1
        /usr/lib/wine/wineserver -w
        touch "$WINEPREFIX/.zedede"
    fi
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" -j "$(nproc)"
}

# Builds build/zedede_<version>_<arch>.deb and checks it as a user gets it.
package_and_check() {
    start=$(date +%s)
    rm -f "$BUILD_DIR"/zedede_*.deb
    (cd "$BUILD_DIR" && cpack -G DEB)
    sh packaging/check-package.sh "$BUILD_DIR"/zedede_*.deb
    echo "Package built and checked in $(($(date +%s) - start)) s"
}

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer: a memory
# error, a leak or undefined behaviour fails the test that meets it.
sanitizer_tests() {
    cmake -S . -B "$ASAN_BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DZEDEDE_SANITIZERS=ON \
        -DZEDEDE_BENCH=OFF
    cmake --build "$ASAN_BUILD_DIR" -j "$(nproc)"
    (cd "$ASAN_BUILD_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
}

case "${1:-}" in
    run)
        install_missing
        build
        exec "$BUILD_DIR/bin/ZeDede"
        ;;
    test)
        install_missing
        build
        # The layer graph and its cycles (ctest's "layers" fails on a violation).
        python3 tools/check-layers.py . || true
        (cd "$BUILD_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
        package_and_check
        sanitizer_tests
        # Last, the Windows build and its tests under wine (a command of its
        # own, since it ends the script with the tests' status).
        ./dev.sh windows-test
        ;;
    windows)
        build_windows --target ZeDede openssl_installer zedede_installer
        ls -l "$WIN_BUILD_DIR/bin/ZeDede.exe" "$WIN_BUILD_DIR"/bin/Win32OpenSSL_Light-*.exe \
            "$WIN_BUILD_DIR"/ZeDede-*-setup.exe
        ;;
    windows-test)
        build_windows
        wine_prefix "$(cd "$WIN_BUILD_DIR" && pwd)"
        cd "$WIN_BUILD_DIR"
        # One wine server for the whole run, ended when the tests are done;
        # wine's own background programs start now, away from the pipes
        # through which ctest reads the tests' output.
        /usr/lib/wine/wineserver -p || true  # one may be running already
        /usr/lib/wine/wine64 cmd /c exit 0 </dev/null >/dev/null 2>&1
        status=0
        ctest --output-on-failure -j "$(nproc)" || status=$?
        /usr/lib/wine/wineserver -k || true
        exit $status
        ;;
    *)
        echo "usage: $0 run|test|windows|windows-test" >&2
        exit 2
        ;;
esac
