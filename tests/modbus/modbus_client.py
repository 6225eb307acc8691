#!/usr/bin/python3
"""The tests' Modbus TCP client, written against the protocol and not against the server:
pymodbus for requests, a plain socket for frames no client library sends. Prints one JSON
object.

    modbus_client.py PORT UNIT read input|discrete|holding START COUNT
        {"values": [...]} or {"exception": code, "function": reply's function byte}
    modbus_client.py PORT UNIT write START VALUE...      (one value: function 06, else 16)
        {"ok": true} or {"exception": ..., "function": ...}
    modbus_client.py PORT UNIT raw HEX [HEX...]  one connection, each frame sent in turn
        {"replies": ["hex" | "closed" | "timeout", ...]}
    modbus_client.py PORT UNIT clients N         N connections at once, one read on each
        {"answered": n, "closed": n}
    modbus_client.py PORT UNIT silent SECONDS    connect, send nothing
        {"closed": true|false}
    modbus_client.py PORT UNIT busy SECONDS GAP  one connection, a read every GAP seconds
        {"answered": n, "closed": true|false}
"""
import json
import socket
import struct
import sys
import time

from pymodbus.client import ModbusTcpClient


def outcome(response, values=None):
    if response.isError():
        return {"exception": getattr(response, "exception_code", -1), "function": response.function_code}
    return {"values": values(response)} if values else {"ok": True}


def read(port, unit, kind, start, count):
    client = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    client.connect()
    if kind == "input":
        r = client.read_input_registers(start, count, slave=unit)
        result = outcome(r, lambda r: r.registers)
    elif kind == "holding":
        r = client.read_holding_registers(start, count, slave=unit)
        result = outcome(r, lambda r: r.registers)
    else:
        r = client.read_discrete_inputs(start, count, slave=unit)
        result = outcome(r, lambda r: [int(b) for b in r.bits[:count]])
    client.close()
    return result


def write(port, unit, start, values):
    client = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    client.connect()
    if len(values) == 1:
        r = client.write_register(start, values[0], slave=unit)
    else:
        r = client.write_registers(start, values, slave=unit)
    client.close()
    return outcome(r)


def receive(s):
    try:
        data = s.recv(512)
        return data.hex() if data else "closed"
    except socket.timeout:
        return "timeout"
    except ConnectionResetError:
        return "closed"


def raw(port, frames):
    s = socket.create_connection(("127.0.0.1", port), timeout=2)
    replies = []
    for frame in frames:
        try:
            s.sendall(bytes.fromhex(frame))
        except (BrokenPipeError, ConnectionResetError):
            replies.append("closed")
            continue
        replies.append(receive(s))
    s.close()
    return {"replies": replies}


def clients(port, unit, n):
    sockets = [socket.create_connection(("127.0.0.1", port), timeout=2) for _ in range(n)]
    time.sleep(0.3)
    answered = closed = 0
    for i, s in enumerate(sockets):
        try:
            s.sendall(struct.pack(">HHHBBHH", i + 1, 0, 6, unit, 4, 0, 1))
        except (BrokenPipeError, ConnectionResetError):
            closed += 1
            continue
        reply = receive(s)
        if reply == "closed":
            closed += 1
        elif reply != "timeout":
            answered += 1
    for s in sockets:
        s.close()
    return {"answered": answered, "closed": closed}


def silent(port, seconds):
    s = socket.create_connection(("127.0.0.1", port), timeout=seconds)
    return {"closed": receive(s) == "closed"}


def busy(port, unit, seconds, gap):
    s = socket.create_connection(("127.0.0.1", port), timeout=2)
    answered, end = 0, time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            s.sendall(struct.pack(">HHHBBHH", answered + 1, 0, 6, unit, 4, 0, 1))
        except (BrokenPipeError, ConnectionResetError):
            return {"answered": answered, "closed": True}
        reply = receive(s)
        if reply == "closed":
            return {"answered": answered, "closed": True}
        answered += reply != "timeout"
        time.sleep(gap)
    s.close()
    return {"answered": answered, "closed": False}


def main(argv):
    port, unit, command = int(argv[1]), int(argv[2]), argv[3]
    if command == "read":
        result = read(port, unit, argv[4], int(argv[5]), int(argv[6]))
    elif command == "write":
        result = write(port, unit, int(argv[4]), [int(v) & 0xFFFF for v in argv[5:]])
    elif command == "raw":
        result = raw(port, argv[4:])
    elif command == "clients":
        result = clients(port, unit, int(argv[4]))
    elif command == "busy":
        result = busy(port, unit, float(argv[4]), float(argv[5]))
    else:
        result = silent(port, float(argv[4]))
    print(json.dumps(result))


if __name__ == "__main__":
    main(sys.argv)
