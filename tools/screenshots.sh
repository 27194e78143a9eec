#!/usr/bin/env bash
# Takes the pictures of README-play.md: runs the built program under its own Xvfb
# server, types its keys into a pseudo-terminal and grabs the window at chosen moments.
#
#   tools/screenshots.sh [build-dir]     (default: build)
#
# Writes data/screenshots/{menu,help,play,gameover,credits}.png. Needs Xvfb, xdotool,
# ImageMagick (import) and python3. A whole run takes about a minute.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$root/data/screenshots
program=$build/nova-gunner
[ -x "$program" ] || { echo "no program at $program (build the nova-gunner target)" >&2; exit 1; }
for tool in Xvfb xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
mkdir -p "$out"

# A display number nobody uses.
num=90
while [ -e "/tmp/.X11-unix/X$num" ] || [ -e "/tmp/.X$num-lock" ]; do num=$((num + 1)); done
display=":$num"
Xvfb "$display" -screen 0 1100x760x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$num" ] && break; sleep 0.1; done

DISPLAY=$display SDL_AUDIODRIVER=dummy NOVA_LEGACY_KEYS=1 python3 -u - "$program" "$build" "$out" <<'PY'
import os, pty, subprocess, sys, time, select

program, build, out = sys.argv[1:4]
pid, fd = pty.fork()
if pid == 0:
    os.chdir(build)
    os.execv(program, [program, "--no-config"])  # the faithful game, whatever the settings

console = bytearray()
def pump(seconds):
    end = time.monotonic() + seconds
    while True:
        left = end - time.monotonic()
        if left <= 0:
            return
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            try:
                console.extend(os.read(fd, 4096))
            except OSError:
                return

def key(data, pause=0.3):
    os.write(fd, data)
    pump(pause)

def window():
    for _ in range(100):
        found = subprocess.run(["xdotool", "search", "--name", "^Graph$"],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        pump(0.1)
    sys.exit("the game window did not appear")

def shot(name):
    if subprocess.run(["import", "-window", win, os.path.join(out, name + ".png")]).returncode:
        print(console.decode("latin-1"))
        sys.exit("could not grab the window for " + name)
    print("saved", name + ".png")

ESC, ENTER = b"\x1b", b"\r"
UP, LEFT, RIGHT = b"\x1b[A", b"\x1b[D", b"\x1b[C"
win = window()
pump(1.0)
key(ESC)                  # skip the story during its opening pause
pump(3.0)
shot("menu")
key(b"h", 1.0)
shot("help")
key(ESC, 1.5)
key(ENTER, 5.5)           # the play starts after its 4.5 s pause
for step in range(40):    # a little flying and shooting
    key([LEFT, RIGHT, UP, b" ", b"0"][step % 5] if step % 3 else b" ", 0.15)
shot("play")
key(ESC, 2.0)             # lost: the game-over screen follows after 1 s
shot("gameover")
key(b" ", 10.5)           # the credits start 1.9 s later; 6.5 s into the roll
shot("credits")           # every line stands in the window
pump(13.0)
for _ in range(3):
    key(b" ", 0.5)
_, status = os.waitpid(pid, 0)
pump(0.2)
print(console.decode("latin-1").replace("\r", ""))
sys.exit(os.waitstatus_to_exitcode(status))
PY
