#!/usr/bin/env python3
"""Figures of the running program, measured on the built demo (corsaro270-demo): idle CPU of the
main thread and of the whole process, start-up time to the first frame of the main screen and
its parts (the loader, the window, the splash, what follows it), and the private memory after
start-up with where it lies. It prints figures; it passes or fails nothing.

Usage: bench/program_figures.py [--bin build/bin]... [--runs 3] [--only idle|startup|memory]
                                [--draw-every-frame]

With several --bin folders (say a build of main beside one of a branch) every figure is measured
on each, their runs taking turns, so that both see the same machine at the same time.

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

    def wait_for_log(self, text, timeout=30.0):
        """Seconds from the start of the process to the first log line holding text."""
        log = self.out / "out" / "Corsaro270.log"
        deadline = self.started + timeout
        while time.monotonic() < deadline:
            if log.exists() and text in log.read_text(errors="replace"):
                return time.monotonic() - self.started
            if self.process.poll() is not None:
                break
            time.sleep(0.001)
        raise RuntimeError("the demo never logged %r (see %s)" % (text, self.out))

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
        """VmRSS, RssFile and the pages of LLVM (Mesa's shader compiler), in MiB."""
        figures = {}
        for line in pathlib.Path("/proc/%d/status" % self.process.pid).read_text().splitlines():
            name, _, value = line.partition(":")
            if name in ("VmRSS", "RssFile"):
                figures[name] = int(value.split()[0]) / 1024.0
        figures["LLVM"] = sum(kib for name, field, kib in self.smaps()
                              if field == "Rss" and "libLLVM" in name) / 1024.0
        return figures

    def private_mib(self):
        """Anonymous: of smaps_rollup (the private memory), and where it lies, in MiB: the heap,
        anonymous maps (large allocations, the driver's textures, thread stacks), the pages of
        libLLVM and of the other libraries that were written to (relocations, data)."""
        rollup = pathlib.Path("/proc/%d/smaps_rollup" % self.process.pid).read_text()
        figures = {"private": next(int(line.split()[1]) for line in rollup.splitlines()
                                   if line.startswith("Anonymous:")) / 1024.0}
        places = {"heap": 0, "anonymous maps": 0, "libLLVM": 0, "other libraries": 0}
        for name, field, kib in self.smaps():
            if field != "Anonymous":
                continue
            if name == "[heap]":
                places["heap"] += kib
            elif name == "" or name.startswith("[anon") or name == "[stack]":
                places["anonymous maps"] += kib
            elif "libLLVM" in name:
                places["libLLVM"] += kib
            else:
                places["other libraries"] += kib
        figures.update({place: kib / 1024.0 for place, kib in places.items()})
        return figures

    def smaps(self):
        """(mapping name, field, KiB) for every sized field of /proc/PID/smaps."""
        mapping = ""
        for line in pathlib.Path("/proc/%d/smaps" % self.process.pid).read_text().splitlines():
            fields = line.split()
            if not fields:
                continue
            if "-" in fields[0] and not fields[0].endswith(":"):
                mapping = fields[5] if len(fields) > 5 else ""
            elif len(fields) == 3 and fields[2] == "kB":
                yield mapping, fields[0].rstrip(":"), int(fields[1])

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


def label(program, programs):
    if len(programs) == 1:
        return ""
    width = max(len(str(other.parent)) for other in programs)
    return "[%-*s] " % (width, program.parent)


def idle(programs, settings, runs, seconds=5.0):
    for name, no_receiver, state in (("main screen", False, MAIN_SCREEN),
                                     ("no-receiver overlay", True, NO_RECEIVER)):
        main = {program: [] for program in programs}
        whole = {program: [] for program in programs}
        for _ in range(runs):
            for program in programs:
                run = Run(program, settings, no_receiver, state)
                try:
                    run.wait_for_state()
                    time.sleep(1.0)
                    before, started = run.cpu_ticks(), time.monotonic()
                    time.sleep(seconds)
                    after, elapsed = run.cpu_ticks(), time.monotonic() - started
                finally:
                    run.end()
                main[program].append(100.0 * (after[0] - before[0]) / TICKS / elapsed)
                whole[program].append(100.0 * (after[1] - before[1]) / TICKS / elapsed)
        for program in programs:
            print("%sidle CPU, %s, %.0f s: main thread %s, whole process %s" %
                  (label(program, programs), name, seconds, spread(main[program], " %"),
                   spread(whole[program], " %")))


def loader_seconds(program, repeats=10):
    """The fastest of a few starts that print the usage and exit: the dynamic loader, the
    libraries' constructors and the program's own static start, without a window."""
    times = []
    for _ in range(repeats):
        started = time.monotonic()
        subprocess.run([str(program), "--help"], stdout=subprocess.DEVNULL, check=True)
        times.append(time.monotonic() - started)
    return min(times)


def startup(programs, servers, runs):
    print("start-up to the first frame of the main screen (splash %.2f s):" % SPLASH_SECONDS)
    for name, settings in servers:
        times = {program: [] for program in programs}
        for _ in range(runs):
            for program in programs:
                run = Run(program, settings)
                try:
                    times[program].append(run.wait_for_state())
                finally:
                    run.end()
        for program in programs:
            print("  %s%-32s %s" % (label(program, programs), name + ":",
                                    spread(times[program], " s", 2)))
    print("its parts, loopback HTTP server (the window: from the start to its first picture; "
          "after the splash: the main screen's art, build and first frame):")
    parts = {program: {"loader": [], "window": [], "after": [], "beyond": []}
             for program in programs}
    for _ in range(runs):
        for program in programs:
            figures = parts[program]
            figures["loader"].append(loader_seconds(program))
            run = Run(program, servers[0][1])
            try:
                window = run.wait_for_log("Init done.")
                total = run.wait_for_state()
            finally:
                run.end()
            figures["window"].append(window - figures["loader"][-1])
            figures["after"].append(total - window - SPLASH_SECONDS)
            figures["beyond"].append(total - SPLASH_SECONDS)
    for program in programs:
        figures = parts[program]
        print("  %sloader %s, window %s, after the splash %s; all beyond the splash %s" %
              (label(program, programs), spread(figures["loader"], " s", 3),
               spread(figures["window"], " s", 3), spread(figures["after"], " s", 3),
               spread(figures["beyond"], " s", 3)))


def memory(programs, settings, runs):
    values = {program: [] for program in programs}
    for _ in range(runs):
        for program in programs:
            run = Run(program, settings)
            try:
                run.wait_for_state()
                time.sleep(1.0)
                figures = run.private_mib()
                figures.update(run.resident_mib())
                values[program].append(figures)
            finally:
                run.end()
    print("memory at the main screen, 1 s after start-up:")
    for program in programs:
        for name, title in (("private", "private (Anonymous:)"), ("heap", "  in the heap"),
                            ("anonymous maps", "  in anonymous maps"),
                            ("libLLVM", "  in libLLVM's pages"),
                            ("other libraries", "  in other libraries"),
                            ("VmRSS", "resident, all"), ("RssFile", "resident, mapped files"),
                            ("LLVM", "resident, libLLVM")):
            print("  %s%-24s %s" % (label(program, programs), title + ":",
                                    spread([v[name] for v in values[program]], " MiB")))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bin", action="append",
                        help="a folder holding corsaro270-demo (default build/bin); repeatable")
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
    programs = [pathlib.Path(folder) / "corsaro270-demo"
                for folder in options.bin or [str(ROOT / "build" / "bin")]]
    http_address = start_http_server()
    servers = [("loopback HTTP server", http_address),
               ("file:// address", (PRESETS / "tarnwick270" / "settings.xml").as_uri()),
               ("server that never answers", start_silent_server())]
    print("program: %s; video: %s" % (", ".join(map(str, programs)),
                                      os.environ.get("SDL_VIDEODRIVER") or "x11 (%s)" %
                                      os.environ.get("DISPLAY")))
    if options.only in (None, "idle"):
        idle(programs, http_address, options.runs)
    if options.only in (None, "startup"):
        startup(programs, servers, options.runs)
    if options.only in (None, "memory"):
        memory(programs, http_address, options.runs)


if __name__ == "__main__":
    main()
