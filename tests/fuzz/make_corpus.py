#!/usr/bin/python3
# Writes the seed corpus of each fuzz target into tests/fuzz/corpus/<target>/: small valid
# inputs, so that a run starts deep inside the parsers instead of at their first check.
# Usage: make_corpus.py QUENLOFT (the built project tool, which turns the text forms into
# binary forms). The output is deterministic; the files are checked in.
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
FIXTURES = os.path.join(HERE, "..", "archive", "fixtures")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- archives: the 5-byte table head, then 172-byte headers (see archive/TFileHeaderRecord.h)

def short_string(text, capacity):
    raw = text.encode("latin-1")[:capacity]
    return bytes([len(raw)]) + raw + bytes(capacity - len(raw))


def header(number, date, name, size, data_start, last_byte, next_header, unique_id=3, version="",
           first_disk=0, last_disk=0):
    return (struct.pack("<id", number, date) + bytes([last_disk]) + bytes(3) + struct.pack("<i", last_byte) +
            short_string(name, 100) + bytes(3) +
            struct.pack("<iiii", next_header, size, data_start, last_byte + 1) + bytes([first_disk]) + bytes(3) +
            struct.pack("<i", unique_id) + short_string(version, 20) + bytes(3))


def single_file_archive(members):
    """members: (name, content, version); the layout of a build's files.1."""
    out = struct.pack("<iB", len(members), 0)
    for number, (name, content, version) in enumerate(members, 1):
        data = zlib.compress(content, 9)
        pos = len(out)
        start = pos + 172
        last = start + len(data) - 1
        out += header(number, 45000.5, name, len(content), start, last, last + 1, version=version) + data
    return out


def spanned_archive(members):
    """The spanned layout on one disk: every header first, then the data."""
    datas = [zlib.compress(content, 9) for _, content in members]
    out = struct.pack("<iB", len(members), 1)
    pos = 5 + 172 * len(members)
    for i, ((name, content), data) in enumerate(zip(members, datas)):
        out += header(i + 1, 45000.5, name, len(content), pos, pos + len(data) - 1, 5 + 172 * (i + 1),
                      first_disk=1, last_disk=1)
        pos += len(data)
    return out + b"".join(datas)


def archives():
    text = b"Quenloft seed corpus: a readme that compresses.\r\n" * 8
    write("fuzz_ArchiveExtract", "empty.qnl", struct.pack("<iB", 0, 0))
    write("fuzz_ArchiveExtract", "two-members.qnl",
          single_file_archive([("C:\\src\\readme.txt", text, "1.2.3.4"), ("C:\\src\\empty.dat", b"", "")]))
    # The stored name of a path longer than a header holds.
    write("fuzz_ArchiveExtract", "long-name.qnl",
          single_file_archive([("C:\\src\\" + "d" * 60 + "|0123456789ABCDEF\\file.txt", b"long", "")]))
    write("fuzz_ArchiveExtract", "spanned.qnl",
          spanned_archive([("C:\\src\\a.txt", text), ("C:\\src\\b.bin", bytes(range(256)))]))


# --- PE files with and without a version resource, and a bare version block

def pe_files():
    for name in ("app32.exe", "nover64.exe"):
        shutil.copyfile(os.path.join(FIXTURES, name), os.path.join(CORPUS, "fuzz_PEVersion", name))
    image = open(os.path.join(FIXTURES, "app32.exe"), "rb").read()
    # VS_VERSIONINFO starts 6 bytes before its UTF-16 key; its first word is its length.
    key = image.find("VS_VERSION_INFO".encode("utf-16-le"))
    start = key - 6
    length = struct.unpack_from("<H", image, start)[0]
    write("fuzz_PEVersion", "version-block.bin", image[start:start + length])


# --- registry: a hive text (the target puts the first line in front) and journal records

HIVE_TEXT = r''';; All keys relative to REGISTRY\\Machine

#arch=win64

[Software\\Quenloft\\Seed] 1700000000
#time=1d9f0a1b2c3d4e5
@="default"
"Expand"=str(2):"%SystemRoot%\\system32"
"Multi"=str(7):"one\0two\0"
"Count"=dword:0000002a
"Blob"=hex:de,ad,be,ef
"Quad"=hex(b):01,00,00,00,00,00,00,00
"Quote \"and\" tab"="a\tb\\c"

[Software\\Quenloft\\Empty] 1700000001
#time=1d9f0a1b2c3d4e6
'''


def journal_record(op, path, name="", value_type=0, data=b""):
    def reg_name(text):
        raw = text.encode("utf-16-le")
        return struct.pack("<I", len(raw) // 2) + raw
    payload = bytes([op]) + struct.pack("<Q", 133000000000000000) + struct.pack("<I", len(path))
    payload += b"".join(reg_name(p) for p in path)
    if op in (3, 4):
        payload += reg_name(name)
    if op == 3:
        payload += struct.pack("<II", value_type, len(data)) + data
    return struct.pack("<II", len(payload), zlib.crc32(payload)) + payload


def hives():
    write("fuzz_Hive", "hive.txt", HIVE_TEXT.encode("ascii"))
    key = ["Software", "Quenloft"]
    records = (journal_record(1, key) +
               journal_record(3, key, "Name", 1, "value\0".encode("utf-16-le")) +
               journal_record(3, key, "Count", 4, struct.pack("<I", 42)) +
               journal_record(3, key, "Multi", 7, "a\0b\0\0".encode("utf-16-le")) +
               journal_record(4, key, "Name") +
               journal_record(2, key + ["Gone"]))
    write("fuzz_Hive", "journal.bin", records)


# --- forms of the form reader's test classes (tests/rtl/FormFixtureClasses.h)

def full_form():
    """The form of the reader's own tests that holds a property of every kind."""
    source = open(os.path.join(HERE, "..", "rtl", "test_FormReader.cpp")).read()
    start = source.index('kFullForm = R"(') + len('kFullForm = R"(')
    return source[start:source.index(')";', start)]


FORMS = {
    "minimal": "object F: TTestForm\nend\n",
    "every-kind": full_form(),
    "inherited": "object F: TTestForm\n inherited Made: TTestComp [1]\n  Count = 9\n end\n"
                 " inline New: TTestComp\n end\nend\n",
}


def forms(quenloft):
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, WINEPREFIX=os.path.join(tmp, "machine"))
        for name, text in FORMS.items():
            source, binary = os.path.join(tmp, name + ".txt"), os.path.join(CORPUS, "fuzz_FormReader", name + ".bin")
            with open(source, "w") as f:
                f.write(text)
            subprocess.run([quenloft, "convert", source, binary], check=True, env=env)


