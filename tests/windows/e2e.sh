#!/usr/bin/env bash
# End-to-end checks of the Windows program under Wine, against the Linux one:
#   tests/windows/e2e.sh CHECK WINDOWS_BUILD_DIR LINUX_PROGRAM WORK_DIR
# CHECK: command_line (--help, statuses and messages as on Linux), export
# (CSV byte-identical, PNG identical outside the text glyphs), window,
# zip, installer. WINEPREFIX names the run's prefix. Exit 77: a tool missing.
set -euo pipefail

check=$1 win=$(realpath "$2") linux=$(realpath "$3") out=$4
mkdir -p "$out"
out=$(realpath "$out")
wine=/usr/lib/wine/wine64
exe=$win/bin/dorvane.exe
for tool in "$wine" "$linux" "$exe"; do
  [[ -x $tool ]] || { echo "SKIP: $tool missing"; exit 77; }
done
[[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]] || { echo "SKIP: no Wine prefix"; exit 77; }
export WINEDEBUG=-all
fail() {
  echo "FAIL: $*"
  exit 1
}
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY

# A Windows program, its standard output to $1 and error to $2.
run() {
  local stdout=$1 stderr=$2
  shift 2
  local status=0
  "$wine" "$@" >"$stdout" 2>"$stderr" </dev/null || status=$?
  return "$status"
}
run_linux() {
  "$linux" "$@" >l.out 2>l.err </dev/null
}
status_of() {
  local status=0
  "$@" || status=$?
  echo "$status"
}

case $check in
  command_line)
    cd "$out"
    run help.txt help.err "$exe" --help || fail "--help failed"
    "$linux" --help >help.linux
    tr -d '\r' <help.txt | sed 's/dorvane\.exe/dorvane/g' >help.windows
    cmp help.windows help.linux || fail "--help differs from the Linux program's: $(diff help.windows help.linux)"
    for args in "--inconnue" "--p1 abc --export x.csv" "--export x.jpg" "--export absent/x.csv"; do
      # shellcheck disable=SC2086
      w=$(status_of run w.out w.err "$exe" $args)
      # shellcheck disable=SC2086
      l=$(status_of run_linux $args)
      [[ $w == "$l" ]] || fail "$args: status $w, on Linux $l"
      [[ -s w.err ]] || fail "$args: no message"
      echo "$args: status $w, message: $(tr -d '\r' <w.err | head -n 1)"
    done
    ;;

  export)
    cd "$out"
    for locale in fr_FR.UTF-8 C; do
      rm -f win.csv linux.csv
      LC_ALL=$locale run w.out w.err "$exe" --export win.csv --p1 47K --r1 4K7 || fail "$locale: CSV export failed"
      LC_ALL=$locale "$linux" --export linux.csv --p1 47K --r1 4K7
      cmp win.csv linux.csv || fail "$locale: the CSV files differ"
      echo "$locale: CSV byte-identical ($(wc -c <win.csv) bytes)"
      mv linux.csv "linux-$locale.csv"
    done
    # Without locale variables a decimal comma in the regional settings gives
    # the French file, as on a French Windows.
    international='HKCU\Control Panel\International'
    run r.out r.err reg add "$international" /v sDecimal /d , /f || fail "cannot set the regional settings"
    status=0
    env -u LC_ALL -u LC_NUMERIC -u LANG -u LANGUAGE "$wine" "$exe" --export regional.csv --p1 47K --r1 4K7 \
      >r.out 2>r.err </dev/null || status=$?
    run r.out r.err reg delete "$international" /v sDecimal /f || true
    ((status == 0)) || fail "export under the regional settings failed: $(cat r.err)"
    cmp regional.csv linux-fr_FR.UTF-8.csv || fail "the regional settings' decimal comma was not followed"
    command -v compare >/dev/null && command -v convert >/dev/null || {
      echo "SKIP: ImageMagick missing"
      exit 77
    }
    LC_ALL=fr_FR.UTF-8 run w.out w.err "$exe" --export win.png || fail "PNG export failed"
    LC_ALL=fr_FR.UTF-8 "$linux" --export linux.png
    # The glyphs: where the Linux picture changes when its text is drawn
    # without antialiasing (same faces, same places), widened by 2 pixels.
    cat >fonts.conf <<'EOF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font"><edit name="antialias" mode="assign"><bool>false</bool></edit></match>
