#!/usr/bin/env python3
"""Runs the benchmarks of a built tree and prints a short table: press round trip against a plain
blocking socket client, start-up and peak memory against a minimal Qt Quick window, and resident
memory after 1,000 and 10,000 presses. Everything stays on loopback."""
import os
import socket
import statistics
import subprocess
import sys
import time


def free_port(kind):
    with socket.socket(socket.AF_INET, kind) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def run_measured(argv, env):
    """Starts a program that prints the milliseconds from its process start to its first full frame;
    returns that figure and the process's peak resident memory in KiB."""
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = proc.stdout.read().decode().strip()
    _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0 or not out:
        sys.exit(f"{argv[0]} failed with {proc.returncode}")
    return float(out.splitlines()[-1]), usage.ru_maxrss


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env.pop("DISPLAY", None)
    bench = os.path.join(build, "bench")

    # Start-up, alternating the two programs.
    client_ms, client_kib, minimal_ms, minimal_kib = [], [], [], []
    for _ in range(10):
        ms, kib = run_measured([os.path.join(bench, "bench-client-startup"),
                                str(free_port(socket.SOCK_DGRAM)),
                                str(free_port(socket.SOCK_DGRAM))], env)
        client_ms.append(ms)
        client_kib.append(kib)
        ms, kib = run_measured([os.path.join(bench, "bench-minimal-window")], env)
        minimal_ms.append(ms)
        minimal_kib.append(kib)

    # Press round trip against the stand-in editor on loopback.
    tcp_port = free_port(socket.SOCK_STREAM)
    editor = subprocess.Popen([os.path.join(build, "tools", "qs-editor", "qs-editor"),
                               "--bind", "127.0.0.1", "--tcp-port", str(tcp_port),
                               "--udp-port", str(free_port(socket.SOCK_DGRAM)), "--no-discovery"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(0.5)
        press = subprocess.run([os.path.join(bench, "bench-press"), str(tcp_port),
                                str(free_port(socket.SOCK_DGRAM)), str(free_port(socket.SOCK_DGRAM))],
                               env=env, capture_output=True, text=True, timeout=900)
    finally:
        editor.terminate()
        editor.wait(timeout=10)
    if press.returncode != 0:
        sys.exit("bench-press failed: " + press.stderr)
    figures = {}
    for line in press.stdout.splitlines():
        parts = line.split()
        figures[parts[0]] = dict(zip(parts[1::2], map(float, parts[2::2]))) if len(parts) > 2 else float(parts[1])

    c, f = figures["client"], figures["floor"]
    rss1, rss10 = figures["rss_after_1000_kib"], figures["rss_after_all_kib"]
    cm, mm = statistics.median(client_ms), statistics.median(minimal_ms)
    ck, mk = max(client_kib), max(minimal_kib)
    rows = [
        ("press round trip, median (µs)", f"{c['median_us']:.0f}", f"{f['median_us']:.0f}",
         f"{c['median_us'] / f['median_us']:.2f}", "≤ 2"),
        ("press round trip, 99th percentile (µs)", f"{c['p99_us']:.0f}", f"{f['p99_us']:.0f}",
         f"{c['p99_us'] / f['p99_us']:.2f}", "≤ 3"),
        ("start-up to first full frame, median of 10 (ms)", f"{cm:.0f}", f"{mm:.0f}", f"{cm / mm:.2f}", "≤ 1.5"),
        ("peak resident memory at start-up (MiB)", f"{ck / 1024:.1f}", f"{mk / 1024:.1f}", f"{ck / mk:.2f}", "≤ 1.5"),
        ("resident memory after 1,000 / 10,000 presses (MiB)", f"{rss1 / 1024:.1f} / {rss10 / 1024:.1f}", "",
         f"+{(rss10 - rss1) / 1024:.2f} MiB", "≤ +1 MiB"),
    ]
    print(f"{int(figures['signs'])} sign buttons pressed in turn; 5,000 timed presses, 10,000 in all\n")
    print("| measure | client | floor | ratio | target |")
    print("|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
