#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# atspi_session.sh <program> <exercises folder>: runs inside
# `xvfb-run -a dbus-run-session --`; starts the accessibility bus, the
# program with accessibility on, and the AT-SPI check on the shipped
# exercise files.
set -u
program=$1
exercises=$2
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 LC_ALL=C.UTF-8 \
    "$program" &
app=$!
cd "$exercises" || exit 1
/usr/bin/python3 "$(dirname "$0")/atspi_check.py" *.E40
result=$?
kill "$app" "$bus" 2>/dev/null
exit $result
