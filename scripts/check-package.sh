#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-package.sh <build folder>
# Installs a built tree into a temporary prefix, builds its Debian package
# with CPack and checks the package: the files it holds, its dependencies,
# and the desktop entry and description it ships (with desktop-file-validate
# and appstreamcli when they are present).
set -euo pipefail

BUILD="$(cd "$1" && pwd)"
APP_ID=fr.lorva.LorvaAvecFrottement
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

cmake --install "$BUILD" --prefix "$WORK/prefix" > /dev/null
[ -x "$WORK/prefix/bin/lorva" ] || fail "cmake --install did not install bin/lorva"
# The video decoding module, loaded by the program on demand.
MODULES="$WORK/prefix/lib/lorva-avec-frottement"
[ -f "$MODULES/lorva-video.so" ] || fail "cmake --install did not install the video module"

(cd "$BUILD" && cpack -G DEB -B "$WORK/paquet" > "$WORK/cpack.log") \
    || { cat "$WORK/cpack.log" >&2; fail "cpack -G DEB failed"; }
DEB="$(find "$WORK/paquet" -maxdepth 1 -name 'lorva-avec-frottement_*.deb' | head -n 1)"
[ -n "$DEB" ] || fail "no package in $WORK/paquet"
echo "Paquet : $(basename "$DEB")"

dpkg-deb -c "$DEB" | awk '{print $NF}' > "$WORK/files"
expected=(
    ./usr/bin/lorva
    ./usr/bin/lorva-exercice
    ./usr/bin/lorva-mesures
    ./usr/lib/lorva-avec-frottement/lorva-video.so
    ./usr/share/man/fr/man1/lorva.1.gz
    ./usr/share/man/fr/man1/lorva-exercice.1.gz
    ./usr/share/man/fr/man1/lorva-mesures.1.gz
    ./usr/share/doc/lorva-avec-frottement/copyright
    ./usr/share/doc/lorva-avec-frottement/changelog.gz
    ./usr/share/lorva-avec-frottement/aide/lorva.html
    "./usr/share/applications/$APP_ID.desktop"
    "./usr/share/metainfo/$APP_ID.metainfo.xml"
    "./usr/share/mime/packages/$APP_ID.xml"
    "./usr/share/icons/hicolor/scalable/apps/$APP_ID.svg"
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png")
done
if [ -d "$(dirname "$0")/../data/exercices" ]; then
    expected+=(./usr/share/lorva-avec-frottement/exercices/)
    # The measured fall that the glycerine lesson opens.
    expected+=(./usr/share/lorva-avec-frottement/exercices/glycerine-mesures.txt)
fi
for path in "${expected[@]}"; do
    grep -qxF "$path" "$WORK/files" || fail "the package lacks $path"
done
if grep -E 'tst_|rendericon|bench_|fuzz_' "$WORK/files"; then
    fail "the package holds build programs"
fi

depends="$(dpkg-deb -f "$DEB" Depends)"
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 \
    qt6-qpa-plugins fonts-liberation2 qt6-translations-l10n; do
    grep -qE "(^|, )$dep( |,|$)" <<< "$depends" || fail "Depends lacks $dep: $depends"
done
# The program starts without FFmpeg: only its module links it.
if objdump -p "$WORK/prefix/bin/lorva" | awk '/NEEDED/ {print $2}' | grep -E '^lib(av|sw)'; then
    fail "lorva links FFmpeg's libraries, which only its video module should load"
fi
# Every library the programs and the module load directly comes from a
# package they depend on.
for program in "$WORK/prefix/bin/"* "$MODULES/"*.so; do
    for needed in $(objdump -p "$program" | awk '/NEEDED/ && $2 !~ /^ld-linux/ {print $2}'); do
        path="$(ldd "$program" | awk -v lib="$needed" '$1 == lib {print $3}')" || true
        [ -n "$path" ] || fail "$(basename "$program") needs $needed, not found"
        # With a merged /usr, dpkg knows a library by one of its two paths.
        owner="$( (dpkg -S "$(readlink -f "$path")" || dpkg -S "$path" \
            || dpkg -S "${path#/usr}") 2>/dev/null | head -n 1 | cut -d: -f1)" || true
        [ -n "$owner" ] || fail "$(basename "$program"): no package holds $path"
        sed 's/ ([^)]*)//g; s/, /\n/g' <<< "$depends" | grep -qxF "$owner" \
            || fail "$(basename "$program") needs $needed from $owner, not in Depends: $depends"
    done
done
[ "$(dpkg-deb -f "$DEB" Package)" = lorva-avec-frottement ] || fail "wrong package name"

dpkg-deb -x "$DEB" "$WORK/root"
if command -v desktop-file-validate > /dev/null; then
    # Hints are advice (both Education and Science are meant); errors and
    # warnings fail.
    out="$(desktop-file-validate "$WORK/root/usr/share/applications/$APP_ID.desktop" 2>&1)" \
        || fail "desktop-file-validate: $out"
    if grep -qE 'error:|warning:' <<< "$out"; then
        fail "desktop-file-validate: $out"
    fi
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$WORK/root/usr/share/metainfo/$APP_ID.metainfo.xml" \
        > "$WORK/appstream.log" 2>&1 || { cat "$WORK/appstream.log" >&2; fail "appstreamcli"; }
fi
[ -f "$WORK/root/usr/share/doc/lorva-avec-frottement/copyright" ] || fail "no copyright file"
# Debian's own checker: any error or warning fails (information notes do not).
if command -v lintian > /dev/null; then
    lintian --fail-on error,warning --allow-root "$DEB" > "$WORK/lintian.log" 2>&1 \
        || { cat "$WORK/lintian.log" >&2; fail "lintian"; }
    cat "$WORK/lintian.log"
fi
echo "Paquet Debian vérifié."
