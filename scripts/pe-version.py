#!/usr/bin/env python3
"""Read or set the file version in the version resource of a Windows program.

    pe-version.py PROGRAM            prints the file version, e.g. 3.0.0.4
    pe-version.py PROGRAM A.B.C.D    sets the file and product version in place

The installer's file table must carry each program's version, because Windows Installer replaces
a versioned file only by a higher version; setting it lets the tests make a newer program from a
built one.
"""
import struct
import sys

SIGNATURE = struct.pack("<I", 0xFEEF04BD)  # VS_FIXEDFILEINFO.dwSignature
# The key of the resource's root block, which the fixed part follows after padding to 32 bits. The
# signature alone is not enough: a program that reads version resources has it in its code too.
KEY = "VS_VERSION_INFO\0".encode("utf-16-le")


def fixed_info_offset(data):
    key = data.find(KEY)
    offset = data.find(SIGNATURE, key + len(KEY), key + len(KEY) + 4 + len(SIGNATURE)) if key >= 0 else -1
    if offset < 0 or data.find(KEY, key + 1) >= 0:
        sys.exit("pe-version: no single version resource in the program")
    return offset


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = bytearray(f.read())
    offset = fixed_info_offset(data)
    if len(sys.argv) == 2:
        ms, ls = struct.unpack_from("<II", data, offset + 8)
        print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
        return
    parts = [int(p) for p in sys.argv[2].split(".")]
    if len(parts) != 4 or not all(0 <= p <= 0xFFFF for p in parts):
        sys.exit("pe-version: the version is four numbers from 0 to 65535")
    ms, ls = parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]
    struct.pack_into("<IIII", data, offset + 8, ms, ls, ms, ls)  # file version, product version
    with open(path, "wb") as f:
        f.write(data)


main()