# --- pictures: BMP files of each layout and an icon of two images (see rtl/BitmapDecoder.h)

def dib(width, height, bits, pixels, compression=0, palette=(), masks=(), core=False):
    if core:
        head = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        head = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels), 2835, 2835,
                           len(palette), 0)
    head += b"".join(struct.pack("<I", m) for m in masks)
    head += b"".join(struct.pack("<I", c)[:3 if core else 4] for c in palette)
    return head + pixels


def bmp_file(data, pixels_size):
    return b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, 14 + len(data) - pixels_size) + data


def pictures():
    palette = (0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF)
    rows8 = bytes([0, 1, 2, 0, 3, 2, 1, 0])  # 3 x 2, rows padded to 4 bytes
    samples = {
        "1bit.bmp": (dib(3, 2, 1, bytes([0xA0, 0, 0, 0, 0x40, 0, 0, 0]), palette=(0, 0xFFFFFF)), 8),
        "4bit.bmp": (dib(3, 2, 4, bytes([0x01, 0x20, 0, 0, 0x32, 0x10, 0, 0]), palette=palette), 8),
        "8bit-core.bmp": (dib(3, 2, 8, rows8, palette=palette, core=True), 8),
        "8bit-topdown.bmp": (dib(3, -2, 8, rows8, palette=palette), 8),
        "16bit-565.bmp": (dib(2, 1, 16, struct.pack("<HH", 0xF800, 0x07E0), 3, masks=(0xF800, 0x07E0, 0x001F)), 4),
        "24bit.bmp": (dib(1, 2, 24, b"\x00\x00\xff\x00\xff\x00\x00\x00"), 8),
        "32bit-alpha.bmp": (dib(2, 1, 32, b"\x00\x00\xff\x80\xff\x00\x00\xff"), 8),
        "rle8.bmp": (dib(3, 2, 8, bytes([0, 3, 3, 2, 1, 0, 0, 0, 3, 0, 0, 1]), 1, palette=palette), 12),
        "rle4.bmp": (dib(3, 2, 4, bytes([0, 3, 0x32, 0x10, 0, 2, 1, 0, 2, 0x12, 0, 1]), 2, palette=palette), 12),
    }
    for name, (data, pixels_size) in samples.items():
        write("fuzz_Pictures", name, bmp_file(data, pixels_size))
    small = dib(2, 4, 4, bytes([0x01, 0, 0, 0, 0x10, 0, 0, 0]), palette=palette[:2]) + bytes([0x80, 0, 0, 0, 0, 0, 0, 0])
    large = dib(1, 2, 32, b"\x00\xff\x00\x80") + bytes(4)
    ico = struct.pack("<HHH", 0, 1, 2)
    offset = 6 + 32
    for size, bits, data in ((2, 4, small), (1, 32, large)):
        ico += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    write("fuzz_Pictures", "two-images.ico", ico + small + large)


# --- rich text: the subset the licence view reads

RTF_SAMPLES = {
    "formatting.rtf": r"{\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern\fcharset204 Courier New;}}"
                      r"{\colortbl;\red255\green0\blue0;}\pard\qc\b\fs28 Title\b0\par\pard\qj Normal {\i italic} "
                      r"\ul under\ulnone  \cf1 red\cf0\line\tab\strike x\strike0\par\plain\f1 \'cf\'f0\par}",
    "unicode.rtf": r"{\rtf1\ansi\ansicpg932{\fonttbl{\f0\fcharset128 Gothic;}}\f0\uc1 \u1055?\u-10179?\u-8704?"
                   r"{\uc2\u8364 xx}\'82\'a0\emdash\~\{\}\\\par}",
    "destinations.rtf": r"{\rtf1{\info{\title T}}{\stylesheet{\s1 H;}}{\*\generator G;}{\pict\bin4 \}{}}"
                        r"{\field{\*\fldinst HYPERLINK}{\fldrslt link}}{\header H\par}Body\par}",
}


def rtf():
    for name, text in RTF_SAMPLES.items():
        write("fuzz_RtfReader", name, text.encode("latin-1"))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_corpus.py QUENLOFT")
    for target in ("fuzz_ArchiveExtract", "fuzz_PEVersion", "fuzz_Hive", "fuzz_FormReader", "fuzz_Pictures",
                   "fuzz_RtfReader"):
        shutil.rmtree(os.path.join(CORPUS, target), ignore_errors=True)
        os.makedirs(os.path.join(CORPUS, target))
    archives()
    pe_files()
    hives()
    forms(sys.argv[1])
    pictures()
    rtf()


if __name__ == "__main__":
    main()
