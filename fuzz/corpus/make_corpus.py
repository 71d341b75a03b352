#!/usr/bin/env python3
"""Writes the small seed corpora of the reply and record-header fuzz targets."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def reply_header(kind, position=600, direction=0, rng=30, status=0, profile=0, count=0):
    return bytes([kind[0], kind[1], kind[2], 0x10, status, position & 0x7F,
                  ((position >> 7) & 0x3F) | (direction << 6), rng,
                  profile & 0x7F, (profile >> 7) & 0x7F, count & 0x7F, count >> 7])


def record_header(kind_index, length, reply_len, mode=1, step=2, freq=1000, sv=0x8000 | 15000,
                  rot=0x8000 | 1800, date=b"07-DEC-2026", byte19=0):
    h = bytearray(100)
    h[0:3] = b"52A"
    h[3] = kind_index
    h[4:6] = struct.pack(">H", length)
    h[6:8] = struct.pack(">H", reply_len)
    h[8:8 + len(date)] = date
    h[19] = byte19
    h[20:28] = b"14:30:05"
    h[29:32] = b".42"
    h[37] = 0x80 | (mode << 3) | step
    h[38:45] = bytes([20, 120, 0, 30, 20, 1 << 3, 10])
    h[46:48] = struct.pack(">H", sv)
    h[80:82] = struct.pack(">H", freq)
    h[93:95] = struct.pack(">H", 85)
    h[95:97] = struct.pack(">H", rot)
    return bytes(h)


def write(folder, name, data):
    with open(os.path.join(HERE, folder, name), "wb") as f:
        f.write(data)


echo = bytes((i * 7) & 0xFF for i in range(253))
write("ReplyMessage", "imx_live", b"\x00" + reply_header(b"IMX", 700, 1, 4, 1, 300, 250) + echo)
write("ReplyMessage", "ipx_playback_udp", b"\x03" + reply_header(b"IPX", 0) + b"\x00")
write("ReplyMessage", "lower_case_up_down", b"\x0c" + reply_header(b"igx", 8191, 1, 255, 0xFF, 16383, 32767))
write("ReplyMessage", "bad_kind", b"\x01" + reply_header(b"IQX") + echo[:40])
write("ReplyMessage", "short", b"\x02IM")

write("RecordHeader", "imx", record_header(3, 384, 265) + reply_header(b"IMX") + echo[:252])
write("RecordHeader", "ipx_sidescan", record_header(1, 128, 13, mode=2, step=0) + reply_header(b"IPX"))
write("RecordHeader", "older_date", record_header(3, 640, 513, date=b"07-DEC-19 9", byte19=ord("9")))
write("RecordHeader", "out_of_range", record_header(12, 0, 65535, mode=7, step=7, freq=0, sv=0xFFFF,
                                                    rot=0xFFFF) + reply_header(b"ABC"))
write("RecordHeader", "truncated", record_header(3, 640, 513)[:37])
