#!/usr/bin/env python3
"""Writes small valid seed files for the fuzz targets: make_seeds.py <corpus dir>."""
import glob
import json
import os
import struct
import sys
import zlib


def bmp(w, h, bits, top_down=False):
    colours = (1 << bits) if bits <= 8 else 0
    palette = b"".join(struct.pack("<BBBB", i * 7 % 256, i * 13 % 256, i * 29 % 256, 0) for i in range(colours))
    stride = (w * bits + 31) // 32 * 4
    rows = b"".join(bytes((x * 37 + y * 11) % 256 for x in range(stride)) for y in range(h))
    if bits <= 8:
        rows = bytes(b & ((1 << bits) - 1) if bits == 8 else b for b in rows)
    off = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, -h if top_down else h, 1, bits, 0, len(rows), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", off + len(rows), 0, 0, off) + info + palette + rows


def lzw(indices, min_size):
    # Plain-code encoder: a clear code every few symbols keeps the code size fixed.
    clear, end, size = 1 << min_size, (1 << min_size) + 1, min_size + 1
    out, acc, n = bytearray(), 0, 0
    codes = []
    for i, v in enumerate(indices):
        if i % ((1 << size) - clear - 3) == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    for c in codes:
        acc |= c << n
        n += size
        while n >= 8:
            out.append(acc & 255)
            acc >>= 8
            n -= 8
    if n:
        out.append(acc & 255)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return bytes([min_size]) + blocks + b"\0"


def gif(frames, w=8, h=8):
    head = b"GIF89a" + struct.pack("<HHBBB", w, h, 0x81, 0, 0) + bytes(range(12))
    body = b"!\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for i, (fw, fh, interlace) in enumerate(frames):
        body += b"!\xf9\x04" + bytes([0x09 if i % 2 else 0x0D, 0, 0, 1, 0])
        body += b"," + struct.pack("<HHHHB", i, i, fw, fh, 0x40 if interlace else 0)
        body += lzw([(x + i) % 4 for x in range(fw * fh)], 2)
    return head + body + b";"


