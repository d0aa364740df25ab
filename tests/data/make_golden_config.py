#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes golden.P18, the configuration file tst_configuration compares the
writer with, straight from the layout: 24 records of 128 bytes, each a 16-bit
little-endian length, the text in Windows-1252, zeros to the end."""

import os
import struct

texts = [
    "LORVA",
    "3,5", "145", "1", "", "800",         # fields: viscosity left empty
    "30", "72",                            # velocity and force scales
    "250",                                 # interval, ms
    "1", "0", "1", "1", "0", "1", "1", "1", "0",  # nine check boxes
    "2",                                   # acceleration graph
    "255", "16711680", "49152", "-2147483633", "0",  # colours
]

data = b""
for text in texts:
    raw = text.encode("cp1252")
    data += struct.pack("<H", len(raw)) + raw + bytes(126 - len(raw))

with open(os.path.join(os.path.dirname(__file__), "golden.P18"), "wb") as f:
    f.write(data)
