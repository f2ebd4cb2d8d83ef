#!/usr/bin/env bash
# The background music end to end, through a sound server with a null sink whose monitor is
# recorded: sound while the music is on, silence once the tray menu has switched it off, sound
# again once it is switched back on; then 그만하기 ends the program at once and the switch is
# written. Last, a sound server that does not answer: the music stays silent, never the window. Run by run_on_desktop.sh tray (Xvfb, openbox, trayer with the icon at 12,12); skips
# (exit 77) where PulseAudio is not installed.
# Usage: music_sound.sh PROGRAM-FOLDER-OF-THE-BUILD
set -u
build_folder=$1
for tool in pulseaudio pactl parec xdotool python3 iconv; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

# A sound server of this test's own, whatever else runs on the machine.
export PULSE_RUNTIME_PATH="$work/pulse" PULSE_STATE_PATH="$work/pulse" PULSE_SERVER="unix:$work/native"
unset PULSE_COOKIE
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
    -L "module-null-sink sink_name=dasom_test rate=44100" \
    -L "module-native-protocol-unix socket=$work/native auth-anonymous=1" \
    >"$work/pulse.log" 2>&1 &
server=$!
pids+=($server)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { cat "$work/pulse.log"; fail "the sound server did not start"; }
pactl set-default-sink dasom_test

folder="$work/folder"
mkdir -p "$folder"
cp "$build_folder"/*.dat "$folder/"
printf '[일반정보]\r\n처음실행=0\r\nviewlogo=0\r\n배경음악=1\r\nTrayStart=1\r\n' |
    iconv -f UTF-8 -t CP949 >"$folder/dasom.ini"

# The monitor at 8000 frames a second, one channel: 16000 bytes a second once it runs. What is
# heard between two moments is what the recording grew by between them.
parec -d dasom_test.monitor --raw --format=s16le --rate=8000 --channels=1 --latency-msec=100 \
    >"$work/sound.raw" &
pids+=($!)
env -u DASOM_AUDIO_DRIVER "$build_folder/dasom" --folder "$folder" 2>"$work/dasom.err" &
dasom=$!
pids+=($dasom)

tray_menu() {  # picks the tray menu's item this many places from the bottom
    xdotool mousemove 12 12 click 3
    sleep 0.7
    for _ in $(seq "$1"); do xdotool key Up; done
    xdotool key Return
}
mark() { stat -c %s "$work/sound.raw"; }
# The loudest sample recorded between two marks, and how many there were.
peak() {
    python3 - "$work/sound.raw" "$1" "$2" <<'PY'
import array, sys
first, last = (int(x) // 2 * 2 for x in sys.argv[2:4])
with open(sys.argv[1], 'rb') as f:
    f.seek(first)
    samples = array.array('h', f.read(last - first))
print(max((abs(s) for s in samples), default=0), len(samples))
PY
}
# Two seconds of what is heard from now on, as "loudest count".
listen() {
    local from
    from=$(mark)
    sleep 2
    peak "$from" "$(mark)"
}

# On: rendering the piece takes a few seconds, more on a loaded machine.
sleep 4
for _ in $(seq 20); do
    read -r on_level on_count < <(listen)
    [ "$on_count" -gt 8000 ] && [ "$on_level" -gt 300 ] && break
done
[ "$on_count" -gt 8000 ] && [ "$on_level" -gt 300 ] ||
    fail "no sound while the music is on ($on_level in $on_count samples); $(cat "$work/dasom.err")"
tray_menu 2  # 배경음악: off
sleep 1.5
read -r off_level off_count < <(listen)
[ "$off_count" -gt 8000 ] && [ "$off_level" -lt 50 ] ||
    fail "sound after the music was switched off ($off_level in $off_count samples)"
tray_menu 2  # 배경음악: on again
sleep 1.5
read -r again_level again_count < <(listen)
[ "$again_count" -gt 8000 ] && [ "$again_level" -gt 300 ] ||
    fail "no sound once the music was switched on again ($again_level in $again_count samples)"

tray_menu 1  # 그만하기
for _ in $(seq 30); do kill -0 "$dasom" 2>/dev/null || break; sleep 0.1; done
kill -0 "$dasom" 2>/dev/null && fail "the program did not end within 3 s of 그만하기"
iconv -f CP949 -t UTF-8 "$folder/dasom.ini" | grep -q '^배경음악=1' ||
    fail "the switch was not written: $(iconv -f CP949 -t UTF-8 "$folder/dasom.ini")"

# The server hangs (stopped) and the companion starts with the music on: once the piece is
# rendered it asks the server for an output, which does not answer. The window must still
# answer a second start at once and end at once on SIGTERM.
kill -STOP "$server"
env -u DASOM_AUDIO_DRIVER "$build_folder/dasom" --folder "$folder" 2>>"$work/dasom.err" &
hung=$!
pids+=($hung)
sleep 3
for _ in $(seq 120); do pgrep -P "$hung" >/dev/null || break; sleep 0.5; done  # rendered
sleep 1
started=$SECONDS
timeout 10 "$build_folder/dasom" --folder "$folder" 2>>"$work/dasom.err"
second=$?
[ "$second" -eq 0 ] && [ $((SECONDS - started)) -le 3 ] ||
    fail "with the sound server hung the window did not answer a second start (exit $second after $((SECONDS - started)) s)"
kill -TERM "$hung"
for _ in $(seq 30); do kill -0 "$hung" 2>/dev/null || break; sleep 0.1; done
kill -0 "$hung" 2>/dev/null && fail "with the sound server hung the program did not end within 3 s of SIGTERM"
kill -CONT "$server"

echo "loudest sample of two seconds: on $on_level, off $off_level, on again $again_level"
echo "music on, off, on again, the exit and a hung sound server: as they should be"
