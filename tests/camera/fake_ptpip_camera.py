#!/usr/bin/env python3
"""A camera that speaks PTP/IP on the loopback address, for tests without one.

It answers the operations a count reading uses, with the DeviceInfo and
properties of the kind of body asked for, and writes the settings a reader
may change (EOS remote and event mode, property values) to a state file after
every change, so that a test can check that the camera was left as found.
Hostile kinds answer garbage, slowly, never, drop the connection, or take
no connection after the first.

Prints the port it listens on, then serves until killed.
"""
import argparse
import json
import socket
import struct
import sys
import threading
import time

# PTP/IP packet types.
INIT_COMMAND_REQUEST, INIT_COMMAND_ACK, INIT_EVENT_REQUEST, INIT_EVENT_ACK = 1, 2, 3, 4
OPERATION_REQUEST, OPERATION_RESPONSE, START_DATA, DATA, END_DATA = 6, 7, 9, 10, 12
# Operation and response codes.
GET_DEVICE_INFO, OPEN_SESSION, CLOSE_SESSION, GET_STORAGE_IDS = 0x1001, 0x1002, 0x1003, 0x1004
GET_PROP_DESC, GET_PROP_VALUE, SET_PROP_VALUE = 0x1014, 0x1015, 0x1016
EOS_GET_STORAGE_IDS, EOS_GET_STORAGE_INFO, EOS_REMOTE_RELEASE, EOS_SET_PROP_EX = 0x9101, 0x9102, 0x910F, 0x9110
EOS_SET_REMOTE_MODE, EOS_SET_EVENT_MODE, EOS_GET_EVENT = 0x9114, 0x9115, 0x9116
# A computer that takes the pictures tells the body its free space, with the
# body's own controls locked meanwhile.
EOS_PC_HDD_CAPACITY, EOS_SET_UI_LOCK, EOS_RESET_UI_LOCK = 0x911A, 0x911B, 0x911C
OK, GENERAL_ERROR, NOT_SUPPORTED, PROP_NOT_SUPPORTED = 0x2001, 0x2002, 0x2005, 0x200A
UINT16, UINT32, STRING = 0x0004, 0x0006, 0xFFFF
COUNT_PROPERTIES = (0xD310, 0xD059)

BASE_OPERATIONS = [GET_DEVICE_INFO, OPEN_SESSION, CLOSE_SESSION, GET_STORAGE_IDS,
                   GET_PROP_DESC, GET_PROP_VALUE, SET_PROP_VALUE]
EOS_OPERATIONS = [EOS_GET_STORAGE_IDS, EOS_GET_STORAGE_INFO, EOS_REMOTE_RELEASE, EOS_SET_PROP_EX,
                  EOS_SET_REMOTE_MODE, EOS_SET_EVENT_MODE, EOS_GET_EVENT, EOS_PC_HDD_CAPACITY,
                  EOS_SET_UI_LOCK, EOS_RESET_UI_LOCK]

# Fujifilm's 0xD207 says who drives the body: 1 the camera, 2 the computer.
# kind: vendor extension, manufacturer, model, serial, extra operations,
# properties {code: (type, value)}, count sent in the EOS event stream.
KINDS = {
    'eos': (0x0B, 'Canon Inc.', 'Canon EOS 600D', '083021004567', EOS_OPERATIONS, {}, 15873),
    'eos-silent': (0x0B, 'Canon Inc.', 'Canon EOS 80D', '183021004568', EOS_OPERATIONS, {}, None),
    'fuji': (0x0E, 'FUJIFILM', 'X-T3', '8FA12345', [], {0xD310: (UINT32, 24567 << 16), 0xD207: (UINT16, 1)}, None),
    'fuji-unshifted': (0x0E, 'FUJIFILM', 'GFX100 II', '9GB23456', [], {0xD310: (UINT32, 1363), 0xD207: (UINT16, 1)},
                       None),
    'fuji-refused': (0x0E, 'FUJIFILM', 'X-S10', '7GC34567', [], {0xD207: (UINT16, 1)}, None),
    'om': (0x00, 'OM Digital Solutions', 'OM-1', 'BJK212345', [], {0xD059: (UINT32, 4017)}, None),
    'nikon': (0x0A, 'Nikon Corporation', 'D750', '3012345', [], {}, None),
}


def ptp_string(text):
    if not text:
        return b'\0'
    units = (text + '\0').encode('utf-16-le')
    return bytes([len(text) + 1]) + units


def u16_array(values):
    return struct.pack('<I', len(values)) + b''.join(struct.pack('<H', v) for v in values)


def packet(kind, payload):
    return struct.pack('<II', 8 + len(payload), kind) + payload


