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


# --- Seeds of the INI, live, UDP, serial, '.52l', typed-text, command-line and fault-plan targets ---

def ensure(folder):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)


def reply(kind, echoes, **header):
    return reply_header(kind, **header) + bytes((i * 5) & 0xFF for i in range(echoes)) + b"\xfc" * (
        1 if kind[1:2] in (b"G", b"P") else 3)


IGX = reply(b"IGX", 500, position=600, rng=30, count=500)
IMX = reply(b"IMX", 250, position=700, direction=1, rng=4, status=1, count=250)
IPX = reply(b"IPX", 0, position=100, rng=200)


def tcp_steps(*steps):
    """Each step: (action 0..3, bytes). Bytes are cut into segments the
    target's length byte can say: up to 127 bytes, or multiples of 5."""
    out = bytearray()
    for action, data in steps:
        first = True
        while data or first:
            if len(data) <= 127:
                piece = len(data)
                code = piece
            else:
                piece = min(len(data) // 5, 127) * 5
                code = 128 + piece // 5
            out += bytes([(action if first else 0) << 6, code]) + data[:piece]
            data = data[piece:]
            first = False
    return bytes(out)


for folder in ("IniSettings", "TcpReplyStream", "UdpDatagram", "SerialReply", "PlaybackFile52l", "TypedText",
               "StationCommandLine", "ToolOptions", "FaultPlan", "SerialDevices"):
    ensure(folder)

write("IniSettings", "defaults", b"[System Settings]\r\nSonar Type=1\r\nIP Address=127.0.0.1\r\nZoom=1.00\r\n"
      b"ColorTable=3\r\n[Sonar Settings]\r\nRange=30\r\nRange Index=7\r\nGain=6\r\nStep Size=3\r\n"
      b"Sector Mode=1\r\nAuto Settings=1\r\n")
write("IniSettings", "hostile", b"[System Settings]\nZoom=1e308\nRotate Image=-1e300\nColorTable=9\n"
      b"Sonar Type=2\nSpeed of Sound=nan\nPlayback Speed=-3\n[Sonar Settings]\nRange=159\nGain=255\n"
      b"Step Size=251\nRange Index=300\nTrain SS=250\nSector Mode=2\nAuto Settings=0\nFrequency=250\n"
      b"Pulse Length=0\n")
write("IniSettings", "odd_lines", b"\xef\xbb\xbf; comment\n[sonar settings]\n  gain = 12  \nnoequals\n=x\n"
      b"[System Settings\nZoom=3.0\n[Serial Devices]\nCOM5=/dev/ttyUSB0\n[System Settings]\nZoom=0.5\n")
write("IniSettings", "empty", b"")
write("IniSettings", "kept_as_stored", b"[System Settings]\nRotate Image=-999999.9\nZoom=8\nUDP Mode=-7\n"
      b"Sonar Type=2147483647\nMetric Scale=2\nGrid=3\nProfileDispMode=5\nProfile Point Size=2147483647\n"
      b"GPSComPortBaud=-1\nOpenFileFilterIndex=9\n[Sonar Settings]\nSonar Up/Down=2\nTrain Polar=255\n"
      b"SectorWidth Polar=255\nTrain Sector=121\nSectorWidth Sector=61\nAuto Settings=2\nRange=200\n"
      b"Range Index=14\nStep Size=8\n\n")  # even length: loaded live

write("SerialDevices", "usb_and_acm", b"[System Settings]\r\nSonarComPort=5\r\n[Serial Devices]\r\n"
      b"COM5=/dev/ttyUSB0\r\nCOM40=/dev/ttyACM3\r\nCOM255=/dev/serial/by-id/usb-FTDI_FT232R-if00-port0\r\n")
write("SerialDevices", "edges", b"[serial devices]\ncom1=\nCOM0=/dev/null\nCOM256=/dev/ttyS1\nCOM-3=x\n"
      b"COM0005=/dev/ttyS4\nCOM 7=/dev/ttyS6\nCOM9=a=b\nCOM9=second\nCOM99999999999999999999=/dev/tty\n")
write("SerialDevices", "utf16", b"\xff\xfe" + "[Serial Devices]\r\nCOM3=\\\\.\\COM3\r\n".encode("utf-16-le"))
write("SerialDevices", "nul_inside", b"[Serial Devices]\nCOM2=/dev/ttyS1\x00\nCOM3=/dev/ttyS2\n")
write("SerialDevices", "empty", b"")

write("TcpReplyStream", "whole_igx", tcp_steps((0, IGX), (2, b""), (0, IGX)))
write("TcpReplyStream", "split_imx", tcp_steps((0, IMX[:100]), (0, IMX[100:]), (2, IPX)))
write("TcpReplyStream", "late_half", tcp_steps((0, IGX[:300]), (1, IGX[300:]), (0, IGX)))
write("TcpReplyStream", "reconnect_garbage", tcp_steps((0, b"IQX" + IGX[3:200]), (3 if True else 0, b""),
                                                       (0, b"\x00" * 7 + IMX), (1, IPX)))

record = record_header(3, 640, 513) + reply_header(b"IGX", 600, 0, 30, 0, 0, 500) + echo[:252] * 2
write("UdpDatagram", "igx_record", b"\x01" + record[:640])
write("UdpDatagram", "imx_unaligned", b"\x00" + record_header(3, 384, 265, mode=0) + reply_header(b"IMX", 900)
      + echo[:252])
write("UdpDatagram", "sidescan", b"\x02" + record_header(1, 384, 265, mode=2, step=0) + reply_header(b"IMX")
      + echo[:252])
write("UdpDatagram", "reported_larger", b"\xe1" + record[:200])
write("UdpDatagram", "short", b"\x01" + record[:100])

# The UDP batch: budget (datagrams, time / 40 us, reads / 8), then arrivals and paces.
ensure("DatagramBatch")
write("DatagramBatch", "station_budget_burst", bytes([64, 100, 128]) + bytes([199, 1] * 3 + [5, 2] * 20))
write("DatagramBatch", "slow_pings_backlog", bytes([64, 100, 128]) + bytes([120, 15] * 12))
write("DatagramBatch", "no_budget", bytes([0, 0, 0]) + bytes([199, 0, 3, 0, 0, 0]))
write("DatagramBatch", "one_at_a_time", bytes([1, 255, 1]) + bytes([1, 3] * 30))

write("SerialReply", "imx", b"\x00" + IMX)
write("SerialReply", "two_igx_rts", b"\x20" + IGX + IGX)
write("SerialReply", "overclaim", b"\x80" + IMX[:40])
write("SerialReply", "port_closed_up", b"\x43" + IPX)

l_record = bytearray(record_header(3, 640, 513) + reply_header(b"IGX") + echo[:252] * 2)
l_record[0:3] = b"52L"
l_record = bytes(l_record[:640])
write("PlaybackFile52l", "three_records", l_record * 3)
write("PlaybackFile52l", "garbage_between", l_record + b"52x52" + bytes(range(200)) + l_record[:300] + l_record)
write("PlaybackFile52l", "serial_start", record[:640] + l_record)
write("PlaybackFile52l", "lying_length", l_record[:4] + b"\xff\xff" + l_record[6:] + l_record)

write("TypedText", "range_lines", b"\x00" + b"30\n\n999\n-5\n 7")
write("TypedText", "gain_feet", b"\x05" + b"45\n+12")
write("TypedText", "width_sector", b"\x02" + b"180\n90")
write("TypedText", "train_up", b"\x13" + b"359\n720")
write("TypedText", "sound_velocity", b"\x20" + b" 1500.5")
write("TypedText", "address", b"\x40" + b"127.0.0.1")
write("TypedText", "com_entry", b"\x21" + b"COM32  /dev/ttyUSB0 (FT232R)")

write("StationCommandLine", "ini_demo", b"--ini\nx.ini\n--demo")
write("StationCommandLine", "gps", b"--gps\n/dev/ttyUSB0:9600\nrecord.52l")
write("StationCommandLine", "screenshot", b"--run-for\n5\n--screenshot\nwindow.png")
write("StationCommandLine", "bad", b"--gps\n:4800\n--bogus\na\nb")

write("ToolOptions", "headsim", b"\x03--tcp\n127.0.0.1:4040\n--faults\ndrop=3\n--range\n30\n--pty\n--fast")
write("ToolOptions", "render", b"\x01file.52a\n--out\nx.png\n--crop\n1,2,3,4\n--raw")
write("ToolOptions", "nmea", b"\x02--baud\n4800\n--selection\n2\n--tick-bytes\n-1")
write("ToolOptions", "udp_v6", b"\x03--udp\n[::1]:4041\n--mode\nsidescan\n--gain\n41\n--step")
write("ToolOptions", "replay", b"\x05f.52l\n--to\n:5050\n--speed=4\n--count\n0\n--real-time")
write("ToolOptions", "animate", b"\x01f.52l\n--animate\nx.gif\n--fps\n25\n--width\n15\n--out\nx.png")
write("ToolOptions", "root", b"\x07--version\ndump\n--help")

write("FaultPlan", "everything", b"drop=7,delay=5:300,split=1:3:20,garbage=11,close=50")
write("FaultPlan", "udp_faults", b"undersize=2,oversize=3,badlength")
write("FaultPlan", "bad_values", b"split=1:65,delay=0")
write("FaultPlan", "empty_items", b",,drop,")
