#!/usr/bin/env bash
# A private PulseAudio server with a null sink, for the tests that need real sound on a
# machine without a sound card (CI, containers).
#
#   scripts/sound-server.sh start    start it (nothing to do when it already answers)
#   scripts/sound-server.sh stop     stop it (nothing to do when it is not running)
#   scripts/sound-server.sh status   exit 0 when it answers
#   scripts/sound-server.sh env      print the export line that points clients at it:
#                                    eval "$(scripts/sound-server.sh env)"
#
# Everything the server keeps (socket, pid file, state, log) lives in one folder,
# $MURMELIX_PULSE_DIR (default /tmp/murmelix-pulse), so several servers can run side by side
# and nothing is written to the home folder. Clients find it through PULSE_SERVER; ALSA's
# "pulse" device (libasound2-plugins) and, while the server answers, its "default" device
# (/etc/alsa/conf.d/99-pulse.conf from the pulseaudio package) lead PortAudio to it.
#
# The null sink works in blocks of up to 2 s until some client asks for low latency, so a
# stream that starts on an idle sink would wait that long for its first period and then get
# its periods in bursts. A small recorder on the sink's monitor that asks for 10 ms keeps
# the sink's latency low for as long as the server runs.
#
# The server asks for real-time priority (granted to root, refused quietly otherwise): when
# builds keep every core busy, a late server thread makes its clients run dry, which the
# tests would hear as gaps.
#
# Running as root is fine: the server only warns, because the socket is in a private folder
# and anonymous access is limited to that socket.
set -euo pipefail

dir="${MURMELIX_PULSE_DIR:-/tmp/murmelix-pulse}"
sink="${MURMELIX_PULSE_SINK:-murmelix_null}"
socket="$dir/native"

export PULSE_RUNTIME_PATH="$dir"
export PULSE_STATE_PATH="$dir/state"
export PULSE_SERVER="unix:$socket"

answers() {
    timeout 5 pactl info >/dev/null 2>&1
}

server_pid() {
    local pid
    pid=$(head -n 1 "$dir/pid" 2>/dev/null || true)
    if [[ "$pid" =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
        echo "$pid"
    fi
}

keeper_pid() {
    local pid
    pid=$(head -n 1 "$dir/keeper.pid" 2>/dev/null || true)
    if [[ "$pid" =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
        echo "$pid"
    fi
}

start_keeper() {
    if [ -n "$(keeper_pid)" ]; then
        return 0
    fi
    setsid pacat --record --latency-msec=10 --device="$sink.monitor" \
        </dev/null >/dev/null 2>>"$dir/keeper.log" &
    echo $! >"$dir/keeper.pid"
}

start() {
    if answers; then
        start_keeper
        return 0
    fi
    mkdir -p "$dir" "$PULSE_STATE_PATH"
    chmod 700 "$dir"
    # A server that died leaves its socket and pid file behind; the new one refuses to
    # start over a stale pid file of a process that still exists but does not answer.
    local stale
    stale=$(server_pid)
    if [ -n "$stale" ]; then
        kill "$stale" 2>/dev/null || true
        sleep 0.5
    fi
    rm -f "$socket" "$dir/pid"

    pulseaudio -D -n --exit-idle-time=-1 --realtime=yes --high-priority=yes \
        --use-pid-file=yes --log-target="file:$dir/server.log" \
        --load="module-null-sink sink_name=$sink" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" \
        --load=module-always-sink 2>>"$dir/start.log" || true

    local waited=0
    until answers; do
        sleep 0.2
        waited=$((waited + 1))
        if [ "$waited" -ge 50 ]; then
            echo "sound-server: the PulseAudio server did not answer within 10 s" >&2
            tail -n 20 "$dir/start.log" "$dir/server.log" >&2 2>/dev/null || true
            return 1
        fi
    done
    pactl set-default-sink "$sink"
    pactl set-default-source "$sink.monitor"
    start_keeper
    # Let the sink finish the long block it began before the keeper asked for low latency.
    sleep 2.1
}

stop() {
    local pid
    pid=$(keeper_pid)
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/keeper.pid"
    pid=$(server_pid)
    if [ -z "$pid" ]; then
        rm -f "$socket" "$dir/pid"
        return 0
    fi
    kill "$pid" 2>/dev/null || true
    local waited=0
    while kill -0 "$pid" 2>/dev/null; do
        sleep 0.1
        waited=$((waited + 1))
        if [ "$waited" -ge 50 ]; then
            kill -9 "$pid" 2>/dev/null || true
            break
        fi
    done
    rm -f "$socket" "$dir/pid"
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    status) answers ;;
    env) echo "export PULSE_SERVER=unix:$socket" ;;
    *)
        echo "usage: $0 start|stop|status|env" >&2
        exit 2
        ;;
esac
