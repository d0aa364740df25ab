# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by lancer.sh and tester.sh: installs the Debian packages the build
# needs (only those missing), then configures and builds one tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    qt6-translations-l10n
    libbenchmark-dev fonts-liberation2 poppler-utils libeigen3-dev
    libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
    clang libclang-rt-14-dev lld
    desktop-file-utils appstream shared-mime-info groff-base lintian
    xvfb xauth dbus at-spi2-core python3-pyatspi
    locales-all
)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    echo "Installation des paquets manquants : ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

# New build trees use Ninja, which keeps both processors busy across the
# targets; a tree configured before keeps its generator.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

# build_tree <folder> [cmake options...]
# Both scripts build with clang: it compiles this program in about two thirds
# of gcc's time, and the program launched is then the one the tests checked.
build_tree() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_CXX_COMPILER=clang++ "$@"
    cmake --build "$ROOT/$dir" -j "$JOBS"
}
