#!/bin/sh
# Start-up time of the window program against update servers that misbehave,
# next to the same start with the server down: the window must come up as
# fast whatever the server does. Each server runs on 127.0.0.1, started here:
#   down     nothing listens on the port
#   hung     accepts the connection and never answers
#   trickle  answers one byte every half second
#   dropped  never accepts: its queue is full, so connection requests are dropped
#   html     answers every request at once with an HTML page (status 200)
# Each figure is startup_bench.sh's: process start to window shown, and the
# exit, which drops the download still running.
# Usage: startup_server_bench.sh [build/bin/wormgear_startup_probe] [runs]
set -eu
here=$(dirname "$0")
program=${1:-build/bin/wormgear_startup_probe}
runs=${2:-20}
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Starts one kind of server and waits until it listens; its port is then in
# $work/KIND.port.
start_server() {
    /usr/bin/python3 - "$1" "$work/$1.port" >/dev/null 2>&1 <<'EOF' &
import socket, sys, threading, time

kind, port_file = sys.argv[1], sys.argv[2]
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(0 if kind == "dropped" else 64)
port = listener.getsockname()[1]
held = []
if kind == "dropped":
    # Fill the accept queue once; later connection requests are dropped.
    for _ in range(2):
        filler = socket.socket()
        filler.setblocking(False)
        filler.connect_ex(("127.0.0.1", port))
        held.append(filler)
    time.sleep(0.2)
with open(port_file + ".tmp", "w") as f:
    f.write(str(port))
import os
os.replace(port_file + ".tmp", port_file)

def serve(connection):
    try:
        connection.recv(65536)
        if kind == "hung":
            held.append(connection)
            return
        if kind == "trickle":
            for byte in b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 3\r\n\r\n7.9":
                connection.sendall(bytes([byte]))
                time.sleep(0.5)
        if kind == "html":
            page = b"<!DOCTYPE html>\n<html><body>Welcome</body></html>\n"
            connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                               + str(len(page)).encode() + b"\r\n\r\n" + page)
        connection.close()
    except OSError:
        pass

while True:
    if kind == "dropped":
        time.sleep(3600)
    connection, _ = listener.accept()
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
EOF
    pids="$pids $!"
    while [ ! -s "$work/$1.port" ]; do sleep 0.05; done
}

# A port where nothing listens: bound for a moment, then closed.
down_port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

median() { sed -n 's/.*median \([0-9.]*\) ms.*/\1/p'; }

printf '%-8s %s\n' server "start-up to window shown"
base=""
for kind in down hung trickle dropped html; do
    if [ "$kind" = down ]; then
        port=$down_port
    else
        start_server "$kind"
        port=$(cat "$work/$kind.port")
    fi
    line=$(WORMGEAR_SERVER="http://127.0.0.1:$port" "$here/startup_bench.sh" "$program" "$runs")
    m=$(echo "$line" | median)
    [ -n "$base" ] || base=$m
    printf '%-8s %s (median %+.1f ms against down)\n' "$kind" "${line#start-up over }" \
        "$(echo "$m $base" | awk '{ print $1 - $2 }')"
done
