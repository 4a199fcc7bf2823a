#!/usr/bin/env bash
# The demo: builds the Windows programs, then runs tunebridge.exe under Wine beside
# the simulated Winamp (playing a small playlist) and a simulated "Wolf Console",
# and prints the console's transcript as it grows.
#   scripts/demo.sh [SECONDS]     (no limit: until Ctrl+C)
# Uses a private Xvfb display when DISPLAY is unset, the user's display otherwise.
# Environment: TUNEBRIDGE_BUILD_ROOT puts the build folder elsewhere (default: build/).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
limit=${1:-0}
if ! [[ $limit =~ ^[0-9]+$ ]]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi
build=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/windows

if [[ ${TUNEBRIDGE_DEMO_STAGE:-} != inside ]]; then
  cd "$repo"
  bash scripts/bootstrap.sh
  mkdir -p "$build"
  echo "demo: building the Windows programs in $build"
  if ! cmake --preset windows -B "$build" >"$build/demo-configure.log" 2>&1; then
    cat "$build/demo-configure.log" >&2
    exit 1
  fi
  cmake --build "$build" -j 2 --target tunebridge fake_winamp fake_console peerctl keeper
  export TUNEBRIDGE_DEMO_STAGE=inside
  exec bash scripts/wine-session.sh "$build" -- bash "$repo/scripts/demo.sh" "$limit"
fi

# From here on: inside the Wine session (WINE, WINEPREFIX, DISPLAY are set).
stage=$(mktemp -d "${TMPDIR:-/tmp}/tunebridge-demo.XXXXXX")
trap 'rm -rf "$stage"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Wine sees the Unix file system as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Sends one control command to a simulated peer; exit status 2 when no such window.
peerctl() { "$WINE" "$build/bin/peerctl.exe" "$@" </dev/null >/dev/null 2>&1; }
window_exists() {
  local status=0
  peerctl "$1" "state-probe" || status=$?
  ((status != 2))
}

wait_for() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    if ((SECONDS >= end)); then
      echo "demo: gave up waiting for: $*" >&2
      exit 1
    fi
    sleep 0.2
  done
}

cat >"$stage/playlist.txt" <<'EOF'
The Railgun Choir - Frag Lullaby
Bounce Pad Orchestra - Jump Into Orbit
Rocket Arena - Quad Damage Waltz
Lightning Gun Trio - Shaft of Light
Spawn Camp Serenade - Respawn Again
EOF

mkdir -p "$stage/Tunebridge"
cp "$build/bin/tunebridge.exe" "$stage/Tunebridge/"
# Colours for the track line, a repeat every 10 seconds, and Ctrl+F5..F11 as hotkeys.
cat >"$stage/Tunebridge/tunebridge.ini" <<'EOF'
[Keys]
Key0=116
Key1=117
Key2=118
Key3=119
Key4=120
Key5=121
Key6=122
[SKeys]
Key0=0
Key1=0
Key2=0
Key3=0
Key4=0
Key5=0
Key6=0
[CKeys]
Key0=17
Key1=17
Key2=17
Key3=17
Key4=17
Key5=17
Key6=17
[AKeys]
Key0=0
Key1=0
Key2=0
Key3=0
Key4=0
Key5=0
Key6=0
[Color]
Color0=4
Color1=7
Color2=3
Color3=7
Color4=7
Color5=1
Color6=7
Color7=7
Color8=2
Color9=7
Color10=2
Color11=7
Color12=1
Color13=1
Color14=1
[Text]
Text0=Winamp
Text1=10
Text2=False
Text3=True
EOF
sed -i 's/$/\r/' "$stage/Tunebridge/tunebridge.ini"

console_log=$stage/console.log
echo "demo: starting the simulated Winamp and the \"Wolf Console\""
"$WINE" "$build/bin/fake_winamp.exe" --playlist "$(windows_path "$stage/playlist.txt")" \
  --log "$(windows_path "$stage/player.log")" --state playing --clock </dev/null >"$stage/player.out" 2>&1 &
"$WINE" "$build/bin/fake_console.exe" --title "Wolf Console" --log "$(windows_path "$console_log")" --visible \
  </dev/null >"$stage/console.out" 2>&1 &
wait_for 60 window_exists "Winamp v1.x"
wait_for 60 window_exists "Wolf Console"

echo "demo: starting tunebridge.exe"
(cd "$stage/Tunebridge" && exec "$WINE" tunebridge.exe </dev/null >"$stage/tunebridge.out" 2>&1) &
tunebridge_pid=$!

printed=0
print_new_console_lines() {
  [[ -e $console_log ]] || return 0
  local total
  total=$(wc -l <"$console_log")
  if ((total > printed)); then
    sed -n "$((printed + 1)),${total}p" "$console_log" | sed -n 's/^OUT /console| /p'
    printed=$total
  fi
}

if ((limit > 0)); then
  echo "demo: running for $limit seconds (Ctrl+C ends it sooner)"
else
  echo "demo: running until Ctrl+C"
fi
started=$SECONDS
playlist_asked=0
next_pressed=0
while ((limit == 0 || SECONDS - started < limit)); do
  print_new_console_lines
  if ! kill -0 "$tunebridge_pid" 2>/dev/null; then
    echo "demo: tunebridge.exe has ended"
    break
  fi
  elapsed=$((SECONDS - started))
  if ((!playlist_asked && elapsed >= 6)); then
    echo "demo: the player presses the in-game key bound to \"echo Winamp:Playlist\""
    peerctl "Wolf Console" "print Winamp:Playlist" || echo "demo: the console did not take the command" >&2
    playlist_asked=1
  fi
  if ((!next_pressed && elapsed >= 14)); then
    echo "demo: Winamp skips to the next track"
    { peerctl "Winamp v1.x" "index 1" && peerctl "Winamp v1.x" "position 0"; } ||
      echo "demo: the player did not take the command" >&2
    next_pressed=1
  fi
  sleep 0.25
done
print_new_console_lines
echo "demo: done"
