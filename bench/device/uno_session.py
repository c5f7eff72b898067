#!/usr/bin/env python3
"""Runs the bench build of the Uno example in qemu-system-avr, plays a session on its serial
port (Hello, every value the panel takes, pings, a layout request, a reconnect, garbage) and
reads back the painted stack through the emulator's monitor.
Usage: uno_session.py FIRMWARE.elf END_OF_VARIABLES  ->  prints "stack_peak=N answered=N"."""
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import time
import tty

MARKER = bytes.fromhex("5AE3F16B77E4E963")
RAM_END = 0x8FF


def frame(kind, payload=b""):
    return MARKER + bytes.fromhex("0001000002000100") + kind.to_bytes(2, "little") + b"\0\0" + payload


def u32(value):
    return value.to_bytes(4, "little")


def values(*entries):
    body = u32(len(entries))
    for ident, data in entries:
        body += u32(ident) + u32(len(data)) + data
    return frame(7, body)


def read_for(fd, seconds):
    out = b""
    end = time.time() + seconds
    while time.time() < end:
        ready, _, _ = select.select([fd], [], [], 0.05)
        if ready:
            out += os.read(fd, 4096)
    return out


def monitor(sock, command):
    sock.sendall(command.encode() + b"\n")
    out = b""
    end = time.time() + 5
    while time.time() < end and b"(qemu)" not in out.split(command.encode())[-1]:
        ready, _, _ = select.select([sock], [], [], 0.1)
        if ready:
            out += sock.recv(65536)
    return out.decode(errors="replace")


def main():
    firmware, end_of_vars = sys.argv[1], int(sys.argv[2], 0)
    with tempfile.TemporaryDirectory() as tmp:
        sock_path = os.path.join(tmp, "monitor")
        qemu = subprocess.Popen(
            ["qemu-system-avr", "-M", "uno", "-bios", firmware, "-serial", "pty",
             "-display", "none", "-monitor", f"unix:{sock_path},server,nowait"],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            said = b""
            deadline = time.time() + 10
            while not re.search(rb"/dev/pts/\d+", said) and time.time() < deadline:
                said += qemu.stdout.read1(256)
            pts = re.search(rb"/dev/pts/\d+", said).group(0).decode()
            fd = os.open(pts, os.O_RDWR | os.O_NOCTTY)
            tty.setraw(fd)
            # The emulator notices an opened pty within a second; until then it drops output.
            deadline = time.time() + 15
            while MARKER not in read_for(fd, 0.3) and time.time() < deadline:
                os.write(fd, frame(1))
            read_for(fd, 1.0)
            answered = 0
            steps = [
                frame(1),
                values((1, b"\x01")),
                values((3, b"\x01"), (4, b"\x01"), (5, u32(2))),
                values((10, b"note".ljust(16, b"\0")), (1, b"\x00")),
                values((9, b"\x01"), (99, b"\x01\x02")),
                frame(10),
                frame(18, u32(256)),
                b"\x00garbage" + MARKER[:5],
                frame(1),
                values((2, b"x" * 40)),
                frame(4),
            ]
            for step in steps:
                os.write(fd, step)
                got = read_for(fd, 2.0)
                if got:
                    answered += 1
            stack = monitor_stack(sock_path, end_of_vars)
            print(f"stack_peak={stack} answered={answered}")
        finally:
            qemu.terminate()
            qemu.wait(timeout=10)


def monitor_stack(sock_path, end_of_vars):
    sock = socket.socket(socket.AF_UNIX)
    sock.connect(sock_path)
    time.sleep(0.2)
    sock.recv(65536)
    count = RAM_END - end_of_vars + 1
    text = monitor(sock, f"xp /{count}bx {0x800000 + end_of_vars:#x}")
    data = [int(b, 16) for b in re.findall(r"0x([0-9a-f]{2})\b", text.split("\n", 1)[1])]
    first_used = next((i for i, b in enumerate(data) if b != 0xC5), len(data))
    return count - first_used


if __name__ == "__main__":
    main()
