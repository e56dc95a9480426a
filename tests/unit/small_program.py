"""A small whole Windows program for the tests that make and check a medium of it."""
import struct


def small_program():
    """A small whole x86 Windows program for the GUI subsystem 4.0: Windows' loader, and so make
    and check, take it for one."""
    data = bytearray(0x400)
    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, 0x40)
    data[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", data, 0x44, 0x014C, 1, 0, 0, 0, 0xE0, 0x0102)
    optional = 0x58
    struct.pack_into("<H", data, optional, 0x010B)
    struct.pack_into("<III", data, optional + 28, 0x400000, 0x1000, 0x200)
    struct.pack_into("<HH", data, optional + 48, 4, 0)
    struct.pack_into("<II", data, optional + 56, 0x2000, 0x200)
    struct.pack_into("<H", data, optional + 68, 2)
    struct.pack_into("<I", data, optional + 92, 16)
    section = optional + 0xE0
    data[section:section + 5] = b".text"
    struct.pack_into("<IIII", data, section + 8, 0x10, 0x1000, 0x200, 0x200)
    return bytes(data)