</fontconfig>
EOF
    LC_ALL=fr_FR.UTF-8 FONTCONFIG_FILE=$out/fonts.conf "$linux" --export aliased.png
    [[ $(identify -format %wx%h win.png) == "$(identify -format %wx%h linux.png)" ]] ||
      fail "sizes differ: $(identify -format %wx%h win.png linux.png)"
    count() { convert "$1" -format '%[fx:round(mean*w*h)]' info:; }
    different() { convert "$1" "$2" -compose difference -composite -colorspace Gray -threshold 0 "$3"; }
    different linux.png aliased.png glyphs.png
    convert glyphs.png -morphology Dilate Square:2 glyph-mask.png
    (($(count glyphs.png) > 0)) || fail "no glyph changed: no mask"
    different linux.png win.png differing.png
    differing=$(count differing.png)
    convert differing.png \( glyph-mask.png -negate \) -compose darken -composite outside.png
    outside=$(count outside.png)
    echo "PNG: $differing pixels differ from the Linux program's, $outside outside the text glyphs" \
      "(glyph areas: $(count glyph-mask.png) of $(identify -format '%w x %h' linux.png) pixels)"
    [[ $outside == 0 ]] || fail "$outside pixels differ outside the text glyphs (outside.png)"
    ;;

  window)
    for tool in Xvfb xdotool import convert; do
      command -v "$tool" >/dev/null || {
        echo "SKIP: $tool not installed"
        exit 77
      }
    done
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
    pids+=($!)
    read -r -t 20 -u "$fd" display || fail "Xvfb did not start"
    export DISPLAY=":$display"
    cd "$out"
    # A prefix of its own, whose desktop process starts on this display: the
    # run's prefix may have started it without one (the windowless tests).
    here=$(dirname "$(realpath "$0")")
    export WINEPREFIX=$out/prefix
    "$here/wine-prefix" start "$WINEPREFIX" >/dev/null
    trap 'cleanup; "$here/wine-prefix" stop "$WINEPREFIX"' EXIT
    LC_ALL=fr_FR.UTF-8 "$wine" "$exe" >program.log 2>&1 </dev/null &
    app=$!
    pids+=($app)
    id=""
    # Wine's first window of a prefix starts its desktop process: allow for
    # a loaded machine.
    for ((i = 0; i < 1200; i++)); do
      id=$(xdotool search --onlyvisible --name '^Potentiom' 2>/dev/null | head -n 1 || true)
      [[ -z $id ]] || break
      sleep 0.1
    done
    [[ -n $id ]] || fail "no window after 120 s: $(cat program.log)"
    sleep 2  # drawn
    eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root screen.png
    convert screen.png -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage window.png
    # A blank or black window has a handful of colours.
    colours=$(convert window.png -format %k info:)
    ((WIDTH >= 500 && HEIGHT >= 300)) || fail "window too small"
    ((colours >= 20)) || fail "the window looks empty ($colours colours)"
    # Alt+F4, as a user closes it; the program ends with status 0.
    xdotool windowfocus --sync "$id" key alt+F4
    for ((i = 0; i < 100; i++)); do
      kill -0 "$app" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$app" 2>/dev/null && fail "the program still runs 10 s after Alt+F4"
    status=0
    wait "$app" || status=$?
    ((status == 0)) || fail "the program ended with status $status after its window closed"
    ;;

  zip)
    zip=$win/dorvane-1.0.0.0-win64.zip
    [[ -f $zip ]] || fail "$zip missing"
    rm -rf "$out/unzipped"
    mkdir -p "$out/unzipped"
    (cd "$out/unzipped" && cmake -E tar xf "$zip")
    dir=$out/unzipped/dorvane-1.0.0.0-win64
    for f in qtbase_fr.qm LICENCE.txt licences/LGPL-3.txt licences/Qt-SOURCE.txt; do
      [[ -f $dir/$f ]] || fail "$f not in the zip"
    done
    # From its own folder alone: the libraries it needs are all there.
    cd "$out"
    run v.txt v.err "$dir/dorvane.exe" --version || fail "the unzipped program does not start: $(cat v.err)"
    [[ $(tr -d '\r' <v.txt) == "Dorvane 1.0.0.0" ]] || fail "unzipped --version: $(cat v.txt)"
    ;;

  installer)
    setup=$win/dorvane-1.0.0.0-setup.exe
    [[ -f $setup ]] || fail "$setup missing"
    echo "installer: $(stat -c %s "$setup") bytes"
    c=$WINEPREFIX/drive_c
    installed="$c/Program Files/Dorvane"
    shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Dorvane.lnk"
    key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dorvane'
    cd "$out"
    run i.out i.err "$setup" /S || fail "the silent install failed"
    [[ -f $installed/dorvane.exe && -f $installed/uninstall.exe ]] || fail "nothing in $installed"
    [[ -f $shortcut ]] || fail "no Start-menu shortcut"
    run reg.txt reg.err reg query "$key" || fail "no entry among installed programs"
    for value in "DisplayVersion.*1\.0\.0\.0" "Publisher.*Dorvane"; do
      grep -q "$value" reg.txt || fail "the entry lacks $value: $(cat reg.txt)"
    done
    run u.out u.err "$installed/uninstall.exe" /S || fail "the silent uninstall failed"
    # The uninstaller copies itself away and returns at once.
    for ((i = 0; i < 300; i++)); do
      [[ -e $installed ]] || break
      sleep 0.1
    done
    [[ ! -e $installed ]] || fail "left behind: $(find "$installed")"
    [[ ! -e $shortcut ]] || fail "the shortcut is left"
    if run reg.txt reg.err reg query "$key"; then fail "the entry is left"; fi
    echo "installed, ran and uninstalled silently"
    ;;

  *)
    echo "unknown check $check" >&2
    exit 2
    ;;
esac
echo "PASS: $check"
