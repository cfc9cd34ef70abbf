#!/usr/bin/python3
"""Writes the tree-file and column-file fixtures of tst_formats independently of the program's code."""
import struct


def tree_record(name, level, nr, baum):
    encoded = name.encode("cp1252")
    return bytes([len(encoded)]) + encoded.ljust(51, b"\0") + struct.pack("<iii", level, nr, baum)


def short_string(text):
    encoded = text.encode("cp1252")
    return b"\x06" + bytes([len(encoded)]) + encoded


tree = b"".join([
    tree_record("Müller & Söhne GmbH", 1, 1, 1),
    tree_record("Jörg Weiß", 2, 12, -1),
    tree_record("Büro €", 3, 2147483647, 0),
    tree_record("", 1, 3, -1),
])
with open("tree_sample.dat", "wb") as out:
    out.write(tree)
with open("tree_truncated.dat", "wb") as out:
    out.write(tree[:100])

rows = [("Titel", "Titel", "30"), ("ADatum", "Geändert", "10"), ("Feld1", "", "0")]
with open("tab_short.dat", "wb") as out:
    out.write(b"\x01" + b"".join(short_string(text) for row in rows for text in row) + b"\x00")
# The second string claims 200 bytes where only a few follow.
with open("tab_bad_length.dat", "wb") as out:
    out.write(b"\x01" + short_string("Titel") + b"\x06\xc8Titel" + short_string("30") + b"\x00")


def long_string(text):
    encoded = text.encode("cp1252")
    return b"\x0c" + struct.pack("<I", len(encoded)) + encoded


def any_string(text):
    return short_string(text) if len(text.encode("cp1252")) <= 255 else long_string(text)


# A heading of 300 bytes needs the long form; the file is what the program writes for these rows.
long_rows = [("Titel", "Überschrift " + "ä" * 288, "30"), ("Art", "Art", "12")]
with open("tab_long.dat", "wb") as out:
    out.write(b"\x01" + b"".join(any_string(text) for row in long_rows for text in row) + b"\x00")
# The rows of tab_short.dat, every text in the long form.
with open("tab_long_form.dat", "wb") as out:
    out.write(b"\x01" + b"".join(long_string(text) for row in rows for text in row) + b"\x00")
