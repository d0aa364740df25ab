#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes again the RTF that TestRtfWriter::libreOfficeReadsOurText checks and
# the text LibreOffice reads from it (libreoffice-ours.rtf, libreoffice-ours.txt
# beside this script). Needs soffice and a built tree:
#   tests/data/richtext/refresh-libreoffice.sh build
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: refresh-libreoffice.sh <build folder>}
test=$build/tests/richtext/tst_richtext_rtfwriter
if ! command -v soffice >/dev/null 2>&1; then
    echo "refresh-libreoffice.sh: soffice not found" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The test writes its RTF before it compares it with the committed one.
LORVA_RTF_GOLDEN_OUT="$work/ours.rtf" QT_QPA_PLATFORM=offscreen \
    "$test" libreOfficeReadsOurText >/dev/null || true
test -s "$work/ours.rtf"
soffice "-env:UserInstallation=file://$work/profile" --headless \
    --convert-to "txt:Text (encoded):UTF8" --outdir "$work" "$work/ours.rtf" >/dev/null
cp "$work/ours.rtf" "$here/libreoffice-ours.rtf"
cp "$work/ours.txt" "$here/libreoffice-ours.txt"
echo "libreoffice-ours.rtf and libreoffice-ours.txt written again"
