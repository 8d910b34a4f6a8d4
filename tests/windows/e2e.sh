#!/usr/bin/env bash
# End-to-end checks of the Windows program under Wine, against the Linux one:
#   tests/windows/e2e.sh CHECK WINDOWS_BUILD_DIR LINUX_PROGRAM WORK_DIR
# CHECK: command_line (--help, statuses and messages as on Linux), export
# (CSV byte-identical with its byte-order mark, the regional list separator,
# PNG identical outside the text glyphs), window (on Xvfb: the clipboard's
# bitmap and metafile compared, the system's save dialog, the help in a
# console), zip, installer (modes, a running program, an upgrade, nothing
# left). WINEPREFIX names the run's prefix; window and installer make their
# own. Exit 77: a tool missing.
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

here=$(dirname "$(realpath "$0")")
probe=$win/bin/windows_probe.exe
count() { convert "$1" -format '%[fx:round(mean*w*h)]' info:; }
different() { convert "$1" "$2" -compose difference -composite -colorspace Gray -threshold 0 "$3"; }

# A private Xvfb and a prefix of its own, whose desktop process starts on it
# (the run's prefix may have started it without one), and whose home is
# here: Wine links the user's folders (Documents, Desktop) to $HOME's.
start_display() {
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
  export HOME=$out/home WINEPREFIX=$out/prefix
  rm -rf "$HOME"
  mkdir -p "$HOME"
  "$here/wine-prefix" start "$WINEPREFIX" >/dev/null
  trap 'cleanup; "$here/wine-prefix" stop "$WINEPREFIX"' EXIT
}

# Waits (up to $2 tenths of a second) for a shown window named by the
# pattern $1 and prints its id.
window_named() {
  local id=""
  for ((i = 0; i < ${2:-100}; i++)); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [[ -z $id ]] || break
    sleep 0.1
  done
  echo "$id"
}

# The main window of a program started in the background ($app), drawn.
main_window() {
  # Wine's first window of a prefix starts its desktop process: allow for
  # a loaded machine.
  id=$(window_named '^Potentiom' 1200)
  [[ -n $id ]] || fail "no window after 120 s: $(cat program.log)"
  sleep 2  # drawn
}

