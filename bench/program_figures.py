#!/usr/bin/env python3
"""Figures of the running program, measured on the built demo (corsaro270-demo): idle CPU of the
main thread and of the whole process, start-up time to the first frame of the main screen, and
resident memory after start-up. It prints figures; it passes or fails nothing.

Usage: bench/program_figures.py [--bin build/bin] [--runs 3] [--only idle|startup|memory]
                                [--draw-every-frame]

Without a display it runs itself under xvfb-run, so the program draws through X11 and Mesa's
software renderer as on a desktop without a graphics driver. The settings document comes from
a loopback HTTP server serving assets/presets, a file:// address, or a loopback server that
accepts connections and never answers.
"""
import argparse
import http.server
import os
import pathlib
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
PRESETS = ROOT / "assets" / "presets"
TICKS = os.sysconf("SC_CLK_TCK")
MAIN_SCREEN, NO_RECEIVER = 6, 0
SPLASH_SECONDS = 0.2 + 1.25  # the wait before the splash and its fades


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=str(PRESETS), **kwargs)

    def log_message(self, *args):
        pass


def start_http_server():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), QuietHandler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/tarnwick270/settings.xml" % server.server_address[1]


def start_silent_server():
    """Accepts every connection and never sends a byte."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    held = []

    def accept():
        while True:
            connection, _ = listener.accept()
            held.append(connection)

    threading.Thread(target=accept, daemon=True).start()
    return "http://127.0.0.1:%d/tarnwick270/settings.xml" % listener.getsockname()[1]


class Run:
    """One scripted run of the demo that idles until it is ended."""

    extra_options = []  # passed to every run, after the others

    def __init__(self, program, settings, no_receiver=False, wanted=MAIN_SCREEN):
        self.out = pathlib.Path(tempfile.mkdtemp(prefix="corsaro-figures-"))
        script = self.out / "idle.txt"
        script.write_text("wait-state %d 3000\nframes 100000\nquit\n" % wanted)
        command = [str(program), "--script", str(script), "--out", str(self.out / "out"),
                   "--settings", settings]
        if no_receiver:
            command.append("--no-receiver")
        command += Run.extra_options
        self.wanted = wanted
        self.started = time.monotonic()
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def wait_for_state(self, timeout=30.0):
        """Seconds from the start of the process to the first frame in the wanted state."""
        states = self.out / "out" / "states.txt"
        deadline = self.started + timeout
        while time.monotonic() < deadline:
            if states.exists():
                for line in states.read_text().splitlines():
                    parts = line.split("\t")
                    if len(parts) == 2 and parts[1] == str(self.wanted):
                        return time.monotonic() - self.started
            if self.process.poll() is not None:
                break
            time.sleep(0.001)
        raise RuntimeError("the demo never reached state %d (see %s)" % (self.wanted, self.out))

    def cpu_ticks(self):
        """(main thread, whole process) user + system clock ticks."""
        pid = self.process.pid

        def ticks(path):
            fields = pathlib.Path(path).read_text().rsplit(")", 1)[1].split()
            return int(fields[11]) + int(fields[12])

        return ticks("/proc/%d/task/%d/stat" % (pid, pid)), ticks("/proc/%d/stat" % pid)

    def resident_mib(self):
        """VmRSS, RssAnon, RssFile and the pages of LLVM (Mesa's shader compiler), in MiB."""
        figures = {}
        for line in pathlib.Path("/proc/%d/status" % self.process.pid).read_text().splitlines():
            name, _, value = line.partition(":")
            if name in ("VmRSS", "RssAnon", "RssFile"):
                figures[name] = int(value.split()[0]) / 1024.0
        llvm, mapping = 0, ""
        for line in pathlib.Path("/proc/%d/smaps" % self.process.pid).read_text().splitlines():
            fields = line.split()
            if fields and "-" in fields[0] and len(fields) >= 5:
                mapping = fields[5] if len(fields) > 5 else ""
            elif fields and fields[0] == "Rss:" and "libLLVM" in mapping:
                llvm += int(fields[1])
        figures["LLVM"] = llvm / 1024.0
        return figures

    def end(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.out, ignore_errors=True)


def spread(values, unit, digits=1):
    text = "%.*f%s" % (digits, statistics.median(values), unit)
    return "%s (%.*f..%.*f over %d runs)" % (text, digits, min(values), digits, max(values),
                                            len(values))


def idle(program, settings, runs, seconds=5.0):
    for name, no_receiver, state in (("main screen", False, MAIN_SCREEN),
                                     ("no-receiver overlay", True, NO_RECEIVER)):
        main, whole = [], []
        for _ in range(runs):
            run = Run(program, settings, no_receiver, state)
            try:
                run.wait_for_state()
                time.sleep(1.0)
                before, started = run.cpu_ticks(), time.monotonic()
                time.sleep(seconds)
                after, elapsed = run.cpu_ticks(), time.monotonic() - started
            finally:
                run.end()
            main.append(100.0 * (after[0] - before[0]) / TICKS / elapsed)
            whole.append(100.0 * (after[1] - before[1]) / TICKS / elapsed)
        print("idle CPU, %s, %.0f s: main thread %s, whole process %s" %
              (name, seconds, spread(main, " %"), spread(whole, " %")))


def startup(program, servers, runs):
    print("start-up to the first frame of the main screen (splash %.2f s):" % SPLASH_SECONDS)
    for name, settings in servers:
        times = []
        for _ in range(runs):
            run = Run(program, settings)
            try:
                times.append(run.wait_for_state())
            finally:
                run.end()
        print("  %-32s %s" % (name + ":", spread(times, " s", 2)))


def memory(program, settings, runs):
    values = []
    for _ in range(runs):
        run = Run(program, settings)
        try:
            run.wait_for_state()
            time.sleep(1.0)
            values.append(run.resident_mib())
        finally:
            run.end()
    print("resident memory at the main screen, 1 s after start-up:")
    for name, label in (("VmRSS", "all"), ("RssAnon", "private (anonymous)"),
                        ("RssFile", "mapped files"), ("LLVM", "of which libLLVM")):
        print("  %-22s %s" % (label + ":", spread([v[name] for v in values], " MiB")))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bin", default=str(ROOT / "build" / "bin"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--only", choices=("idle", "startup", "memory"))
    parser.add_argument("--draw-every-frame", action="store_true",
                        help="the demo draws every frame, also those that repeat the picture")
    options = parser.parse_args()
    if options.draw_every_frame:
        Run.extra_options.append("--draw-every-frame")
    if not os.environ.get("DISPLAY") and not os.environ.get("SDL_VIDEODRIVER"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x800x24", sys.executable,
                               *sys.argv])
    program = pathlib.Path(options.bin) / "corsaro270-demo"
    http_address = start_http_server()
    servers = [("loopback HTTP server", http_address),
               ("file:// address", (PRESETS / "tarnwick270" / "settings.xml").as_uri()),
               ("server that never answers", start_silent_server())]
    print("program: %s; video: %s" % (program, os.environ.get("SDL_VIDEODRIVER") or "x11 (%s)" %
                                      os.environ.get("DISPLAY")))
    if options.only in (None, "idle"):
        idle(program, http_address, options.runs)
    if options.only in (None, "startup"):
        startup(program, servers, options.runs)
    if options.only in (None, "memory"):
        memory(program, http_address, options.runs)


if __name__ == "__main__":
    main()
