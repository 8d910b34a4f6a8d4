#!/usr/bin/env bash
# End-to-end check of the about box on a real X server:
#   tests/e2e/about_box.sh PATH/TO/dorvane [OUTPUT_DIR]
# Starts Xvfb and openbox, starts the program, opens "A propos..." with Alt+A
# then A, takes a screenshot, checks the size, that the frame is centred on
# the screen (within 2 pixels) and the marble tiling (the
# columns from x = 245 on repeat those from x = 0), checks that Esc leaves the
# box open and Enter closes it, then opens it again from the main window (so
# the main window takes keys again) and checks that it shows the same
# picture. Exit 77 when a tool is missing. Every process it starts is
# stopped by its PID.
set -euo pipefail

program=$(realpath "$1")
out=${2:-$(mktemp -d)}
mkdir -p "$out"
for tool in Xvfb openbox xdotool xwininfo xprop import convert compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
[[ -x "$program" ]] || { echo "SKIP: $program not built"; exit 77; }

pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A display of our own; Xvfb writes its number once it is ready.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 -u "$fd" display || fail "Xvfb did not start"
export DISPLAY=":$display"
openbox >"$out/openbox.log" 2>&1 &
pids+=($!)
sleep 0.5

unset QT_QPA_PLATFORM
"$program" >"$out/program.log" 2>&1 &
app=$!
pids+=($app)

# Waits for a visible window of the program whose name matches; prints its id.
window() {
  local name=$1 tries=${2:-100}
  for ((i = 0; i < tries; i++)); do
    local id
    id=$(xdotool search --all --onlyvisible --pid "$app" --name "$name" 2>/dev/null | head -n 1 || true)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
gone() {
  for ((i = 0; i < 50; i++)); do
    xdotool search --all --onlyvisible --pid "$app" --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

about_title='^A propos\.\.\.$'
main=$(window "${DORVANE_MAIN_TITLE:-^Potentiom}") || fail "main window did not show"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || xdotool windowfocus --sync "$main"

open_about() {
  xdotool key --clearmodifiers alt+a
  sleep 0.3
  xdotool key a
  window "$about_title" || fail "Alt+A then A did not open the about box"
}

about=$(open_about)
sleep 0.5
import -window "$about" "$out/about-1.png"
size=$(convert "$out/about-1.png" -format '%wx%h' info:)
[[ "$size" == 305x193 ]] || fail "about box is $size, not 305x193"
# The frame centred on the 1024 x 768 screen, within 2 pixels: the client's
# place from xwininfo, the frame around it from _NET_FRAME_EXTENTS (left,
# right, top, bottom).
info=$(xwininfo -id "$about")
ax=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
ay=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
w=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
h=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
extents=$(xprop -id "$about" _NET_FRAME_EXTENTS)
[[ "$extents" == *=* ]] || fail "no _NET_FRAME_EXTENTS on the about box: $extents"
IFS=', ' read -r fl fr ft fb <<<"${extents#*= }"
cx2=$((2 * (ax - fl) + fl + w + fr)) cy2=$((2 * (ay - ft) + ft + h + fb))  # twice the frame centre
dx=$((cx2 - 1024)) dy=$((cy2 - 768))
((dx >= -4 && dx <= 4 && dy >= -4 && dy <= 4)) ||
  fail "about box frame not centred: centre ($((cx2 / 2)), $((cy2 / 2))), client $ax,$ay ${w}x$h, frame $fl,$fr,$ft,$fb"
# Rows where no control lies: the picture's left 60 columns come again at 245.
for rows in "60x8+0+0 60x8+245+0" "60x7+0+186 60x7+245+186"; do
  read -r left right <<<"$rows"
  convert "$out/about-1.png" -crop "$left" +repage "$out/left.png"
  convert "$out/about-1.png" -crop "$right" +repage "$out/right.png"
  diff=$(compare -metric AE "$out/left.png" "$out/right.png" null: 2>&1 || true)
  [[ "$diff" == 0 ]] || fail "marble does not repeat at x = 245 ($left vs $right: $diff pixels differ)"
done

# Real key events (XTEST) to the box, which has the focus while it is shown.
xdotool windowactivate --sync "$about" >/dev/null 2>&1 || true
xdotool key Escape
sleep 0.5
window "$about_title" 5 >/dev/null || fail "Esc closed the about box"
xdotool key Return
gone "$about_title" || fail "Enter did not close the about box"

# The main window takes keys again: the same keys open a fresh box.
sleep 0.3
xdotool windowfocus --sync "$main" >/dev/null 2>&1 || true
about=$(open_about)
sleep 0.5
import -window "$about" "$out/about-2.png"
diff=$(compare -metric AE "$out/about-1.png" "$out/about-2.png" null: 2>&1 || true)
[[ "$diff" == 0 ]] || fail "second showing differs from the first ($diff pixels)"
xdotool windowactivate --sync "$about" >/dev/null 2>&1 || true
xdotool key Return
gone "$about_title" || fail "Enter did not close the second about box"
kill -0 "$app" 2>/dev/null || fail "the program ended"
echo "about box end-to-end: passed ($out)"
