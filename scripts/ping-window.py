#!/usr/bin/python3
"""Measures how fast a window answers the desktop's liveness ping (_NET_WM_PING), as a desktop does to
grey out a window that is "not responding".

    scripts/ping-window.py TITLE [SECONDS] [INTERVAL_MS]     (defaults: 10 s, every 100 ms)

Finds the mapped top-level window whose _NET_WM_NAME or WM_NAME is TITLE and that takes the ping, on
$DISPLAY, sends it a ping every
INTERVAL_MS for SECONDS, and prints the slowest answer, the median and the pings never answered within
2 s. Needs python3-xlib. Exit status 1 when the slowest answer took longer than 300 ms.
"""
import select
import statistics
import sys
import time

from Xlib import X, display
from Xlib.protocol import event


def find_window(d, title):
    root = d.screen().root
    name_atom = d.intern_atom("_NET_WM_NAME")
    utf8 = d.intern_atom("UTF8_STRING")

    ping = d.intern_atom("_NET_WM_PING")

    def walk(w):
        try:
            prop = w.get_full_property(name_atom, utf8)
            name = prop.value.decode("utf-8", "replace") if prop else w.get_wm_name()
            if (name == title and w.get_attributes().map_state == X.IsViewable
                    and ping in (w.get_wm_protocols() or [])):
                return w
            for child in w.query_tree().children:
                found = walk(child)
                if found:
                    return found
        except Exception:
            return None
        return None

    return walk(root)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    title = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    interval = (float(sys.argv[3]) if len(sys.argv) > 3 else 100.0) / 1000.0
    d = display.Display()
    window = None
    for _ in range(100):
        window = find_window(d, title)
        if window:
            break
        time.sleep(0.1)
    if not window:
        sys.exit(f"no window titled {title!r}")
    protocols = d.intern_atom("WM_PROTOCOLS")
    ping = d.intern_atom("_NET_WM_PING")
    root = d.screen().root
    # The answer is the same message sent back to the root window.
    root.change_attributes(event_mask=X.SubstructureNotifyMask | X.SubstructureRedirectMask)
    sent = {}
    answers = []
    stamp = 1
    end = time.monotonic() + seconds
    next_ping = time.monotonic()
    while time.monotonic() < end or (sent and time.monotonic() < end + 2):
        now = time.monotonic()
        if now >= next_ping and now < end:
            message = event.ClientMessage(window=window, client_type=protocols,
                                          data=(32, [ping, stamp, window.id, 0, 0]))
            window.send_event(message, event_mask=X.NoEventMask)
            d.flush()
            sent[stamp] = now
            stamp += 1
            next_ping = now + interval
        readable, _, _ = select.select([d.fileno()], [], [], 0.01)
        while d.pending_events():
            e = d.next_event()
            if e.type == X.ClientMessage and e.client_type == protocols and e.data[1][0] == ping:
                s = e.data[1][1]
                if s in sent:
                    answers.append((time.monotonic() - sent.pop(s)) * 1000.0)
    lost = len(sent)
    if not answers:
        sys.exit(f"no ping answered ({lost} sent)")
    slowest = max(answers)
    print(f"pings answered: {len(answers)}, unanswered within 2 s: {lost}")
    print(f"answer time: median {statistics.median(answers):.1f} ms, slowest {slowest:.1f} ms")
    return 1 if slowest > 300 or lost else 0


if __name__ == "__main__":
    sys.exit(main())
