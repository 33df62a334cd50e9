# The soak's driver (started by scripts/soak.sh inside its namespace): scripts the stand-in, watches
# the program, kills it at random moments and prints the table of checks.
import ctypes, os, random, re, signal, socket, subprocess, sys, time

work, build, minutes = os.environ["SOAK_WORK"], os.environ["SOAK_BUILD"], float(os.environ["SOAK_MINUTES"])
app_dir, log_dir = f"{work}/app", f"{work}/eventlog"
ini = f"{app_dir}/kestrune.ini"
WAN, RATE_IN, RATE_OUT = 4, 200000, 30000  # the stand-in's ppp1 and its default rates (bytes/s)
# A wrap is real traffic through the top of the counter: the rate goes up until the counter has passed
# it. At this rate one quota poll (a minute) sees less than 2^32 bytes, so every wrap is plain to see.
RATE_FAST = 40000000
rows = []  # (check, result, detail)


def ctl(command):
    c = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    c.settimeout(5)
    c.connect(f"{work}/router.sock")
    c.sendall(command.encode() + b"\n")
    answer = c.makefile().readline().strip()
    c.close()
    return answer


def in_octets():
    return int(ctl(f"get 1.3.6.1.2.1.2.2.1.10.{WAN}").split()[-1])


SETTINGS = f"""[System Info Settings]
IP=192.168.0.1
Community=quorbex
[Options]
Link logging=1
Link check=1
Autoreconnect=Yes
Eventlog auto-transfer=1
Transfer interval=1
Router uptime=1
Uptime update=1
Quota monitor=1
Quota update=1
Interfaces autoupdate=1
Interfaces update=5
Telnet on startup=Enabled
[EventLog]
Directory={log_dir}/
[Quota]
Data=DownloadOnly
GBQuota=10
MBUsed=0
Reset day=0
"""


EVENTLOG_HOUR_SECONDS = 75  # "Every hour" lasts this long in the soak; file names change each minute


def start_program():
    env = dict(os.environ, KESTRUNE_EVENTLOG_HOUR_SECONDS=str(EVENTLOG_HOUR_SECONDS))
    return subprocess.Popen([f"{build}/kestrune"], cwd=app_dir, env=env, stdout=subprocess.DEVNULL,
                            stderr=open(f"{work}/kestrune.err", "ab"))


def generated_event_log(size):
    """The stand-in's event log of `size` bytes, as it generates it."""
    events = ["ADSL line up: G.DMT 8000/800 kbps", "PPP link up, WAN address assigned", "DHCP lease granted on LAN",
              "PPP LCP echo timeout, link down", "Administrator logged on via telnet"]
    lines, total, n = [], 0, 0
    while total < size:
        line = f"{n // 86400:03d} {n // 3600 % 24:02d}:{n // 60 % 60:02d}:{n % 60:02d}  {events[n % 5]}\r\n"
        lines.append(line)
        total += len(line)
        n += 1
    return "".join(lines).encode()[:size]


def proc_figures(pid):
    status = open(f"/proc/{pid}/status").read()
    rss = int(re.search(r"VmRSS:\s+(\d+)", status).group(1))
    threads = int(re.search(r"Threads:\s+(\d+)", status).group(1))
    return rss, len(os.listdir(f"/proc/{pid}/fd")), threads


def polls():
    return int(ctl("stats").split()[2])


# ---- asking the window to close, as a window manager does (WM_DELETE_WINDOW) ----------------------
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


def visible_windows(pid, title):
    return subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", title],
                          capture_output=True, text=True).stdout.split()


def request_close(pid, title):
    found = visible_windows(pid, title)
    if not found:
        return False
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    d = x.XOpenDisplay(None)
    for w in found:
        e = ClientMessage(type=33, window=int(w), format=32)  # ClientMessage
        e.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
        e.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
        x.XSendEvent(d, int(w), 0, 0, ctypes.byref(e))
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XFlush(d)
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay(d)
    return True


