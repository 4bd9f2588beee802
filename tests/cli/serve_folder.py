#!/usr/bin/env python3
"""Serves a folder over HTTP on a free loopback port, for the tool's end-to-end runs.

Usage: serve_folder.py FOLDER PORT_FILE. Writes the port to PORT_FILE once it listens, answers
quietly, and stops by itself after two minutes in case nobody stops it.
"""
import functools
import http.server
import os
import sys
import threading

folder, port_file = sys.argv[1], sys.argv[2]
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
handler.func.log_message = lambda *args: None
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
threading.Timer(120, server.shutdown).start()
with open(port_file + ".tmp", "w") as out:
    out.write(str(server.server_address[1]))
os.replace(port_file + ".tmp", port_file)
server.serve_forever()
