#!/usr/bin/env bash
# Plays the Windows release as a Windows player would, under Wine in a fresh prefix on
# a private Xvfb at 1366 x 768 (Wine's desktop with its taskbar): installs the
# installer silently, starts the installed game, chooses $25 by keys, bets on red by
# mouse, spins, closes the result box, leaves by the menu's Exit Game and uninstalls
# silently; then runs the zip's game from a folder whose path has a space and a
# non-ASCII letter, also at 125 % and 150 %. One line per step; screenshots and Wine's logs in
# build-windows/check/. Exit 1 when a step failed, 2 when the check could not start.
# Builds the release first when build-windows/ has none (scripts/build-windows.sh).
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh windows >/dev/null || exit 2
version=$(sed -n 's/^project(Spinzelle VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup=$PWD/build-windows/spinzelle-$version-win64-setup.exe
zip=$PWD/build-windows/spinzelle-$version-win64.zip
if [ ! -f "$setup" ] || [ ! -f "$zip" ]; then
  bash scripts/build-windows.sh >/dev/null || { echo "the release did not build" >&2; exit 2; }
fi

out=$PWD/build-windows/check
rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
width=1366 height=768
failures=0
pids=()

cleanup() {
  wineserver -k 2>/dev/null
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
}
trap cleanup EXIT

# A private X server on the first free display.
Xvfb -displayfd 5 -screen 0 ${width}x${height}x24 -nolisten tcp 5>"$out/display" 2>"$out/xvfb.log" &
pids+=($!)
until=$((SECONDS + 20))
until [ -s "$out/display" ]; do ((SECONDS < until)) || { echo "Xvfb did not start" >&2; exit 2; }; sleep 0.2; done
display=$(cat "$out/display")
export DISPLAY=:$display

ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
wait_for() {  # seconds, command...: true once the command is
  local until=$((SECONDS + $1)); shift
  until "$@" 2>/dev/null; do ((SECONDS < until)) || return 1; sleep 0.5; done
}
shot() { import -window root "$out/$1.png"; }
win() { wine "$@" >>"$out/wine.log" 2>&1; }
# C:\... as the Unix path under the prefix.
unix_path() { winepath -u "$1" 2>/dev/null; }
reg_has() { wine reg query "$1" >/dev/null 2>&1; }

# Where the table is, from a screenshot: its felt (#004000) gives its place and scale.
# Prints the felt's left, top, width and height, or nothing.
felt() {
  convert "$out/$1.png" -depth 8 rgb:- | python3 -c '
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
data = sys.stdin.buffer.read()
felt = b"\x00\x40\x00"
left, right, rows = w, -1, []
for y in range(h):
    row = data[y * w * 3:(y + 1) * w * 3]
    # The longest run of felt in the row; a stray pixel of its colour is no felt.
    best, x = (0, 0), 0
    while x < w:
        if row[3 * x:3 * x + 3] == felt:
            start = x
            while x < w and row[3 * x:3 * x + 3] == felt:
                x += 1
            best = max(best, (x - start, start))
        else:
            x += 1
    if best[0] >= 30:
        rows.append(y)
        left, right = min(left, best[1]), max(right, best[1] + best[0] - 1)
if len(rows) > 50:
    print(left, rows[0], right - left + 1, rows[-1] - rows[0] + 1)
' "$width" "$height"
}
table_up() { shot "$1" && [ -n "$(felt "$1")" ]; }
# The centre of a spot, from its place in the layout's twips (15 to a pixel at scale 1;
# the felt starts at 5880, 120 and is 5775 wide).
spot_centre() {  # felt geometry, left, top, width, height in twips
  python3 -c '
import sys
fx, fy, fw, fh, l, t, w, h = map(int, sys.argv[1:])
s = fw / (5775 / 15)
print(round(fx + ((l + w / 2) - 5880) / 15 * s), round(fy + ((t + h / 2) - 120) / 15 * s))
' $1 $2 $3 $4 $5 $6 $7 $8
}

# 1. A fresh prefix whose desktop is Wine's own, 1366 x 768, with a taskbar.
win wineboot --init && wineserver -w
# (A desktop named "shell" has Wine's taskbar.)
win reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
win reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d ${width}x${height} /f
wineserver -k
# The faces as a Windows player has them: Wine's own (Tahoma for the system's dialogs,
# Marlett for the title bar's buttons), which Debian's Wine leaves out of a new prefix,
# and Arial, Times New Roman and Courier New by their metric twins.
fonts=$(unix_path 'C:\windows\Fonts')
mkdir -p "$fonts" && cp /usr/share/wine/fonts/*.ttf "$fonts/"
for twin in 'Arial=Liberation Sans' 'Times New Roman=Liberation Serif' 'Courier New=Liberation Mono'; do
  win reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${twin%%=*}" /d "${twin#*=}" /f
done
if [ -f "$WINEPREFIX/system.reg" ]; then ok "a fresh Wine prefix ($(wine --version))"; else fail "no Wine prefix"; exit 1; fi

# 2. The installer, silently, for the whole machine.
win "$setup" /S
wineserver -w
programs=$(unix_path 'C:\Program Files')/Spinzelle
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Spinzelle'
menu=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')
if [ -f "$programs/spinzelle.exe" ] && [ -f "$menu/Spinzelle/Spinzelle.lnk" ] && reg_has "$key"; then
  wine reg query "$key" >"$out/uninstall-key.txt" 2>&1
  missing=()
  for v in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString; do
    grep -q "^ *$v " "$out/uninstall-key.txt" || missing+=("$v")
  done
  grep -q "^ *NoModify *REG_DWORD *0x1" "$out/uninstall-key.txt" || missing+=("NoModify as a number")
  if ((${#missing[@]})); then
    fail "installed, but Apps & features lacks ${missing[*]}"
  else
    ok "installed silently into C:\\Program Files\\Spinzelle, Start menu Spinzelle, Apps & features: $(
      sed -n 's/^ *DisplayName *REG_SZ *//p' "$out/uninstall-key.txt" | tr -d '\r') $(
      sed -n 's/^ *DisplayVersion *REG_SZ *//p' "$out/uninstall-key.txt" | tr -d '\r')"
  fi
