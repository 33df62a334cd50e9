#!/usr/bin/env bash
# The router stand-in's resident memory stays flat under a flood of malformed and oversized SNMP
# datagrams and a megabyte-long control line (which it refuses, closing that connection).
set -euo pipefail
# Resident memory means nothing under the sanitizers (their quarantine grows it), and a sanitized
# stand-in is far too slow for the flood: the normal build runs this check.
if [[ ${KESTRUNE_SANITIZED:-0} == 1 ]]; then
    echo "skipped in a sanitizer build"
    exit 77
fi
build=${KESTRUNE_BUILD_DIR:?KESTRUNE_BUILD_DIR is not set}
simbin=$build/kestrune-router-sim
[[ -x $simbin ]] || { echo "missing $simbin" >&2; exit 1; }
dir=$(mktemp -d)
sock=$dir/router.sock
"$simbin" --snmp 127.0.0.1:0 --control "$sock" >"$dir/sim.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$dir"' EXIT
for _ in $(seq 50); do [[ -S $sock ]] && break; sleep 0.1; done
port=$("$simbin" ctl "$sock" port | cut -d' ' -f2)

python3 - "$pid" "$port" "$sock" <<'PY'
import socket, sys, time
pid, port, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]

def rss_kib():
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])

def length(n):
    if n < 0x80: return bytes([n])
    b = n.to_bytes((n.bit_length() + 7) // 8, "big")
    return bytes([0x80 | len(b)]) + b

def tlv(tag, content): return bytes([tag]) + length(len(content)) + content

# A decodable request with an unknown community and about 60 KB of names: the agent stays silent
# but logs it, so it tests the logs' bounds.
names = b"".join(tlv(0x30, tlv(0x06, bytes([0x2b, 6, 1, 2, 1, 1, 5, i % 128, 1, 2, 3, 4])) + b"\x05\x00")
                 for i in range(3500))
big = tlv(0x30, tlv(0x02, b"\x00") + tlv(0x04, b"intruder") +
          tlv(0xa0, tlv(0x02, b"\x01") + tlv(0x02, b"\x00") + tlv(0x02, b"\x00") + tlv(0x30, names)))
junk = bytes((i * 37) & 0xff | 0x80 for i in range(1400))
udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)

def control(command):
    c = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    c.connect(path); c.sendall(command + b"\n"); answer = c.recv(200); c.close()
    return answer.decode()

def received():
    return int(control(b"stats").split()[2])

def flood(n):
    # Until n more datagrams reached the agent (the kernel drops some of a burst).
    target = received() + n
    i = 0
    while (got := received()) < target:
        for _ in range(min(8, target - got)):
            udp.sendto(big if i % 2 else junk, ("127.0.0.1", port))
            i += 1
        time.sleep(0.001)

flood(3000)  # warm-up: the logs reach their bounds
before = rss_kib()
flood(10000)
c = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
c.connect(path)
try:
    c.sendall(b"x" * (1 << 20) + b"\n")
except OSError:
    pass  # the stand-in closed the connection while the line was still coming
answer = b""
try:
    while True:
        got = c.recv(4096)
        if not got: break
        answer += got
except OSError:
    pass
control(b"ping")
after = rss_kib()
print(f"stand-in RSS after warm-up {before} KiB, after 10000 more datagrams and a 1 MiB control line {after} KiB")
if not answer.startswith(b"error line too long"):
    sys.exit(f"the long control line was answered {answer[:60]!r}")
if after - before > 8 * 1024:
    sys.exit(f"the stand-in grew by {after - before} KiB")
PY
