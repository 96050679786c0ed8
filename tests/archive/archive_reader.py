#!/usr/bin/python3
# An independent reader of the archive format, written from the format's description only:
# checks the table head and every header of an archive and inflates each member into
# OUTDIR/<index>.out. Usage: archive_reader.py DISK1 OFFSET OUTDIR
# Prints one line per member: index|FileNumber|FileName|FileSize|UniqueID|FirstDisk|LastDisk|FileVersion
import os
import struct
import sys
import zlib

HEADER = struct.Struct("<i d B 3s i 101s 3s i i i i B 3s i 21s 3s")
assert HEADER.size == 172


def fail(msg):
    print("archive_reader: " + msg, file=sys.stderr)
    sys.exit(1)


def short_string(raw, capacity, what):
    n = raw[0]
    if n > capacity:
        fail("%s length %d exceeds %d" % (what, n, capacity))
    if any(raw[1 + n:]):
        fail("%s has bytes past its length" % what)
    return raw[1:1 + n].decode("latin-1")


def disk_name(first, number):
    base, _ = os.path.splitext(first)
    return "%s.%d" % (base, number)


def main():
    first, offset, outdir = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    data = open(first, "rb").read()
    count, spanned = struct.unpack_from("<iB", data, offset)
    if spanned not in (0, 1):
        fail("Spanned flag is %d" % spanned)
    pos = offset + 5
    for i in range(count):
        f = HEADER.unpack_from(data, pos)
        (number, date, last_disk, gap1, last_byte, name_raw, gap2, next_header, size, data_start,
         compressed, first_disk, gap3, unique_id, version_raw, gap4) = f
        if any(gap1 + gap2 + gap3 + gap4):
            fail("header %d has non-zero gap bytes" % i)
        name = short_string(name_raw, 100, "FileName")
        version = short_string(version_raw, 20, "FileVersion")
        if spanned == 0:
            if data_start != pos - offset + 172:
                fail("header %d: DataStart %d, header at %d" % (i, data_start, pos - offset))
            if next_header != last_byte + 1 or compressed != next_header:
                fail("header %d: NextHeader %d LastByte %d CompressedSize %d" % (i, next_header, last_byte, compressed))
            if first_disk or last_disk:
                fail("header %d: disks %d..%d in a single-file archive" % (i, first_disk, last_disk))
            member = data[offset + data_start: offset + last_byte + 1]
        else:
            if pos != 5 + 172 * i or next_header != pos + 172:
                fail("header %d at %d has NextHeader %d" % (i, pos, next_header))
            member = b""
            for disk in range(first_disk, last_disk + 1):
                content = data if disk == 1 else open(disk_name(first, disk), "rb").read()
                start = data_start if disk == first_disk else 0
                end = last_byte + 1 if disk == last_disk else len(content)
                if start > len(content) or end > len(content):
                    fail("header %d: bytes %d..%d outside disk %d of %d bytes" % (i, start, end, disk, len(content)))
                member += content[start:end]
        if member[:1] != b"\x78":
            fail("member %d does not start with a zlib header" % i)
        z = zlib.decompressobj(15)
        plain = z.decompress(member) + z.flush()
        if not z.eof or z.unused_data:
            fail("member %d is not exactly one zlib stream" % i)
        if len(plain) != size:
            fail("member %d inflates to %d bytes, FileSize says %d" % (i, len(plain), size))
        with open(os.path.join(outdir, "%d.out" % i), "wb") as out:
            out.write(plain)
        print("%d|%d|%s|%d|%d|%d|%d|%s" % (i, number, name, size, unique_id, first_disk, last_disk, version))
        pos = offset + next_header


main()