else
  fail "silent install: exe, Start-menu shortcut or uninstall key missing"
fi

# 3. Installed once more over itself.
win "$setup" /S
wineserver -w
if [ -f "$programs/spinzelle.exe" ] && reg_has "$key"; then ok "installed again over itself"; else fail "install over itself"; fi

# Plays a game with the program at the given Windows path, naming screenshots by prefix.
play() {
  local exe=$1 name=$2
  ( cd "$(dirname "$(unix_path "$exe")")" && exec wine "$exe" ) >>"$out/$name-game.log" 2>&1 &
  local game=$!
  # The start-up window: the amount box has the keyboard; $25, Return for Begin.
  sleep 8
  shot "$name-start"
  xdotool type --delay 60 '$25'
  xdotool key Return
  wait_for 20 table_up "$name-table"
  local geometry
  geometry=$(felt "$name-table")
  if [ -z "$geometry" ]; then
    fail "$name: no table after \$25 and Return (see $name-start.png, $name-table.png)"
    kill "$game" 2>/dev/null; wineserver -k; return
  fi
  ok "$name: \$25 by keys opens the table (felt at ${geometry// /,})"
  # The red spot, by mouse, with the $1 chip the table starts with.
  read -r x y < <(spot_centre $geometry 6360 5520 615 1335)
  xdotool mousemove "$x" "$y" click 1
  sleep 1
  shot "$name-bet"
  # BETS READY!, by mouse too; the wheel turns 2.5 s, then the result box has the keys.
  read -r x y < <(spot_centre $geometry 1920 8520 2055 1455)
  xdotool mousemove "$x" "$y" click 1
  sleep 5
  shot "$name-box"
  xdotool key Return
  sleep 1
  shot "$name-after"
  if compare -metric AE "$out/$name-table.png" "$out/$name-bet.png" null: 2>/dev/null; then
    fail "$name: the click on red changed nothing"
  elif compare -metric AE "$out/$name-box.png" "$out/$name-after.png" null: 2>/dev/null; then
    fail "$name: no result box came and went (see $name-box.png)"
  else
    ok "$name: a bet on red by mouse, a spin, the result box closed (see $name-box.png)"
  fi
  # The menu by keys: Alt+M, then E for Exit Game.
  xdotool key alt+m
  sleep 1
  shot "$name-menu"
  xdotool key e
  if wait_for 15 bash -c "! kill -0 $game"; then
    ok "$name: Exit Game ends the game"
  else
    fail "$name: still running after Exit Game (see $name-menu.png)"
    kill "$game" 2>/dev/null
  fi
  wineserver -w
}