class Camera:
    def __init__(self, kind, hostile, state_path, delay):
        (self.vendor, self.manufacturer, self.model, self.serial, extra,
         self.props, self.event_count) = KINDS[kind]
        self.operations = BASE_OPERATIONS + extra
        self.props = dict(self.props)
        # A setting every body has, so that a reader that writes one is seen.
        self.props[0x5001] = (UINT16, 75)  # battery level
        self.hostile = hostile
        self.connections = 0
        self.log = False
        self.delay = delay
        self.state_path = state_path
        self.state = {'remote_mode': 0, 'event_mode': 0, 'ui_locked': False, 'session_open': False,
                      'props': {f'{c:04x}': v for c, (t, v) in self.props.items()},
                      'eos_props': {},
                      'operations': 0}
        self.count_sent = False
        self.eos_changes = []  # property changes not yet sent in the event stream
        # EVF output device (the body's screen), capture target (its card)
        self.eos_props = {0xD1B0: 1, 0xD11C: 1}
        self.state['eos_props'] = {f'{c:04x}': v for c, v in self.eos_props.items()}
        self.lock = threading.Lock()
        self.save()

    def save(self):
        if self.state_path:
            with open(self.state_path + '.new', 'w') as f:
                json.dump(self.state, f)
            import os
            os.replace(self.state_path + '.new', self.state_path)

    def device_info(self):
        props = sorted(self.props)
        return (struct.pack('<HIH', 100, self.vendor, 100) + ptp_string('')
                + struct.pack('<H', 0) + u16_array(self.operations) + u16_array([])
                + u16_array(props) + u16_array([]) + u16_array([0x3801])
                + ptp_string(self.manufacturer) + ptp_string(self.model)
                + ptp_string('1.0.2') + ptp_string(self.serial))

    def value_bytes(self, code):
        kind, value = self.props[code]
        return struct.pack('<H' if kind == UINT16 else '<I', value)

    def prop_desc(self, code):
        kind, _ = self.props[code]
        value = self.value_bytes(code)
        # factory default, current value, no form
        return struct.pack('<HHB', code, kind, 0) + value + value + b'\0'

    def eos_events(self):
        # An EOS body sends the values of its properties once, in the first
        # answer after event mode is set, and after that only what changed.
        records = b''
        if not self.count_sent:
            for prop, value in self.eos_props.items():
                records += struct.pack('<IIII', 16, 0xC189, prop, value)
            if self.event_count is not None:
                records += struct.pack('<IIII', 16, 0xC189, 0xD1AC, self.event_count)
            self.count_sent = True
        for prop, value in self.eos_changes:
            records += struct.pack('<IIII', 16, 0xC189, prop, value)
        self.eos_changes = []
        return records + struct.pack('<II', 8, 0)

    def operation(self, code, params, data):
        """Returns (response code, data to send or None)."""
        self.state['operations'] += 1
        if code not in self.operations:
            return NOT_SUPPORTED, None
        if code == GET_DEVICE_INFO:
            return OK, self.device_info()
        if code == OPEN_SESSION:
            self.state['session_open'] = True
            # Each session's first event answer carries every property value.
            self.count_sent = False
            self.eos_changes = []
            return OK, None
        if code == CLOSE_SESSION:
            self.state['session_open'] = False
            return OK, None
        if code in (GET_STORAGE_IDS, EOS_GET_STORAGE_IDS):
            return OK, struct.pack('<II', 1, 0x00010001)
        if code == EOS_GET_STORAGE_INFO:
            return OK, struct.pack('<IIQQ', 1, 0x00010001, 8 << 30, 4 << 30)
        if code in (GET_PROP_DESC, GET_PROP_VALUE):
            if not params or params[0] not in self.props:
                return PROP_NOT_SUPPORTED, None
            if code == GET_PROP_DESC:
                return OK, self.prop_desc(params[0])
            return OK, self.value_bytes(params[0])
        if code == SET_PROP_VALUE:
            if not params or params[0] not in self.props or data is None:
                return PROP_NOT_SUPPORTED, None
            kind, _ = self.props[params[0]]
            value = struct.unpack('<H' if kind == UINT16 else '<I', data[:2 if kind == UINT16 else 4])[0]
            self.props[params[0]] = (kind, value)
            self.state['props'][f'{params[0]:04x}'] = value
            return OK, None
        if code == EOS_SET_REMOTE_MODE:
            self.state['remote_mode'] = params[0] if params else 0
            return OK, None
        if code == EOS_SET_EVENT_MODE:
            self.state['event_mode'] = params[0] if params else 0
            return OK, None
        if code in (EOS_SET_UI_LOCK, EOS_RESET_UI_LOCK):
            self.state['ui_locked'] = code == EOS_SET_UI_LOCK
            return OK, None
        if code == EOS_GET_EVENT:
            return OK, self.eos_events()
        if code == EOS_SET_PROP_EX:
            if data and len(data) >= 12:
                size, prop, value = struct.unpack('<III', data[:12])
                self.eos_props[prop] = value
                self.eos_changes.append((prop, value))
                self.state['eos_props'][f'{prop:04x}'] = value
            return OK, None
        return OK, None  # remote release: nothing to do without a sensor


