#!/usr/bin/env bash
# check_install.sh BUILD_DIR: installs the build into a prefix whose name holds a space
# and a dollar sign, with XDG_DATA_HOME in a temporary folder, and checks what landed.
set -uo pipefail
build=$1
work=$(mktemp -d /tmp/korvane-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix="$work/my programs/Korvane \$2.1"
export XDG_DATA_HOME="$work/data home"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

[ -x "$prefix/korvane" ] || fail "no executable korvane in the prefix"
[ "$(od -An -c "$prefix/Config.ini" | tr -s ' ')" = " 0 \r \n" ] || fail "Config.ini is not 0: $(od -An -c "$prefix/Config.ini")"
for f in FILECOPY.gif intro.gif intro.mp3 Help1.pdf Help2.pdf Help3.pdf Help4.pdf; do
  [ -s "$prefix/Data/$f" ] || fail "Data/$f missing or empty"
done
[ ! -e "$prefix/Data/Path.ini" ] || fail "a Path.ini was installed"
# The program rewrites Config.ini and Data/Path.ini: the person must be able to write there.
for p in "$prefix" "$prefix/Data" "$prefix/Config.ini"; do
  [ $(( 0$(stat -c %a "$p") & 0200 )) -ne 0 ] || fail "$p is not writable by its owner ($(stat -c %a "$p"))"
done

entry="$XDG_DATA_HOME/applications/korvane.desktop"
if [ ! -f "$entry" ]; then
  fail "no desktop entry at $entry"
else
  key() { sed -n "s/^$1=//p" "$entry"; }
  [ "$(head -n1 "$entry")" = "[Desktop Entry]" ] || fail "entry does not start with [Desktop Entry]"
  [ "$(key Type)" = "Application" ] || fail "Type=$(key Type)"
  [ "$(key Name)" = "Korvane 2.1" ] || fail "Name=$(key Name)"
  [ "$(key Categories)" = "AudioVideo;Utility;" ] || fail "Categories=$(key Categories)"
  [ "$(key Icon)" = "korvane" ] || fail "Icon=$(key Icon)"
  # The space and the dollar sign of the prefix, quoted as the entry format wants.
  want="\"${prefix//\$/\\\\\$}/korvane\""
  [ "$(key Exec)" = "$want" ] || fail "Exec=$(key Exec), expected $want"
  [ "$(key TryExec)" = "$prefix/korvane" ] || fail "TryExec=$(key TryExec)"
  if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
  fi
fi
for size in 48 128; do
  png="$XDG_DATA_HOME/icons/hicolor/${size}x${size}/apps/korvane.png"
  if [ ! -s "$png" ]; then
    fail "no icon $png"
  elif [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
    fail "$png is not a PNG"
  else
    # Width and height from the IHDR chunk.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
  fi
done

# The installed program starts from its own folder: it finds Config.ini (a first run marks
# it 1), paints its window and ends itself through the startup probe.
# On a screen other than 800 x 600 a first run advises that size in a box that waits for a person.
runtime="$work/runtime"
mkdir -m 700 "$runtime"
probe="$work/probe"
printf '{"screens":[{"name":"s","x":0,"y":0,"width":800,"height":600,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}' > "$work/screen.json"
(cd / && XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" \
   KORVANE_STARTUP_PROBE="$probe" KORVANE_STARTUP_PROBE_QUIT_MS=500 \
   timeout 60 "$prefix/korvane" > "$work/run.log" 2>&1)
rc=$?
[ $rc -eq 0 ] || { cat "$work/run.log" >&2; fail "the installed program ended with $rc"; }
grep -q '^first_paint_ns ' "$probe" 2>/dev/null || fail "the installed program painted no window"
[ "$(od -An -c "$prefix/Config.ini" | tr -s ' ')" = " 1 \r \n" ] || fail "the first run did not mark Config.ini: $(od -An -c "$prefix/Config.ini")"

# Installing again keeps the used flag and leaves the remembered folder alone.
printf 'C:\\Music\r\n' > "$prefix/Data/Path.ini"
cmake --install "$build" --prefix "$prefix" > "$work/install2.log" 2>&1 || fail "second cmake --install"
[ "$(od -An -c "$prefix/Config.ini" | tr -s ' ')" = " 1 \r \n" ] || fail "a second install reset Config.ini"
[ "$(cat "$prefix/Data/Path.ini")" = "$(printf 'C:\\Music\r')" ] || fail "a second install touched Path.ini"

[ $failures -eq 0 ] && echo "install check passed"
exit $((failures > 0))