def close_main_window(pid, seconds=20):
    """Asks the main window to close once it takes a close (the modal splash holds it back until the
    start-up job is over). False when it never did within `seconds`."""
    for _ in range(seconds * 10):
        if not visible_windows(pid, "Splash") and request_close(pid, "^Kestrune Utility$"):
            return True
        time.sleep(0.1)
    return False


def ini_keys(text):
    keys, section = set(), None
    for line in text.splitlines():
        if line.startswith("["):
            section = line.strip()
        elif "=" in line:
            keys.add((section, line.split("=", 1)[0]))
    return keys


def ini_value(text, section, key):
    current = None
    for line in text.splitlines():
        if line.startswith("["):
            current = line.strip()[1:-1]
        elif current == section and line.startswith(key + "="):
            return line.split("=", 1)[1]
    return None


# ---- the run ----------------------------------------------------------------------------------------
open(ini, "w").write(SETTINGS)
ctl("tftpupload port 69")
ctl("dial off")  # the link moves only when the driver moves it, so the log can be checked line by line
ctl("version 1.2.0.2\\r\\n17/03/2005\\r\\n")
# The program takes its first reading just below the top, and the counter wraps 45 s later.
ctl(f"octets {WAN} {(1 << 32) - RATE_IN * 45} 0")
app = start_program()
duration = minutes * 60
warm_up = min(30.0, duration / 4)
t0 = time.time()
alive = True
link_changes, traffic, wraps = [], 0, 0
last = in_octets()
figures = {}
done_actions = []  # (seconds into the run, action), shown when a check fails
fast_since = None


counted_at = []  # (time, traffic counted so far), one a second
lost_at_most = 0  # what restarts may have taken from the program: the traffic of the poll before each


def count_traffic():
    global last, traffic, wraps
    now = in_octets()
    if now < last:
        wraps += 1
    traffic += now - last if now >= last else now + (1 << 32) - last
    last = now
    counted_at.append((time.time(), traffic))


def traffic_since(seconds_ago):
    since = time.time() - seconds_ago
    earlier = [c for t, c in counted_at if t <= since]
    return traffic - (earlier[-1] if earlier else 0)


actions = ["link down", "link up", "restart", "wrap", "telnet slow 3000", "telnet silent on", "telnet normal",
           "version", "event log size", "event log stalls", "event log normal"]
log_sizes = {3000}  # the stand-in's event log starts at 3000 bytes
HINDERING = ("telnet slow 3000", "telnet silent on", "event log stalls")
hindered = False


def clear_window():
    """Every second transfer is let through: nothing hinders it from 10 s before to 25 s after."""
    phase = (time.time() - t0) % (2 * EVENTLOG_HOUR_SECONDS)
    return EVENTLOG_HOUR_SECONDS - 10 <= phase <= EVENTLOG_HOUR_SECONDS + 25


def unhinder():
    ctl("telnet slow 0")
    ctl("telnet silent off")
    ctl("tftpupload mode normal")


next_action = t0 + 5
while time.time() - t0 < duration:
    time.sleep(1)
    if app.poll() is not None:
        alive = False
        break
    count_traffic()
    if hindered and clear_window():
        unhinder()
        hindered = False
    if "warm" not in figures and time.time() - t0 >= warm_up:
        figures["warm"] = proc_figures(app.pid) + (polls(),)
    if time.time() >= next_action:
        what = random.choice(actions)
        if what == "wrap" and (fast_since is not None or duration - (time.time() - t0) < 240):
            what = "version"  # a wrap needs up to two minutes and a quiet poll before the close
        if what == "restart" and (fast_since is not None or (wraps == 0 and time.time() - t0 < 60)):
            what = "version"  # no restart before the first wrap, nor one losing a fast poll's traffic
        if what in HINDERING:
            if clear_window():
                what = "version"
            else:
                hindered = True
        if what in ("link down", "link up"):
            ctl(what)
            if (link_changes[-1] if link_changes else "link up") != what:
                link_changes.append(what)
        elif what == "restart":
            count_traffic()
            lost_at_most += traffic_since(62)  # the program polls the quota once a minute
            ctl("restart")
            last = in_octets()
        elif what == "wrap":
            ctl(f"traffic {WAN} {RATE_FAST} {RATE_OUT}")
            fast_since, wraps_before = time.time(), wraps
        elif what == "telnet normal":
            ctl("telnet slow 0")
            ctl("telnet silent off")
        elif what == "event log size":
            size = random.choice([1, 511, 512, 513, random.randint(1000, 400000)])
            ctl(f"tftpupload size {size}")
            log_sizes.add(size)
        elif what == "event log stalls":
            ctl("tftpupload mode oneblock")
        elif what == "event log normal":
            ctl("tftpupload mode normal")
        elif what == "version":
            ctl(f"version 1.2.0.{random.randint(1, 9)}\\r\\n17/03/2005\\r\\n")
        else:
            ctl(what)
        done_actions.append((round(time.time() - t0), what))
        next_action = time.time() + random.uniform(5, 15)
    if fast_since is not None and (wraps > wraps_before or time.time() - fast_since > 150):
        ctl(f"traffic {WAN} {RATE_IN} {RATE_OUT}")
        fast_since = None
