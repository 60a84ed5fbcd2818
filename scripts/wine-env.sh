#!/usr/bin/env bash
# The project's wine prefix and display for the Windows tests.
#   prepare  create the prefix (once) with the CJK font mapped to "微软雅黑";
#            a WoW64 prefix (32-bit programs run as on 64-bit Windows) where
#            wine32 is installed, a 64-bit-only one elsewhere
#   start    a persistent wine server and an Xvfb display, detached
#   stop     both
# The display number is kept in build/wine/display for scripts/wine-run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-vars.sh"
state=$wine_state
mkdir -p "$state"

detached() { setsid "$@" </dev/null >/dev/null 2>&1 & }

# wine32 brings the 32-bit loader; a prefix made without it has no SysWOW64.
prefix_kind() { if [ -x /usr/lib/wine/wine ]; then echo wow64; else echo win64; fi; }

prepare() {
  local kind; kind=$(prefix_kind)
  [ "$(cat "$state/prepared" 2>/dev/null)" = "$kind" ] && return
  echo "creating the $kind wine prefix (once)"
  rm -rf "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '微软雅黑' /t REG_SZ \
    /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  "$wineserver" -w
  echo "$kind" > "$state/prepared"
}

start_display() {
  if [ -f "$state/display" ]; then
    local n; n=$(cat "$state/display")
    [ -e "/tmp/.X11-unix/X$n" ] && pgrep -f "Xvfb :$n " >/dev/null && return
  fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  detached Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  echo "$n" > "$state/display"
}

start() {
  prepare
  start_display
  export DISPLAY=:$(cat "$state/display")
  detached "$wineserver" -p
  # A first program boots the prefix's services, so later test processes start fast.
  "$wine" cmd /c exit >/dev/null 2>&1 || true
}

stop() {
  "$wineserver" -k 2>/dev/null || true
  if [ -f "$state/display" ]; then
    pkill -f "Xvfb :$(cat "$state/display") " 2>/dev/null || true
    rm -f "$state/display"
  fi
}

"${1:?prepare, start or stop}"
