#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the Linux controller simulator for the editor's tests while they run as a Windows
program under Wine, which can neither fork it nor read its output through a pipe. Every
connection to 127.0.0.1:PORT asks for one simulator: its arguments one a line, then an empty
line. The launcher relays the simulator's output and error; a line with a number from the test
sends that signal. Once the simulator has ended the launcher sends a NUL and its exit status
(128 + the signal that ended it) and closes. A connection that closes first kills the
simulator. Usage: sim_launcher.py SIMULATOR PORT_FILE (the port it listens on goes there)."""
import os
import select
import signal
import socket
import subprocess
import sys
import threading


def read_request(conn):
    """The arguments up to the first empty line, and what came after them."""
    received = b""
    while True:
        lines = received.split(b"\n")
        if b"" in lines[:-1]:
            end = lines.index(b"")
            return [arg.decode() for arg in lines[:end]], b"\n".join(lines[end + 1:])
        data = conn.recv(4096)
        if not data:
            return None, b""
        received += data


def serve(conn, simulator):
    args, commands = read_request(conn)
    if args is None:
        conn.close()
        return
    child = subprocess.Popen([simulator] + args, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    output = child.stdout.fileno()
    watched = [conn, output]
    try:
        while output in watched:
            for line in commands.split(b"\n")[:-1]:
                child.send_signal(int(line))
            commands = commands.split(b"\n")[-1]
            ready, _, _ = select.select(watched, [], [])
            if output in ready:
                data = os.read(output, 65536)
                if data:
                    conn.sendall(data)
                else:
                    watched.remove(output)
            if conn in ready:
                data = conn.recv(4096)
                if not data:
                    child.kill()
                    watched.remove(conn)
                commands += data
        status = child.wait()
        conn.sendall(b"\0" + str(status if status >= 0 else 128 - status).encode() + b"\n")
    except OSError:
        child.kill()
        child.wait()
    finally:
        conn.close()


def main():
    simulator, port_file = sys.argv[1], sys.argv[2]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(16)
    with open(port_file + ".tmp", "w") as out:
        out.write(str(server.getsockname()[1]))
    os.rename(port_file + ".tmp", port_file)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn, simulator), daemon=True).start()


if __name__ == "__main__":
    main()
