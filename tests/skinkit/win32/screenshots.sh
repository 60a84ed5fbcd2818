#!/usr/bin/env bash
# Opens every window of the packed skin in skin-viewer.exe under wine64 on the
# project's Xvfb display, writes a screenshot of each (and of each page of the
# main window) under build/screenshots/, and checks what a screenshot can
# show: the drop shadow, Escape doing nothing, the buttons' hot and pushed
# states, and the progress animation running.
#   screenshots.sh VIEWER OUTPUT_FOLDER
set -uo pipefail
viewer=$1
out=$2
root=$(cd "$(dirname "$0")/../../.." && pwd)
run=$root/scripts/wine-run
IM=/usr/bin  # /usr/local/bin/convert may be a stand-in
desk='#E9EDF3'
DISPLAY=:$(cat "$root/build/wine/display")
export DISPLAY
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A light desktop behind the windows, so that the shadow has something to
# darken (the bare Xvfb root stays black).
"$IM/convert" -size 1280x1024 "xc:$desk" "$work/desk.png"
"$IM/display" -geometry 1280x1024+0+0 -borderwidth 0 "$work/desk.png" >/dev/null 2>&1 &
desk_pid=$!
trap 'kill "$desk_pid" 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

pixel() {  # pixel FILE X Y -> "r,g,b"
  "$IM/convert" "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}
brightness() { local p; p=$(pixel "$@"); IFS=, read -r r g b <<< "$p"; echo $((r + g + b)); }
differ() {  # differ A B: the number of pixels that differ
  "$IM/compare" -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

pid=""
open() {  # open NAME ARGS...: starts the viewer and waits for its window
  local name=$1; shift
  "$run" "$viewer" "$@" >/dev/null 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 100); do
    win=$(xdotool search --name "^Vellisto $1\$" 2>/dev/null | head -1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  if [ -z "$win" ]; then fail "$name: no window"; return 1; fi
  sleep 1.5  # first paint and the shadow
  eval "$(xdotool getwindowgeometry --shell "$win")"
  wx=$X; wy=$Y; ww=$WIDTH; wh=$HEIGHT
}
shot() {  # shot FILE: the window and 20 pixels around it
  import -window root "$work/root.png" 2>/dev/null || "$IM/import" -window root "$work/root.png"
  "$IM/convert" "$work/root.png" -crop "$((ww + 40))x$((wh + 40))+$((wx - 20))+$((wy - 20))" +repage "$1"
}
close() {
  [ -n "$pid" ] || return 0
  local wine_pid
  wine_pid=$(xdotool getwindowpid "$win" 2>/dev/null || true)
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
}
check_frame() {  # the shadow beyond the right and bottom edges, the desktop beyond it
  local file=$1 name=$2
  local base shadow
  base=$(brightness "$file" 2 2)
  shadow=$(brightness "$file" $((ww + 21)) $((20 + wh / 2)))
  [ "$shadow" -lt "$base" ] || fail "$name: no shadow right of the window ($shadow vs desktop $base)"
  shadow=$(brightness "$file" $((20 + ww / 2)) $((wh + 21)))
  [ "$shadow" -lt "$base" ] || fail "$name: no shadow below the window ($shadow vs desktop $base)"
}

for entry in "MessageBox1Wnd.xml|-text=安装程序检测到Vellisto\r\n正在运行，请退出程序后再安装|-caption=温馨提示" \
            "MessageBox2Wnd.xml|-text=当前磁盘剩余空间低于1GB，请修改安装路径|-caption=温馨提示" \
            "NetworkTipWnd.xml" "exitTipWnd.xml" "InstalledPathTipWnd.xml"; do
  IFS='|' read -r file text caption <<< "$entry"
  args=("$file")
  [ -n "${text:-}" ] && args+=("$(printf '%b' "$text")")
  [ -n "${caption:-}" ] && args+=("$caption")
  name=${file%.xml}
  open "$name" "${args[@]}" || continue
  [ "$ww" -eq 360 ] && [ "$wh" -eq 180 ] || fail "$name: window is ${ww}x${wh}, not 360x180"
  shot "$out/$name.png"
  check_frame "$out/$name.png" "$name"
  # Escape must not close the window.
  xdotool key --window "$win" Escape
  sleep 0.5
  xdotool getwindowname "$win" >/dev/null 2>&1 || fail "$name: Escape closed the window"
  close
done

for page in 0 1 2 3; do
  name=mainWnd-page$page
  extra=()
  [ "$page" = 2 ] && extra=(-progress=35)
  open "$name" mainWnd.xml "$page" "${extra[@]}" || continue
  [ "$ww" -eq 600 ] && [ "$wh" -eq 400 ] || fail "$name: window is ${ww}x${wh}, not 600x400"
  shot "$out/$name.png"
  check_frame "$out/$name.png" "$name"
  if [ "$page" = 0 ]; then
    # The install button (220 x 48, centred, 211 pixels down the page).
    bx=$((wx + 300)); by=$((wy + 35 + 211 + 24))
    crop="220x48+$((bx - wx - 110 + 20))+$((by - wy - 24 + 20))"
    "$IM/convert" "$out/$name.png" -crop "$crop" +repage "$work/normal.png"
    xdotool mousemove "$bx" "$by"; sleep 0.5
    shot "$out/mainWnd-install-hot.png"
    "$IM/convert" "$out/mainWnd-install-hot.png" -crop "$crop" +repage "$work/hot.png"
    xdotool mousedown 1; sleep 0.5
    shot "$out/mainWnd-install-pushed.png"
    "$IM/convert" "$out/mainWnd-install-pushed.png" -crop "$crop" +repage "$work/pushed.png"
    xdotool mousemove $((wx + 300)) $((wy + 390)); sleep 0.2; xdotool mouseup 1
    [ "$(differ "$work/normal.png" "$work/hot.png")" -gt 1000 ] || fail "hot state does not paint"
    [ "$(differ "$work/hot.png" "$work/pushed.png")" -gt 1000 ] || fail "pushed state does not paint"
    xdotool key --window "$win" Escape; sleep 0.5
    xdotool getwindowname "$win" >/dev/null 2>&1 || fail "mainWnd: Escape closed the window"
  fi
  if [ "$page" = 2 ]; then
    # The 160 x 160 animation, 40 pixels down the page: two frames apart.
    crop="160x160+$((300 - 80 + 20))+$((35 + 40 + 20))"
    "$IM/convert" "$out/$name.png" -crop "$crop" +repage "$work/a.png"
    sleep 0.4
    shot "$work/later.png"
    "$IM/convert" "$work/later.png" -crop "$crop" +repage "$work/b.png"
    [ "$(differ "$work/a.png" "$work/b.png")" -gt 100 ] || fail "the progress animation does not run"
  fi
  close
done

# A description that cannot be built: the failure message, then exit code 1.
"$run" "$viewer" NoSuchWnd.xml >/dev/null 2>&1 &
pid=$!
box=""
for _ in $(seq 100); do
  box=$(xdotool search --name '^SkinKit$' 2>/dev/null | head -1)
  [ -n "$box" ] && break
  sleep 0.1
done
if [ -n "$box" ]; then
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$box")"; wx=$X; wy=$Y; ww=$WIDTH; wh=$HEIGHT
  shot "$out/load-failure.png"
  xdotool key --window "$box" Return
  wait "$pid"; code=$?
  [ "$code" -eq 1 ] || fail "a missing description exits with $code, not 1"
else
  fail "no failure message for a missing description"
  kill "$pid" 2>/dev/null
fi

echo "screenshots in $out"
[ "$failures" -eq 0 ]