if alive:
    figures["end"] = proc_figures(app.pid) + (polls(),)
rows.append(("program alive through the run", "ok" if alive else "FAILED",
             f"{duration:.0f} s, exit status {app.returncode}" if not alive else f"{duration:.0f} s"))
if alive and "warm" in figures:
    (r0, f0, t0_, p0), (r1, f1, t1, p1) = figures["warm"], figures["end"]
    k = max(p1 - p0, 1) / 1000
    # Noise: a megabyte or two over a short run, whatever the number of polls.
    rows.append(("RSS KiB warm-up / end (growth per 1000 polls)", "ok" if r1 - r0 < 2048 or (r1 - r0) / k < 1024 else "FAILED",
                 f"{r0} / {r1} ({(r1 - r0) / k:+.0f})"))
    rows.append(("open fds warm-up / end (growth per 1000 polls)", "ok" if f1 - f0 <= 2 else "FAILED",
                 f"{f0} / {f1} ({(f1 - f0) / k:+.1f})"))
    rows.append(("threads warm-up / end", "ok" if t1 - t0_ <= 2 else "FAILED", f"{t0_} / {t1}, {p1 - p0} polls"))

# The link ends up, and the program is given time to log that; the close request then writes the
# settings first, and MBUsed holds the quota used.
if link_changes and link_changes[-1] == "link down":
    ctl("link up")
    link_changes.append("link up")
    time.sleep(3)
count_traffic()
used_mb = None
before = os.stat(ini).st_mtime_ns
if alive and close_main_window(app.pid):
    for _ in range(50):
        time.sleep(0.2)
        if os.stat(ini).st_mtime_ns != before:
            time.sleep(0.2)
            text = open(ini).read()
            used_mb = float((ini_value(text, "Quota", "MBUsed") or "nan").replace(",", "."))
            break
# Then "Yes" to the close, "Yes" to saving the connection log, and the save dialog's proposed name.
for pause in (0.5, 1.0, 1.5):
    if app.poll() is None:
        subprocess.run(["xdotool", "key", "Return"])
        time.sleep(pause)
try:
    app.wait(timeout=5)
except subprocess.TimeoutExpired:
    app.kill()
    app.wait()
if used_mb is None:
    rows.append(("quota used vs traffic counted", "FAILED" if alive else "n/a", "the close request wrote no settings"))
else:
    # A restart resets the counters: what came between the program's last poll and the restart is
    # gone for it, at most the traffic of the minute before. Nothing else may be missing, nothing added.
    counted = traffic / 1048576
    restarts = sum(1 for _, a in done_actions if a == "restart")
    lowest = counted - lost_at_most / 1048576 - 1
    rows.append(("quota used vs traffic counted (MB)", "ok" if lowest <= used_mb <= counted + 1 else "FAILED",
                 f"{used_mb:.1f} vs {counted:.1f}, at least {max(lowest, 0):.1f} (each of {restarts} restarts "
                 f"may take the minute before it), {wraps} wraps"))
