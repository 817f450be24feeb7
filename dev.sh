#!/bin/sh
# Set-up, build and run on Debian 12.
#   ./dev.sh run    install what is missing, build, start the wizard
#   ./dev.sh test   install what is missing, build, run every test; then
#                   build the Debian package and check it (as root: install
#                   it with apt, check the installed program, remove it);
#                   then build the tests again with AddressSanitizer and
#                   UndefinedBehaviorSanitizer (in build-asan) and run them
set -eu

cd "$(dirname "$0")"
BUILD_DIR=${BUILD_DIR:-build}
ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libpng-dev \
qt6-translations-l10n fonts-liberation2 fonts-dejavu-core libfontconfig-dev openssl \
libbenchmark-dev \
dpkg-dev lintian desktop-file-utils appstream xvfb xauth x11-utils"

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
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y $missing
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
        (cd "$BUILD_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
        package_and_check
        sanitizer_tests
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
