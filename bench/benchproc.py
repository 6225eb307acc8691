"""What the process benchmarks share: a simulated line as its own process (with its
request counter), /proc readings of a process, free loopback ports, and the exchange
time the line's wire allows."""
import os
import re
import socket
import subprocess
import time

TURNAROUND_MS = 3.0
REPLY_CHARS = 91


def line_limit(baud):
    """Exchanges per second the wire allows: the turnaround and a read reply's characters."""
    return 1000.0 / (TURNAROUND_MS + REPLY_CHARS * 10000.0 / baud)


def counts(pid):
    """(read system calls, CPU seconds, context switches of every thread) of a process."""
    with open(f"/proc/{pid}/io") as f:
        syscr = int(re.search(r"syscr:\s*(\d+)", f.read()).group(1))
    switches = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if "ctxt_switches" in line:
                        switches += int(line.split()[-1])
        except OSError:
            pass
    return syscr, cpu_seconds(pid), switches


def cpu_seconds(pid):
    """Time a process has run on a processor so far, to the nanosecond: its live threads'
    scheduler counts. The clock ticks of /proc/PID/stat (10 ms) are too coarse for a reader
    that runs a millisecond a second; they stand in where the kernel keeps no such count."""
    total, seen = 0, False
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
                    seen = True
            except OSError:
                pass  # a thread that ended between the listing and the read
    except OSError:
        pass
    if seen:
        return total / 1e9
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Simulator:
    """rdx410-sim serving one line on a pseudo-terminal published at `link`."""

    def __init__(self, build, link, blocks, baud, delivery="char"):
        self.link = link
        self.proc = subprocess.Popen(
            [os.path.join(build, "sim/rdx410-sim"), "--link", link, "--control", "-",
             "--blocks", blocks, "--baud", str(baud), "--delivery", delivery],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.proc.stdout.readline()  # "serving on ..."

    def requests(self):
        self.proc.stdin.write("stats\n")
        self.proc.stdin.flush()
        while True:
            line = self.proc.stdout.readline()
            if line.startswith("ok: "):
                m = re.search(r"\brequests=(\d+)", line)
                return int(m.group(1)) if m else 0

    def stop(self):
        try:
            self.proc.stdin.write("quit\n")
            self.proc.stdin.flush()
            self.proc.wait(10)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()


class Gateway:
    """rdx410-gateway with a settings store and program folder of its own under `home`,
    on the line at `link`; its standard error goes to home/stderr."""

    def __init__(self, build, home, link, baud, options):
        os.makedirs(home, exist_ok=True)
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"), RDX410_MONITOR_HOME=home)
        self.log = os.path.join(home, "stderr")
        with open(self.log, "w") as err:
            self.proc = subprocess.Popen(
                [os.path.join(build, "gateway/rdx410-gateway"), "--port", link, "--speed", str(baud), *options],
                env=env, stdout=subprocess.DEVNULL, stderr=err)

    def started(self):
        """Whether its start-up read has ended (polling has begun)."""
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return "監視を始めます" in f.read()


def wait_started(gateways, seconds):
    """Until every gateway has ended its start-up read; an error when one ends or time runs out."""
    deadline = time.time() + seconds
    while not all(g.started() for g in gateways):
        late = sum(not g.started() for g in gateways)
        if time.time() > deadline or any(g.proc.poll() is not None for g in gateways):
            raise RuntimeError(f"{late} of {len(gateways)} gateways did not end their start-up read")
        time.sleep(1)


def stop(proc, seconds=10):
    """SIGTERM, then SIGKILL if it does not end in time."""
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(seconds)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
