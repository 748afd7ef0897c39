#!/usr/bin/env python3
"""Prints what Explorer and the taskbar read from a Windows program's resources:

    pe_resources.py PROGRAM.exe
    icon sizes: 16 24 32 48 64 128 256      (of its first icon group)
    ProductName: ...                         (every string of its version resource)
    ...
"""
import re
import struct
import sys

RT_GROUP_ICON, RT_VERSION = 14, 16


def main():
    data = open(sys.argv[1], "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit("not a Windows program")
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from(
        "<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    rsrc = None
    for i in range(sections):
        name, _, address, raw_size, raw_at = struct.unpack_from("<8sIIII", data, table + 40 * i)
        if name.rstrip(b"\0") == b".rsrc":
            rsrc = (address, raw_at)
    if rsrc is None:
        sys.exit("no resources")
    base = rsrc[1]

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            ident, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            yield ident, target

    def leaves(offset):
        """The data of every leaf below a directory, depth first."""
        for _, target in entries(offset):
            if target & 0x80000000:
                yield from leaves(target & 0x7FFFFFFF)
            else:
                address, size = struct.unpack_from("<II", data, base + target)
                at = address - rsrc[0] + rsrc[1]
                yield data[at:at + size]

    found = {}
    for ident, target in entries(0):
        if target & 0x80000000:
            found[ident] = list(leaves(target & 0x7FFFFFFF))
    for group in found.get(RT_GROUP_ICON, [])[:1]:
        count = struct.unpack_from("<H", group, 4)[0]
        sizes = [group[6 + 14 * i] or 256 for i in range(count)]
        print("icon sizes:", " ".join(str(size) for size in sorted(sizes)))
    for version in found.get(RT_VERSION, []):
        text = version.decode("utf-16-le", errors="replace")
        for key in ("CompanyName", "FileDescription", "FileVersion", "InternalName",
                    "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"):
            match = re.search(key + "\0+([^\0]*)\0", text)
            if match:
                print("%s: %s" % (key, match.group(1)))


main()
