#!/usr/bin/env python3
"""Writes the demo product's sample clip: 1.25 MiB of deterministic bytes (a
hash chain), so the package carries a payload of a realistic size."""
import hashlib
import sys

SIZE = 1310720

with open(sys.argv[1], 'wb') as out:
    block = b'Vellisto welcome clip'
    written = 0
    while written < SIZE:
        block = hashlib.sha256(block).digest()
        out.write(block)
        written += len(block)
