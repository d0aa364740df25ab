#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installe ce qui manque, construit et lance Lorva avec frottement.
source "$(dirname "$0")/scripts/common.sh"
install_packages
build_tree build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DLORVA_BENCHMARKS=OFF
exec "$ROOT/build/src/mainwindow/lorva" "$@"