# 4. The installed game, started as its shortcut starts it.
play 'C:\Program Files\Spinzelle\spinzelle.exe' installed

# 5. Uninstalled silently, as Apps & features does it: nothing left behind.
quiet=$(wine reg query "$key" /v QuietUninstallString 2>/dev/null | sed -n 's/^ *QuietUninstallString *REG_SZ *//p' | tr -d '\r')
# "C:\...\Uninstall.exe" /S: the program in its quotes, then its switch.
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
win "$uninstaller" ${quiet##*\" }
wineserver -w  # the registry is written out as the server ends
left=()
[ -e "$programs" ] && left+=("C:\\Program Files\\Spinzelle")
[ -e "$menu/Spinzelle" ] && left+=("the Start menu's Spinzelle")
reg_has "$key" && left+=("$key")
keys=$(grep -hi '^\[.*spinzelle' "$WINEPREFIX"/*.reg | cut -d']' -f1 | tr -d '[' | tr '\n' ' ')
[ -n "$keys" ] && left+=("registry keys $keys")
if ((${#left[@]})); then fail "uninstall left ${left[*]}"; else ok "uninstalled silently, nothing left"; fi

# 6. The zip, unpacked where a player might: a path with a space and a non-ASCII letter.
# (Not on Wine's Desktop, which is the Unix home.)
folder="$(unix_path 'C:\')/Spiele für mich"
mkdir -p "$folder"
unzip -q -o "$zip" -d "$folder"
zipped=$(cd "$folder" && ls -d spinzelle-*-win64)
play "C:\\Spiele für mich\\$zipped\\spinzelle.exe" zip

# 7. The same game at 125 % and 150 % (Windows' LogPixels): the whole table, smaller
# where it must be, above the taskbar. Its felt stands 1.857 times as tall as wide.
for dpi in 120:125 144:150; do
  win reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${dpi%%:*}" /f
  wineserver -k
  ( cd "$folder/$zipped" && exec wine spinzelle.exe ) >>"$out/zip-${dpi#*:}-game.log" 2>&1 &
  game=$!
  sleep 8
  xdotool type --delay 60 '$25'
  xdotool key Return
  wait_for 20 table_up "zip-${dpi#*:}-table"
  read -r fx fy fw fh < <(felt "zip-${dpi#*:}-table"; echo)
  if [ -n "$fh" ] && ((fh * 1000 / fw >= 1830 && fy + fh < height - 20)); then
    ok "zip at ${dpi#*:} %: the whole table above the taskbar (felt ${fw}x$fh at $fx,$fy)"
  else
    fail "zip at ${dpi#*:} %: the table is cut off or missing (see zip-${dpi#*:}-table.png)"
  fi
  xdotool key alt+m
  sleep 1
  xdotool key e
  wait_for 15 bash -c "! kill -0 $game" || kill "$game" 2>/dev/null
  wineserver -w
done

echo "screenshots in ${out#$PWD/}/"
((failures == 0))
