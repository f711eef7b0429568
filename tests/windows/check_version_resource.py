#!/usr/bin/python3
"""Reads the version resource back from veldisk.exe and checks every field.

Usage: check_version_resource.py veldisk.exe [...]
"""
import sys

import pefile

EXPECTED_STRINGS = {
    "Comments": "MSXエミュレーター用フロッピーディスクイメージ作成ツールVeldisk32",
    "FileDescription": "Veldisk32",
    "FileVersion": "1, 0, 0, 0",
    "InternalName": "Veldisk32",
    "ProductName": "Veldisk32",
    "ProductVersion": "1, 0, 0, 0",
}
VERSION_1_0_0_0 = (0x00010000, 0x00000000)


def problems_of(path):
    pe = pefile.PE(path)
    found = []
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        return ["no version resource"]
    fixed = pe.VS_FIXEDFILEINFO[0]
    if (fixed.FileVersionMS, fixed.FileVersionLS) != VERSION_1_0_0_0:
        found.append("file version %08X.%08X" % (fixed.FileVersionMS, fixed.FileVersionLS))
    if (fixed.ProductVersionMS, fixed.ProductVersionLS) != VERSION_1_0_0_0:
        found.append("product version %08X.%08X" % (fixed.ProductVersionMS, fixed.ProductVersionLS))
    tables = {}
    translations = []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID] = {k.decode("utf-8"): v.decode("utf-8") for k, v in table.entries.items()}
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translations.extend(var.entry.values())
    if list(tables) != [b"041104b0"]:
        found.append("string tables %r" % list(tables))
    strings = tables.get(b"041104b0", {})
    for key, value in EXPECTED_STRINGS.items():
        if strings.get(key) != value:
            found.append("%s is %r" % (key, strings.get(key)))
    if translations != ["0x0411 0x04b0"]:
        found.append("translations %r" % translations)
    return found


def main():
    failed = False
    for path in sys.argv[1:]:
        found = problems_of(path)
        for problem in found:
            print("%s: %s" % (path, problem))
        if not found:
            print("%s: version resource as it should be" % path)
        failed = failed or bool(found)
    return 1 if failed or len(sys.argv) < 2 else 0


if __name__ == "__main__":
    sys.exit(main())