saved = f"{app_dir}/kestrune_connection.log"
expected_log = ["Disconnected" if c == "link down" else "Reconnected" for c in link_changes]
if os.path.exists(saved):
    logged = [l.split(":")[0] for l in open(saved, errors="replace").read().splitlines()
              if l.startswith(("Disconnected:", "Reconnected:"))]
    os.remove(saved)
    rows.append(("connection-log lines vs link changes", "ok" if logged == expected_log else "FAILED",
                 f"{len(logged)} lines for {len(expected_log)} changes" +
                 ("" if logged == expected_log else f": {logged} vs {expected_log}")))
elif not expected_log:
    rows.append(("connection-log lines vs link changes", "ok", "no link change, no log to save"))
else:
    rows.append(("connection-log lines vs link changes", "FAILED" if alive else "n/a",
                 f"{len(expected_log)} changes made, no connection log saved at the close"))
files = sorted(os.listdir(log_dir))
wanted = {size: generated_event_log(size) for size in log_sizes}
broken = [f for f in files if f.startswith(".") or open(f"{log_dir}/{f}", "rb").read() not in wanted.values()]
transfers = int(duration // EVENTLOG_HOUR_SECONDS)
let_through = int((duration - EVENTLOG_HOUR_SECONDS - 20) // (2 * EVENTLOG_HOUR_SECONDS)) + 1
rows.append(("event-log files whole, none half-written",
             "ok" if not broken and (files or let_through <= 0) else "FAILED",
             f"{len(files)} of {transfers} transfers stored ({let_through} let through), "
             f"{len(log_sizes)} sizes offered"
             + (f", not whole: {broken}" if broken else "")))

# ---- kill -9 at random moments, some during the close -------------------------------------------
# A kill during a write may leave its temporary file behind; the next write that reaches the
# rename must have removed it, and one last clean write leaves nothing beside the settings.
expected = ini_keys(SETTINGS)
bad, left_by_kills, not_removed, previous = [], set(), set(), set()


def leftovers_now():
    return set(os.listdir(app_dir)) - {"kestrune.ini"}


def mtime(path):
    return os.stat(path).st_mtime_ns if os.path.exists(path) else None


ctl("telnet slow 0")
ctl("telnet silent off")
rounds = 20
for n in range(rounds):
    before = mtime(ini)
    app = start_program()
    if n % 3 == 0 and close_main_window(app.pid):
        time.sleep(random.uniform(0, 0.05))
    else:
        time.sleep(random.uniform(1.5, 4))
    app.send_signal(signal.SIGKILL)
    app.wait()
    now = leftovers_now()
    if mtime(ini) != before:
        not_removed |= previous & now
    left_by_kills |= now - previous
    previous = now
    text = open(ini).read() if os.path.exists(ini) else ""
    if not expected <= ini_keys(text):
        bad.append(n)
        open(ini, "w").write(SETTINGS)
before = mtime(ini)
app = start_program()
wrote = False
if close_main_window(app.pid):
    for _ in range(50):
        time.sleep(0.2)
        if mtime(ini) != before:
            wrote = True
            break
app.send_signal(signal.SIGKILL)
app.wait()
remaining = leftovers_now()
rows.append((f"settings file whole after kill -9 ({rounds}, every third during the close)",
             "ok" if not bad else "FAILED", f"broken after rounds {bad}"))
rows.append(("no temporary file left beside the settings",
             "ok" if wrote and not not_removed and not remaining else "FAILED",
             f"{len(left_by_kills)} left by kills during a write, "
             + ("each removed by the next write" if not not_removed else f"kept by a later write: {sorted(not_removed)}")
             + ("" if wrote else "; the last close wrote no settings")
             + (f"; after the last write: {sorted(remaining)}" if remaining else "")))

width = max(len(r[0]) for r in rows)
print(f"\nsoak of {minutes:g} min")
for check, result, detail in rows:
    print(f"  {check:<{width}}  {result:<9}  {detail}")
failed = any(r[1] == "FAILED" for r in rows)
if failed:
    print("  what the stand-in was made to do (seconds into the run):")
    print("  " + ", ".join(f"{t} {a}" for t, a in done_actions))
sys.exit(1 if failed else 0)
