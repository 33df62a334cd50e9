#!/usr/bin/env bash
# Read rate of the program's web client against curl, both reading a 1 MiB reply framed by
# Content-Length and a 1 MiB chunked reply from the same loopback server, in the same run.
#
#   scripts/bench-http.sh [BUILD_DIR] [ROUNDS] [GETS]        (defaults: build, 5, 20)
#
# Starts a small python3 HTTP/1.1 server on a free port of 127.0.0.1 serving /length (1 MiB with a
# Content-Length) and /chunked (1 MiB in 16 KiB chunks); every reply closes its connection. Each round
# times one whole `curl -s` process reading the reply GETS times and one whole kestrune-http-rate
# process doing the same, alternating which goes first. Rate = MiB read / wall-clock seconds of the
# process. Prints every round, the median of each and the ratio of the medians (client / curl).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-5}
gets=${3:-20}
for program in curl python3; do
    command -v "$program" >/dev/null || { echo "bench-http: $program is not installed" >&2; exit 1; }
done
tool=$build/bench/kestrune-http-rate
[[ -x $tool ]] || cmake --build "$build" --target kestrune-http-rate >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-bench-http.XXXXXX")
server_pid=
cleanup() {
    if [[ -n $server_pid ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/server.py" <<'PY'
import http.server, socketserver, sys
BODY = bytes(range(256)) * 4096  # 1 MiB
class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def log_message(self, *args):
        pass
    def do_GET(self):
        self.close_connection = True
        self.send_response(200)
        self.send_header("Connection", "close")
        if self.path.startswith("/chunked"):
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for i in range(0, len(BODY), 16384):
                piece = BODY[i:i + 16384]
                self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
            self.wfile.write(b"0\r\n\r\n")
        else:
            self.send_header("Content-Length", str(len(BODY)))
            self.end_headers()
            self.wfile.write(BODY)
class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
PY
python3 "$work/server.py" >"$work/port" &
server_pid=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(cat "$work/port")

seconds_of() { # runs the command, prints its wall-clock seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for path in /length /chunked; do
    url="http://127.0.0.1:$port$path?[1-$gets]"
    : >"$work/curl" && : >"$work/client"
    for round in $(seq "$rounds"); do
        if ((round % 2)); then
            c=$(seconds_of curl -s "$url")
            k=$(seconds_of "$tool" 127.0.0.1 "$port" "$path" "$gets")
        else
            k=$(seconds_of "$tool" 127.0.0.1 "$port" "$path" "$gets")
            c=$(seconds_of curl -s "$url")
        fi
        cr=$(awk -v n="$gets" -v t="$c" 'BEGIN { print n / t }')
        kr=$(awk -v n="$gets" -v t="$k" 'BEGIN { print n / t }')
        printf '%-9s round %d: curl %7.1f MiB/s   client %7.1f MiB/s\n' "$path" "$round" "$cr" "$kr"
        echo "$cr" >>"$work/curl"
        echo "$kr" >>"$work/client"
    done
    cm=$(median <"$work/curl")
    km=$(median <"$work/client")
    printf '%-9s median: curl %.1f MiB/s, client %.1f MiB/s, ratio client/curl %.2f\n' "$path" "$cm" "$km" \
        "$(awk -v a="$km" -v b="$cm" 'BEGIN { print a / b }')"
done
