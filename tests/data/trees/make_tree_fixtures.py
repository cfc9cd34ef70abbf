#!/usr/bin/python3
"""Writes the tree-file fixtures of tst_trees independently of the program's code."""
import struct


def tree_record(name, level, nr, baum):
    encoded = name.encode("cp1252")
    return bytes([len(encoded)]) + encoded.ljust(51, b"\0") + struct.pack("<iii", level, nr, baum)


def write(file_name, records):
    with open(file_name, "wb") as out:
        out.write(b"".join(tree_record(*record) for record in records))


# Siblings deliberately out of caption order: a file keeps the order it was saved in.
write("addresses.dat", [
    ("Zeta AG", 1, 2, 1),
    ("Übersee Büro", 2, 6, -1),
    ("Alpha GmbH", 1, 1, 1),
    ("Bauer Anna", 2, 4, -1),
    ("Projekt Süd", 3, 7, -1),
    ("Mayer Max", 2, 5, -1),
    ("beta KG", 1, 3, 0),
    ("Ein Name von genau fünfzig Zeichen, nicht länger!!", 1, 8, -1),
])
# The second record lies two levels below the first, the third one below the second.
write("deeper.dat", [
    ("Erster", 1, 1, 1),
    ("Zweiter", 3, 2, -1),
    ("Dritter", 2, 3, -1),
])
write("empty.dat", [])