close_main_window() {
  xdotool windowfocus --sync "$id" key alt+F4
  for ((i = 0; i < 100; i++)); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app" 2>/dev/null && fail "the program still runs 10 s after Alt+F4"
  status=0
  wait "$app" || status=$?
  ((status == 0)) || fail "the program ended with status $status after its window closed"
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
    # The values file starts with the UTF-8 byte-order mark, for Excel.
    [[ $(head -c 3 linux-C.csv | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "no byte-order mark"
    # Without locale variables the regional settings decide, as on a French
    # Windows: a decimal comma and the list separator ";" give the French
    # file; the list separator is followed with a decimal point too.
    international='HKCU\Control Panel\International'
    for setting in ",|;|linux-fr_FR.UTF-8.csv" ".|;|"; do
      IFS='|' read -r decimal list same <<<"$setting"
      run r.out r.err reg add "$international" /v sDecimal /d "$decimal" /f || fail "cannot set sDecimal"
      run r.out r.err reg add "$international" /v sList /d "$list" /f || fail "cannot set sList"
      status=0
      env -u LC_ALL -u LC_NUMERIC -u LANG -u LANGUAGE "$wine" "$exe" --export regional.csv --p1 47K --r1 4K7 \
        >r.out 2>r.err </dev/null || status=$?
      ((status == 0)) || fail "export under the regional settings failed: $(cat r.err)"
      if [[ -n $same ]]; then
        cmp regional.csv "$same" || fail "sDecimal $decimal, sList $list: not the French file"
      else
        sed -n 2p regional.csv | grep -qx '0\.0000;0\.0000;0\.0000;1\.0000;;;-40\.0000' ||
          fail "sDecimal $decimal, sList $list: $(sed -n 2p regional.csv)"
      fi
    done
    run r.out r.err reg delete "$international" /v sDecimal /f || true
    run r.out r.err reg delete "$international" /v sList /f || true
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
    start_display
    cd "$out"
    LC_ALL=fr_FR.UTF-8 "$wine" "$exe" >program.log 2>&1 </dev/null &
    app=$!
    pids+=("$app")
    main_window
    eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root screen.png
    convert screen.png -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage window.png
    # A blank or black window has a handful of colours.
    colours=$(convert window.png -format %k info:)
    ((WIDTH >= 500 && HEIGHT >= 300)) || fail "window too small"
    ((colours >= 20)) || fail "the window looks empty ($colours colours)"

    # "Copier en Bitmap" and "Copier en Metafile" (Alt+E, C and O) through
    # the system clipboard: the metafile played back by the system equals
    # the bitmap outside the text glyphs (where its text records paint,
    # widened by 2 pixels).
    xdotool windowfocus --sync "$id" key alt+e
    sleep 0.5
    xdotool key c
    sleep 1
    run p.out p.err "$probe" clipboard dib bitmap.bmp || fail "no bitmap on the clipboard: $(cat p.err)"
    xdotool windowfocus --sync "$id" key alt+e
    sleep 0.5
    xdotool key o
    sleep 1
    run p.out p.err "$probe" clipboard emf metafile.bmp || fail "no metafile on the clipboard: $(cat p.err)"
    echo "metafile: $(tr -d '\r' <p.out)"
    grep -q "^frame 344.* x 3[12][09].* pixels" p.out || fail "the metafile's frame: $(cat p.out)"
    run p.out p.err "$probe" clipboard emf-without-text bare.bmp || fail "the metafile without text: $(cat p.err)"
    convert bitmap.bmp -crop 344x320+0+0 +repage bitmap.png
    convert metafile.bmp metafile.png
    different metafile.png bare.bmp glyphs.png
    convert glyphs.png -morphology Dilate Square:2 glyph-mask.png
    (($(count glyphs.png) > 0)) || fail "the metafile has no text"
    different bitmap.png metafile.png differing.png
    convert differing.png \( glyph-mask.png -negate \) -compose darken -composite outside.png
    outside=$(count outside.png)
    echo "metafile: $(count differing.png) of 110080 pixels differ from the bitmap copy, $outside outside" \
      "the text glyphs (glyph areas: $(count glyph-mask.png) pixels)"
    [[ $outside == 0 ]] || fail "$outside pixels differ outside the text glyphs (outside.png)"

    # Ctrl+S: the system's save dialog. A refused name is said in a message
    # box titled "Dorvane" and the dialog stays open; the name typed is then
    # saved where it says, and its folder is kept for the next run.
    mkdir -p "$WINEPREFIX/drive_c/sortie"
    save_as() {  # the name typed, then Enter
      xdotool windowfocus --sync "$id" key ctrl+s
      dialog=$(window_named '^Enregistrer le graphique sous$')
      [[ -n $dialog ]] || fail "Ctrl+S opened no dialog"
      sleep 0.5
      xdotool windowfocus --sync "$dialog" key ctrl+a
      xdotool type --delay 20 "$1"
      xdotool key Return
      sleep 1
    }
    save_as "x.jpg"
    message=$(window_named '^Dorvane$' 50)
    [[ -n $message ]] || fail "no message box titled Dorvane for a .jpg name"
    xdotool windowfocus --sync "$message" key Return
    sleep 0.5
    [[ -n $(window_named '^Enregistrer le graphique sous$' 10) ]] || fail "the dialog closed on a refused name"
    xdotool windowfocus --sync "$dialog" key ctrl+a
    xdotool type --delay 20 'C:\sortie\graphique'
    xdotool key Return
    for ((i = 0; i < 50; i++)); do
      [[ -f $WINEPREFIX/drive_c/sortie/graphique.png ]] && break
      sleep 0.1
    done
    [[ -f $WINEPREFIX/drive_c/sortie/graphique.png ]] || fail "C:\\sortie\\graphique.png not written"
    [[ -z $(window_named '^Enregistrer le graphique sous$' 5) ]] || fail "the dialog stayed open after saving"
    # Replacing is asked (No keeps the dialog open).
    save_as "graphique.png"
    [[ $(xdotool search --onlyvisible --name '^Enregistrer le graphique sous$' | wc -l) -ge 2 ]] ||
      fail "no question before replacing graphique.png"
    xdotool key alt+n
    sleep 0.5
    dialog=$(window_named '^Enregistrer le graphique sous$' 10)
    [[ -n $dialog ]] || fail "the dialog closed on No"
    xdotool windowfocus --sync "$dialog" key Escape
    sleep 0.5
    close_main_window
    run r.out r.err reg query 'HKCU\Software\Dorvane\Dorvane' /v LastFolder
    grep -qi 'LastFolder.*C:/sortie' r.out || fail "the last folder is not kept: $(cat r.out)"
    # The next run's dialog opens there.
    LC_ALL=fr_FR.UTF-8 "$wine" "$exe" >program.log 2>&1 </dev/null &
    app=$!
    pids+=("$app")
    main_window
    save_as "deux"
    for ((i = 0; i < 50; i++)); do
      [[ -f $WINEPREFIX/drive_c/sortie/deux.png ]] && break
      sleep 0.1
    done
    [[ -f $WINEPREFIX/drive_c/sortie/deux.png ]] || fail "the second run did not open in C:\\sortie"
    close_main_window

    # In a console of its own (code page 850, a French console's), the help
    # reads as on Linux, and the code page stays.
    run c.out c.err "$probe" console 850 console.txt "$exe" --help || fail "--help in a console failed"
    "$linux" --help | sed 's/^Usage : dorvane /Usage : dorvane.exe /' >help.linux
    head -n 1 console.txt | grep -qx 'code page 850' || fail "the console's code page changed: $(head -n 1 console.txt)"
    tail -n +2 console.txt >help.console
    cmp help.console help.linux || fail "the console shows: $(diff help.console help.linux)"
    ;;

  zip)
    zip=$win/dorvane-1.0.0.0-win64.zip
    [[ -f $zip ]] || fail "$zip missing"
    rm -rf "$out/unzipped"
    mkdir -p "$out/unzipped"
    (cd "$out/unzipped" && cmake -E tar xf "$zip")
    dir=$out/unzipped/dorvane-1.0.0.0-win64
    for f in qtbase_fr.qm LICENCE.txt LISEZMOI.txt licences/LGPL-3.txt licences/Qt-SOURCE.txt; do
      [[ -f $dir/$f ]] || fail "$f not in the zip"
    done
    # The French texts: UTF-8 with its byte-order mark, Windows line ends.
    for f in LICENCE.txt LISEZMOI.txt; do
      [[ $(head -c 3 "$dir/$f" | od -An -tx1 | tr -d ' ') == efbbbf ]] || fail "$f has no byte-order mark"
      grep -q $'\r$' "$dir/$f" || fail "$f has no Windows line ends"
    done
    grep -q "Licence de Dorvane" "$dir/LICENCE.txt" || fail "LICENCE.txt is not Dorvane's French licence"
    grep -q "Debian" "$dir/LICENCE.txt" && fail "LICENCE.txt speaks of Debian"
    grep -q "dorvane.exe" "$dir/LISEZMOI.txt" || fail "LISEZMOI.txt does not say how to start it"
    # From its own folder alone: the libraries it needs are all there.
    cd "$out"
    run v.txt v.err "$dir/dorvane.exe" --version || fail "the unzipped program does not start: $(cat v.err)"
    [[ $(tr -d '\r' <v.txt) == "Dorvane 1.0.0.0" ]] || fail "unzipped --version: $(cat v.txt)"
    ;;

  installer)
    setup=$win/dorvane-1.0.0.0-setup.exe
    [[ -f $setup ]] || fail "$setup missing"
    echo "installer: $(stat -c %s "$setup") bytes"
    start_display
    c=$WINEPREFIX/drive_c
    stage=$win/package/dorvane-1.0.0.0-win64
    installed="$c/Program Files/Dorvane"
    shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Dorvane.lnk"
    key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Dorvane'
    cd "$out"
    temp_before=$(find "$c/users" -path '*Temp*' | sort)
    same_files() {  # every staged file, and the uninstaller, in $1
      (cd "$stage" && find . -type f) | while read -r f; do
        cmp -s "$stage/$f" "$1/$f" || echo "$f"
      done
    }
    run i.out i.err "$setup" /S || fail "the silent install failed"
    [[ -f $installed/uninstall.exe && -z $(same_files "$installed") ]] || fail "not installed: $(same_files "$installed")"
    [[ -f $shortcut ]] || fail "no Start-menu shortcut"
    run reg.txt reg.err reg query "HKLM\\$key" || fail "no entry among installed programs"
    for value in "DisplayVersion.*1\.0\.0\.0" "Publisher.*Dorvane" "EstimatedSize.*0x[0-9a-f]{4}" \
      "UninstallString.*uninstall\.exe"; do
      grep -Eq "$value" reg.txt || fail "the entry lacks $value: $(cat reg.txt)"
    done
    echo "entry: $(grep -o 'EstimatedSize.*' reg.txt | tr -d '\r')"

    # The finish page's "Lancer Dorvane" starts it through the shell.
    "$wine" explorer.exe 'C:\Program Files\Dorvane\dorvane.exe' >program.log 2>&1 </dev/null &
    pids+=($!)
    main_window
    before=$(cd "$installed" && find . -type f -exec md5sum {} + | sort)
    # A running Dorvane: both refuse, with status 2, and change nothing.
    status=$(status_of run i.out i.err "$setup" /S)
    [[ $status == 2 ]] || fail "setup /S while Dorvane runs: status $status"
    status=$(status_of run u.out u.err "$installed/uninstall.exe" /S)
    [[ $status == 2 ]] || fail "uninstall /S while Dorvane runs: status $status"
    sleep 1
    [[ $(cd "$installed" && find . -type f -exec md5sum {} + | sort) == "$before" ]] ||
      fail "the files changed while Dorvane ran"
    run reg.txt reg.err reg query "HKLM\\$key" || fail "the entry went while Dorvane ran"
    xdotool windowfocus --sync "$id" key alt+F4
    for ((i = 0; i < 100; i++)); do
      [[ -z $(xdotool search --onlyvisible --name '^Potentiom' 2>/dev/null || true) ]] && break
      sleep 0.1
    done
    sleep 1

    # An upgrade replaces every file and leaves one entry; the settings stay.
    echo ancienne >"$installed/Qt6Svg.dll"
    run r.out r.err reg add 'HKCU\Software\Dorvane\Dorvane' /v LastFolder /d 'C:/sortie' /f
    run r.out r.err reg add 'HKCU\Software\QtProject\OrganizationDefaults\FileDialog' /v history /d x /f
    run i.out i.err "$setup" /S || fail "the upgrade failed"
    [[ -z $(same_files "$installed") ]] || fail "not replaced: $(same_files "$installed")"
    if run r.out r.err reg query "HKCU\\$key"; then fail "a second entry"; fi
    run r.out r.err reg query 'HKCU\Software\Dorvane\Dorvane' || fail "the upgrade removed the settings"

    # Uninstalling waits and leaves nothing of ours.
    run u.out u.err "$installed/uninstall.exe" /S || fail "the silent uninstall failed"
    [[ ! -e $installed/dorvane.exe ]] || fail "the uninstaller returned before removing the files"
    for ((i = 0; i < 100; i++)); do
      [[ -e $installed ]] || break
      sleep 0.1
    done
    [[ ! -e $installed ]] || fail "left behind: $(find "$installed")"
    [[ ! -e $shortcut ]] || fail "the shortcut is left"
    for k in "HKLM\\$key" 'HKCU\Software\Dorvane' 'HKCU\Software\QtProject'; do
      if run r.out r.err reg query "$k"; then fail "$k is left"; fi
    done
    [[ $(find "$c/users" -path '*Temp*' | sort) == "$temp_before" ]] ||
      fail "left in the temporary folder: $(find "$c/users" -path '*Temp*')"

    # For me alone: the user's programs folder and the user's entry.
    mine=""
    for home in "$c"/users/*; do
      [[ ${home##*/} == Public ]] || mine="$home/AppData/Local/Programs/Dorvane"
    done
    run i.out i.err "$setup" /S /CurrentUser || fail "the install for the user failed"
    [[ -z $(same_files "$mine") ]] || fail "not installed in $mine: $(same_files "$mine")"
    run r.out r.err reg query "HKCU\\$key" || fail "no entry for the user"
    if run r.out r.err reg query "HKLM\\$key"; then fail "an entry for everyone"; fi
    run u.out u.err "$mine/uninstall.exe" /S || fail "the user's uninstall failed"
    for ((i = 0; i < 100; i++)); do
      [[ -e $mine ]] || break
      sleep 0.1
    done
    [[ ! -e $mine ]] || fail "left behind: $(find "$mine")"
    if run r.out r.err reg query "HKCU\\$key"; then fail "the user's entry is left"; fi
    echo "installed, refused while running, upgraded and uninstalled, for everyone and for the user"
    ;;

  *)
    echo "unknown check $check" >&2
    exit 2
    ;;
esac
echo "PASS: $check"
