#!/usr/bin/python3
"""Sets integer values in a settings file for a benchmark run.

  harvest_settings.py SETTINGS_FILE SettingsValues.h NAME=VALUE...

The order and kind of the stored values are read from the Visit function of SettingsValues.h;
integers are 4 bytes, 64-bit integers 8, strings carry a 1-, 3- or 7-byte length prefix.
"""
import re
import struct
import sys


def layout(header):
    text = open(header).read()
    body = text[text.index("void VisitSettings"):]
    return re.findall(r"archive\.(Int64|Int|String)\(v\.(\w+)\)", body)


def offsets(data, fields):
    pos, found = 0, {}
    for kind, name in fields:
        if pos >= len(data):
            break
        found[name] = (kind, pos)
        if kind == "Int":
            pos += 4
        elif kind == "Int64":
            pos += 8
        else:
            length, pos = data[pos], pos + 1
            if length == 0xFF:
                length, pos = struct.unpack_from("<H", data, pos)[0], pos + 2
                if length == 0xFFFF:
                    length, pos = struct.unpack_from("<I", data, pos)[0], pos + 4
            pos += length
    return found


def main():
    path, header, assignments = sys.argv[1], sys.argv[2], sys.argv[3:]
    data = bytearray(open(path, "rb").read())
    found = offsets(data, layout(header))
    for assignment in assignments:
        name, value = assignment.split("=", 1)
        kind, pos = found[name]
        if kind != "Int":
            sys.exit(f"{name} is not an integer value")
        struct.pack_into("<i", data, pos, int(value))
    open(path, "wb").write(data)


if __name__ == "__main__":
    main()
