"""A private desktop for the accessibility tests: an X display (Xvfb), a D-Bus session and its
accessibility bus, and the programs started on them, each ended by its process id.

Nothing here touches the machine's own display, buses or settings: the tests get a throw-away
HOME and in-memory GSettings. A part that cannot start raises DesktopError with the reason, so
the test fails saying what is missing instead of being skipped.
"""

import os
import signal
import shutil
import subprocess
import tempfile
import time

# Generous: the tests share a loaded 2-core machine with other builds.
START_TIMEOUT = 60.0


class DesktopError(RuntimeError):
    pass


def wait_for(condition, timeout, what, interval=0.1):
    """Polls condition() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise DesktopError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def _required(program):
    path = shutil.which(program) or (program if os.access(program, os.X_OK) else None)
    if path is None:
        raise DesktopError("%s is missing; scripts/install-deps.sh installs it" % program)
    return path


class Desktop:
    """Use as a context manager; every process it started is ended on leaving it."""

    def __init__(self):
        self._processes = []
        self.home = tempfile.mkdtemp(prefix="tervanel-a11y-")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_CACHE_HOME": os.path.join(self.home, "cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.home, "runtime"),
            "GSETTINGS_BACKEND": "memory",
            "LANG": "C.UTF-8",
            "NO_AT_BRIDGE": "0",
        }
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)

    def __enter__(self):
        try:
            self._start_display()
            self._start_session_bus()
            self._start_accessibility_bus()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self, args, extra_env=None, **popen):
        """Starts a program in its own process group, on this desktop's display and buses."""
        env = dict(self.env, **(extra_env or {}))
        process = subprocess.Popen(args, env=env, start_new_session=True, **popen)
        self._processes.append(process)
        return process

    def stop(self, process, sig=signal.SIGTERM):
        """Ends a process this desktop started, and what it started in its group, by its id."""
        if process.poll() is None:
            try:
                os.killpg(process.pid, sig)
            except ProcessLookupError:
                pass
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        # Helpers left in its group (a bus it spawned) go too.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        if process in self._processes:
            self._processes.remove(process)

    def close(self):
        for process in reversed(list(self._processes)):
            self.stop(process)
        shutil.rmtree(self.home, ignore_errors=True)

    def _start_display(self):
        xvfb = _required("Xvfb")
        read_end, write_end = os.pipe()
        process = self.start(
            [xvfb, "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = self._read_line(read_end, process, "Xvfb to report its display")
        self.env["DISPLAY"] = ":" + number

    def _start_session_bus(self):
        dbus = _required("dbus-daemon")
        read_end, write_end = os.pipe()
        process = self.start(
            [dbus, "--session", "--nofork", "--nosyslog", "--print-address=%d" % write_end],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._read_line(
            read_end, process, "the D-Bus session bus to report its address")

    def _start_accessibility_bus(self):
        launcher = _required("/usr/libexec/at-spi-bus-launcher")
        self.start([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
        # Asked only once the launcher owns its name, so that D-Bus never starts a second one.
        wait_for(lambda: self._bus_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                        "org.freedesktop.DBus.NameHasOwner",
                                        "string:org.a11y.Bus") == "true",
                 START_TIMEOUT, "the accessibility bus launcher")
        address = wait_for(lambda: self._bus_call("org.a11y.Bus", "/org/a11y/bus",
                                                  "org.a11y.Bus.GetAddress"),
                           START_TIMEOUT, "the accessibility bus address")
        # Kept out of the environment: a program must find the bus, and whether an assistive
        # tool is listening, through the session bus as it does on a desktop.
        self.accessibility_bus = address

    def _bus_call(self, destination, path, method, *args):
        reply = subprocess.run(
            ["dbus-send", "--session", "--print-reply=literal", "--dest=" + destination, path,
             method, *args],
            env=self.env, capture_output=True, text=True, timeout=START_TIMEOUT)
        if reply.returncode != 0:
            return None
        words = reply.stdout.split()
        return words[-1] if words else None

    @staticmethod
    def _read_line(fd, process, what):
        with os.fdopen(fd) as stream:
            line = stream.readline().strip()
        if not line:
            raise DesktopError("%s failed (exit status %s)" % (what, process.poll()))
        return line