def pcx(w, h, bits):
    bpl = (w * bits + 7) // 8
    bpl += bpl % 2
    head = struct.pack("<BBBBHHHHHH", 10, 5 if bits == 8 else 3, 1, bits, 0, 0, w - 1, h - 1, 72, 72)
    head += bytes(48) + b"\0" + bytes([1]) + struct.pack("<HH", bpl, 1) + bytes(58)
    data = bytearray()
    for y in range(h):
        row = bytes((x // 3 + y) % 256 for x in range(bpl))
        data += b"\xc3" + row[:1] + bytes(b if b < 0xC0 else 0 for b in row[3:])
        data += bytes(max(0, bpl - 3 - len(row[3:])))
    out = head + bytes(data)
    if bits == 8:
        out += b"\x0c" + bytes(i % 256 for i in range(768))
    return out


def png(w, h):
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(((x * 40 + y) % 256, y * 30 % 256, 99, 128)[c] for x in range(w) for c in range(4)) for y in range(h))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def ico(entries, kind=1):
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    dirs, data = b"", b""
    for w, bits, image in entries:
        dirs += struct.pack("<BBBBHHII", w, w, 16 if bits == 4 else 0, 0, 1, bits, len(image), offset + len(data))
        data += image
    return head + dirs + data


def icon_dib(w, bits):
    b = bmp(w, w, bits)[14:]
    info = struct.pack("<IiiHH", 40, w, 2 * w, 1, bits)
    mask = bytes(((w + 31) // 32 * 4) * w)
    return info + b[16:] + mask


LRC = ("[ti:Song]\r\n[ar:Band]\r\n[al:Album]\r\n[length: 03:45.50]\r\n[offset:+250]\r\n"
       "[00:10.00][00:30.50]chorus\r\n[00:20.00]<00:20.00>ve<00:20.50>rse\r\n[00:25.00]\r\n"
       "[1:02.5]x\r\n[00:03:25]y\r\n")


def lrc_files():
    # The bundled sample lyrics, and one lyric in every stored encoding.
    here = os.path.dirname(os.path.abspath(__file__))
    files = {}
    for i, path in enumerate(sorted(glob.glob(os.path.join(here, "..", "service", "sample", "*.lrc")))):
        with open(path, "rb") as f:
            files[f"sample{i}.lrc"] = f.read()
    text = "[ti:月光]\n[ar:苏青]\n[00:01.00]月光落在钢琴上 ~ moon\n"
    files.update({"utf8.lrc": text.encode(), "bom.lrc": b"\xef\xbb\xbf" + text.encode(),
                  "le.lrc": b"\xff\xfe" + text.encode("utf-16-le"), "be.lrc": b"\xfe\xff" + text.encode("utf-16-be"),
                  "gbk.lrc": text.encode("gb18030"), "pair.lrc": b"\xff\xfe" + "[00:01.00]𝄞".encode("utf-16-le")})
    return files


def lyrics():
    texts = [LRC, "[ti:x]\n\nline one\n\n\n\nline two\n\n", "[ar:x]\r\n[00:00.00][Instrumental]\r\n",
             "[offset:-1000]\n[00:01.00]a\n[99:59.99]b\n", "[Verse 1]\nwords <b>\n[length:225]\n"]
    return {f"l{i}.lrc": t.encode() for i, t in enumerate(texts)}


def keys():
    texts = ["  Ｈｅｌｌｏ,  World! ", "ｶﾞｯｺｳ ﾊﾟﾝ", "Ÿÿ ĀāĲ ΑΩ ЁЯ", "周明远 - 旧书店", "Orbit (feat. Juno)", "\u3000「夜」・…"]
    return {f"k{i}": t.encode() for i, t in enumerate(texts)}


def requests():
    targets = ["/api/lyric/%E6%9C%88%E5%85%89/%E8%8B%8F%E9%9D%92?x=1#f", "/api/lyric/a%2Fb/%D4%C2%B9%E2",
               "/api/get?track_name=Orbit&artist_name=Elena+Park&album_name=&duration=225.5",
               "/api/search?q=%E6%9C%88&track_name=a&artist_name=b&album_name=c", "/lrc/17.lrc", "/cover/9.png",
               "/api/get?track_name=%D4%C2&artist_name=x&duration=1e3&duration=2", "12345678901234567"]
    return {f"r{i}": t.encode() for i, t in enumerate(targets)}


def replies():
    track = {"id": 7, "name": "Orbit", "trackName": "Orbit", "artistName": "Elena Park", "albumName": "",
             "duration": 225.0, "instrumental": False, "plainLyrics": "a\nb",
             "syncedLyrics": "[00:01.00] a\n[00:02.00] b"}
    odd = {"id": 1, "name": "n", "trackName": None, "duration": None, "instrumental": True,
           "plainLyrics": None, "syncedLyrics": "\u0000\"\\"}
    docs = [track, [track, odd, {"id": -1}, {"id": "2"}, 3], [], {"message": "Failed", "name": "TrackNotFound",
            "statusCode": 404}]
    return {f"j{i}.json": json.dumps(d, ensure_ascii=i % 2 == 0).encode() for i, d in enumerate(docs)}


def main():
    root = sys.argv[1]
    seeds = {
        "bmp": {f"b{bits}{'t' if td else ''}.bmp": bmp(5, 3, bits, td) for bits in (1, 4, 8, 24, 32) for td in (0, 1)},
        "gif": {"still.gif": gif([(8, 8, False)]), "anim.gif": gif([(8, 8, False), (4, 5, True), (3, 3, False)])},
        "pcx": {"p8.pcx": pcx(7, 4, 8), "p1.pcx": pcx(20, 3, 1)},
        "ico": {"i.ico": ico([(16, 4, icon_dib(16, 4)), (32, 32, icon_dib(32, 32))]),
                "p.ico": ico([(8, 32, png(8, 8))]), "c.cur": ico([(16, 8, icon_dib(16, 8))], 2)},
        "lrc_file": lrc_files(),
        "lyric_split": lyrics(),
        "match_key": keys(),
        "request": requests(),
        "upstream_reply": replies(),
    }
    for fmt, files in seeds.items():
        os.makedirs(os.path.join(root, fmt), exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(root, fmt, name), "wb") as f:
                f.write(data)


main()
