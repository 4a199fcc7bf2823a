#!/usr/bin/env bash
# Runs a command inside a private Wine session:
#   scripts/wine-session.sh [--no-keeper] BUILD_DIR -- COMMAND [ARGS...]
#
# The session uses a Wine prefix and a HOME under BUILD_DIR/wine (created on the
# first run, reused after), an Xvfb display of its own when DISPLAY is unset, a
# wineserver kept alive for the whole command, and the keeper window from
# BUILD_DIR/bin/keeper.exe (built from sim/). Afterwards it ends every Wine process of its own prefix
# and its own Xvfb, and nothing else.
#
# Environment: TUNEBRIDGE_WINE_HOME overrides the HOME that Wine sees (its
# .asoundrc is then left as the caller made it).
set -euo pipefail

keeper=1
if [[ ${1:-} == --no-keeper ]]; then
  keeper=0
  shift
fi
if (($# < 3)) || [[ $2 != -- ]]; then
  echo "usage: $0 [--no-keeper] BUILD_DIR -- COMMAND [ARGS...]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
shift 2

find_tool() {
  local name
  for name in "$@"; do
    if command -v "$name" >/dev/null 2>&1; then
      command -v "$name"
      return 0
    fi
    if [[ -x /usr/lib/wine/$name ]]; then
      echo "/usr/lib/wine/$name"
      return 0
    fi
  done
  echo "wine-session: none of $* found; run scripts/bootstrap.sh" >&2
  return 1
}
WINE=$(find_tool wine wine64 wine-stable)
WINESERVER=$(find_tool wineserver wineserver64 wineserver-stable)
export WINE WINESERVER

session_root=$build_dir/wine
export WINEPREFIX=$session_root/prefix
if [[ -n ${TUNEBRIDGE_WINE_HOME:-} ]]; then
  export HOME=$TUNEBRIDGE_WINE_HOME
else
  export HOME=$session_root/home
  mkdir -p "$HOME"
  # ALSA's null device, so DirectSound finds a default device under Wine.
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
fi
mkdir -p "$WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads XDG folders from HOME; keep its caches out of the caller's.
export XDG_CACHE_HOME=$session_root/cache XDG_CONFIG_HOME=$session_root/config XDG_DATA_HOME=$session_root/data

xvfb_pid=
child_pid=
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tunebridge-session.XXXXXX")

cleanup() {
  local status=$?
  trap - EXIT INT TERM
  if [[ -n $child_pid ]] && kill -0 "$child_pid" 2>/dev/null; then
    kill -TERM "$child_pid" 2>/dev/null || true
    wait "$child_pid" 2>/dev/null || true
  fi
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then
    kill -TERM "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Polls a condition (a command) every 0.1 s until it holds or SECONDS pass.
wait_for() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

if [[ -z ${DISPLAY:-} ]]; then
  # Xvfb picks a free display itself and reports it once it accepts clients.
  # Autorepeat is pushed far out so a held key is not pressed again and again.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ardelay 600000 -arinterval 600000 \
    3>"$scratch/display" </dev/null >"$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  if ! wait_for 30 test -s "$scratch/display"; then
    echo "wine-session: Xvfb did not start" >&2
    cat "$scratch/xvfb.log" >&2
    exit 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$scratch/display")"
fi

# Keep the server up between programs, then boot the prefix's services with null
# stdio: they inherit the first Wine process's output and outlive it, and would
# hold any pipe the command's caller reads from.
"$WINESERVER" -p 60 </dev/null >/dev/null 2>&1
if [[ ! -e $WINEPREFIX/system.reg ]]; then
  echo "wine-session: creating the Wine prefix $WINEPREFIX (about 15 s, once)" >&2
fi
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true

# Without a window manager (our own Xvfb) Wine draws the window frames itself, so
# screenshots show captions; on the user's display the window manager does.
if [[ -n $xvfb_pid ]]; then
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
else
  "$WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 || true
fi

if ((keeper)) && [[ -e $build_dir/bin/keeper.exe ]]; then
  "$WINE" "$build_dir/bin/keeper.exe" </dev/null >/dev/null 2>&1 &
  if command -v xdotool >/dev/null 2>&1; then
    wait_for 30 xdotool search --name '^tunebridge test keeper$' >/dev/null 2>&1 ||
      echo "wine-session: the keeper window did not show up; carrying on" >&2
  fi
fi

# The command runs in the background so that Ctrl+C and TERM reach the traps at once.
"$@" &
child_pid=$!
set +e
wait "$child_pid"
status=$?
set -e
child_pid=
exit "$status"