def read_exactly(conn, n):
    buf = b''
    while len(buf) < n:
        chunk = conn.recv(n - len(buf))
        if not chunk:
            raise ConnectionError('closed')
        buf += chunk
    return buf


def read_packet(conn):
    length, kind = struct.unpack('<II', read_exactly(conn, 8))
    if length < 8 or length > 1 << 20:
        raise ConnectionError('bad length')
    return kind, read_exactly(conn, length - 8)


def serve_commands(conn, camera):
    ops = 0
    while True:
        kind, payload = read_packet(conn)
        if kind != OPERATION_REQUEST or len(payload) < 10:
            continue
        data_phase, code, tid = struct.unpack('<IHI', payload[:10])
        params = list(struct.unpack(f'<{(len(payload) - 10) // 4}I', payload[10:10 + (len(payload) - 10) // 4 * 4]))
        data = None
        if data_phase == 2:  # the initiator sends data: start packet, then data packets up to the end one
            data = b''
            while True:
                kind, chunk = read_packet(conn)
                if kind in (DATA, END_DATA):
                    data += chunk[4:]
                if kind == END_DATA:
                    break
        ops += 1
        if camera.log:
            print(f'{time.monotonic():.3f} op {code:04x} {params} {data.hex() if data else ""}', file=sys.stderr, flush=True)
        if camera.hostile == 'drop' and code == GET_PROP_DESC and params and params[0] in COUNT_PROPERTIES:
            conn.close()  # unplugged as the count is asked for
            return
        if camera.hostile == 'silent' and code != GET_DEVICE_INFO:
            time.sleep(3600)
        if camera.delay:
            time.sleep(camera.delay)
        with camera.lock:
            response, out = camera.operation(code, params, data)
            camera.save()
        if camera.hostile == 'garbage' and code not in (GET_DEVICE_INFO,):
            # A response of a type the protocol does not have, of a huge declared length.
            conn.sendall(struct.pack('<II', 0x7FFFFFF0, 0x55) + b'\xff' * 32)
            continue
        reply = b''
        if out is not None:
            reply += packet(START_DATA, struct.pack('<IQ', tid, len(out)))
            reply += packet(END_DATA, struct.pack('<I', tid) + out)
        reply += packet(OPERATION_RESPONSE, struct.pack('<HI', response, tid))
        # One write per transaction: with TCP_NODELAY each write goes at once.
        conn.sendall(reply)


def handle(conn, camera, events):
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    try:
        kind, payload = read_packet(conn)
        if kind == INIT_COMMAND_REQUEST:
            if camera.hostile == 'mute':
                time.sleep(3600)
            camera.connections += 1
            if camera.hostile == 'once' and camera.connections > 1:
                return
            name = ptp_string('')[1:] or b'\0\0'
            conn.sendall(packet(INIT_COMMAND_ACK, struct.pack('<I', 1) + b'\x11' * 16
                                + 'Fake\0'.encode('utf-16-le') + struct.pack('<I', 0x00010000)))
            del name
            serve_commands(conn, camera)
        elif kind == INIT_EVENT_REQUEST:
            conn.sendall(packet(INIT_EVENT_ACK, b''))
            events.append(conn)
            while conn.recv(4096):
                pass
    except (ConnectionError, OSError):
        pass
    finally:
        try:
            conn.close()
        except OSError:
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--kind', choices=sorted(KINDS), default='eos')
    parser.add_argument('--hostile', choices=['', 'garbage', 'silent', 'mute', 'drop', 'once'], default='')
    parser.add_argument('--delay', type=float, default=0.0, help='seconds before each answer')
    parser.add_argument('--log', action='store_true', help='operations on standard error')
    parser.add_argument('--state', help='file the settings are written to')
    args = parser.parse_args()
    camera = Camera(args.kind, args.hostile, args.state, args.delay)
    camera.log = args.log
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(('127.0.0.1', 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    events = []
    while True:
        conn, _ = server.accept()
        threading.Thread(target=handle, args=(conn, camera, events), daemon=True).start()


if __name__ == '__main__':
    main()
