#!/usr/bin/python3
"""The private rooms that tools/soak and tools/try-out run the client in (a module, not a
command of its own): two network namespaces joined by a veth pair, the client's with a default
route over it, so that its broadcasts reach the stand-in editor in the other and nothing else.
Nothing is added to the host's network; everything is removed again when the rooms are closed,
and when the program ends by an exception or by SIGINT, SIGTERM or SIGHUP. Needs root.

    import rooms
    with rooms.Rooms("soak") as r:
        editor = r.start_editor(["--chaos", "5000"])
        display = r.start_xvfb(769, 816)
        client = r.start_client({"DISPLAY": display})
"""

import ctypes
import importlib.machinery
import importlib.util
import os
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLIENT_ADDRESS = "10.231.0.1"
EDITOR_ADDRESS = "10.231.0.2"
_CLONE_NEWNET = 0x40000000


def built(build, relative):
    """A program built with the project: BUILD/RELATIVE, or an error naming it."""
    path = os.path.join(build, relative)
    if not os.access(path, os.X_OK):
        sys.exit(f"{path} is not built; build the project first (cmake --build {build})")
    return path


class Rooms:
    """Two namespaces named after the role and this process, and the programs started in them;
    closing ends the programs, in the reverse order of their start, and removes the namespaces."""

    def __init__(self, role, build=os.path.join(ROOT, "build")):
        if os.geteuid() != 0:
            sys.exit("private network namespaces need root: run this with sudo")
        self.build = build
        pid = os.getpid()
        self.client_ns = f"qs-{role}-client-{pid}"
        self.editor_ns = f"qs-{role}-editor-{pid}"
        # Interface names may have 15 characters.
        self._client_end = f"qsc{pid}"[:15]
        self._editor_end = f"qse{pid}"[:15]
        self._processes = []
        self._namespaces = []
        self.home = tempfile.mkdtemp(prefix=f"qs-{role}-home-")
        self.editor = None
        self.client = None
        self._closed = False
        for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(number, self._on_signal)

    def __enter__(self):
        try:
            self._make_network()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exception):
        self.close()
        return False

    def _on_signal(self, number, frame):
        # The body of the with-statement ends by this exception, and the rooms are closed.
        raise KeyboardInterrupt(f"signal {number}")

    def _ip(self, *arguments):
        done = subprocess.run(["ip", *arguments], capture_output=True, text=True)
        if done.returncode != 0:
            raise RuntimeError(f"ip {' '.join(arguments)}: {done.stderr.strip()}")

    def _make_network(self):
        for ns in (self.client_ns, self.editor_ns):
            self._ip("netns", "add", ns)
            self._namespaces.append(ns)
            self._ip("-n", ns, "link", "set", "lo", "up")
        # The pair is made inside the client's namespace and its far end moved at once into the
        # editor's: neither end is ever on the host.
        self._ip("-n", self.client_ns, "link", "add", self._client_end, "type", "veth",
                 "peer", "name", self._editor_end, "netns", self.editor_ns)
        self._ip("-n", self.client_ns, "addr", "add", f"{CLIENT_ADDRESS}/24", "dev",
                 self._client_end)
        self._ip("-n", self.editor_ns, "addr", "add", f"{EDITOR_ADDRESS}/24", "dev",
                 self._editor_end)
        self._ip("-n", self.client_ns, "link", "set", self._client_end, "up")
        self._ip("-n", self.editor_ns, "link", "set", self._editor_end, "up")
        # The limited broadcast leaves by the route it finds: the veth.
        self._ip("-n", self.client_ns, "route", "add", "default", "dev", self._client_end)

    def start(self, ns, command, **popen):
        """A program in a namespace; `ip netns exec` becomes the program, so the process is the
        program itself and a signal to it reaches the program."""
        process = subprocess.Popen(["ip", "netns", "exec", ns, *command], **popen)
        self._processes.append(process)
        return process

    def start_editor(self, options=(), **popen):
        """The stand-in editor in its namespace, announcing its address on the veth."""
        editor = built(self.build, "tools/qs-editor/qs-editor")
        self.editor = self.start(self.editor_ns,
                                 [editor, "--announce", EDITOR_ADDRESS, *options], **popen)
        return self.editor

    def stop(self, process, timeout=10):
        """Ends a program started here: SIGTERM, then SIGKILL after TIMEOUT seconds."""
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if process in self._processes:
            self._processes.remove(process)

    def start_xvfb(self, width, height):
        """A virtual screen of its own inside the client's namespace (its display's abstract
        socket lives there); returns the display name."""
        read_end, write_end = os.pipe()
        self.start(self.client_ns,
                   ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                    f"{width}x{height}x24"],
                   pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        return f":{number}"

    def client_environment(self, extra=None):
        """The client's environment: its own home, so that its settings file is a fresh one."""
        environment = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_RUNTIME_DIR": self.home,
            "LANG": os.environ.get("LANG", "C.UTF-8"),
        }
        environment.update(extra or {})
        return environment

    def start_client(self, environment=None, wrap=(), **popen):
        """The real client in its namespace; WRAP, when given, is a command that starts it (a
        heap profiler, `env NAME=VALUE`), with the client's path and no arguments after it."""
        client = built(self.build, "qs-client")
        self.client_path = os.path.realpath(client)
        self.client = self.start(self.client_ns, [*wrap, client],
                                 env=self.client_environment(environment), **popen)
        return self.client

    def client_pid(self, timeout=20):
        """The pid of the client program itself: the process started, or, when a wrapper started
        it, the wrapper's descendant that runs the client."""
        deadline = time.monotonic() + timeout
        while True:
            found = _descendant_running(self.client.pid, self.client_path)
            if found is not None:
                return found
            if self.client.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("the client's process did not show up")
            time.sleep(0.05)

    def in_client_namespace(self, make):
        """What MAKE() returns, made inside the client's namespace (a socket made there stays
        there); this process itself goes back to its own network at once."""
        libc = ctypes.CDLL(None, use_errno=True)
        own = os.open("/proc/self/ns/net", os.O_RDONLY)
        target = os.open(f"/run/netns/{self.client_ns}", os.O_RDONLY)
        try:
            if libc.setns(target, _CLONE_NEWNET) != 0:
                raise OSError(ctypes.get_errno(), "setns into the client's namespace")
            try:
                return make()
            finally:
                if libc.setns(own, _CLONE_NEWNET) != 0:
                    # Never go on in the wrong network.
                    os._exit(3)
        finally:
            os.close(own)
            os.close(target)

    def close(self):
        if self._closed:
            return
        self._closed = True
        for process in reversed(list(self._processes)):
            self.stop(process, timeout=5)
        for ns in self._namespaces:
            subprocess.run(["ip", "netns", "del", ns], capture_output=True)
        self._namespaces.clear()
        subprocess.run(["rm", "-rf", "--", self.home])


def _descendant_running(pid, program):
    """PID or the first of its descendants whose executable is PROGRAM, or None."""
    waiting = [pid]
    while waiting:
        current = waiting.pop(0)
        try:
            if os.path.realpath(f"/proc/{current}/exe") == program:
                return current
            with open(f"/proc/{current}/task/{current}/children") as f:
                waiting += [int(child) for child in f.read().split()]
        except OSError:
            continue
    return None


def load_tuio_touch():
    """tools/tuio-touch as a module: its Fingers send TUIO frames."""
    path = os.path.join(ROOT, "tools", "tuio-touch")
    loader = importlib.machinery.SourceFileLoader("tuio_touch", path)
    spec = importlib.util.spec_from_loader("tuio_touch", loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


def wait_for(condition, seconds, step=0.05):
    """Whether CONDITION() came true within SECONDS."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(step)
    return condition()


if __name__ == "__main__":
    print(__doc__)
    sys.exit(0 if sys.argv[1:] in (["--help"], ["-h"]) else 2)
