#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Lets the serial tests, running as a Windows program under Wine, play the far end of a
pseudo-terminal that Wine sees as a COM port. Every connection to 127.0.0.1:PORT gets a fresh
pty whose slave is linked as DOSDEVICES/COMNAME; the bridge sends one byte once the link is in
place, then relays between the connection and the pty's master. Closing the connection hangs
the pty up. The bridge listens on a free port and writes its number to PORT_FILE."""
import os
import pty
import select
import socket
import sys
import threading
import tty


def relay(conn, link):
    master, slave = pty.openpty()
    tty.setraw(slave)
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.ttyname(slave), link)
    conn.sendall(b"R")
    try:
        while True:
            ready, _, _ = select.select([conn, master], [], [])
            if conn in ready:
                data = conn.recv(65536)
                if not data:
                    break
                os.write(master, data)
            if master in ready:
                conn.sendall(os.read(master, 65536))
    except OSError:
        pass
    finally:
        conn.close()
        os.close(master)
        os.close(slave)


def main():
    dosdevices, name, port_file = sys.argv[1], sys.argv[2].lower(), sys.argv[3]
    server = socket.create_server(("127.0.0.1", 0))
    with open(port_file + ".part", "w") as out:
        out.write(str(server.getsockname()[1]))
    os.rename(port_file + ".part", port_file)
    link = os.path.join(dosdevices, name)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=relay, args=(conn, link), daemon=True).start()


if __name__ == "__main__":
    main()
