#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed game as a player meets it: installed into a scratch prefix,
# started under Xvfb by an ordinary user (not root) from their home folder,
# a user registered with real clicks and typing. The records must appear in
# the player's data folder, seeded with the starting top ten, and nothing may
# be written into the installation.
# Usage: installed_game.sh BUILD_DIR
set -euo pipefail
build_dir=$1
scratch=$(mktemp -d)
chmod 755 "$scratch"
xvfb_pid=
game_pid=
cleanup() {
  [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
sleep 1
touch "$scratch/installed"
home=$scratch/home
mkdir -p "$home"
as_player=()
if [[ $(id -u) -eq 0 ]]; then
  chown nobody "$home"
  as_player=(runuser -u nobody --)
fi

display=
for n in $(seq 120 140); do
  [[ -e /tmp/.X11-unix/X$n ]] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
  if [[ -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
[[ -n $display ]] || fail "Xvfb did not start"
export DISPLAY=$display

(cd "$home" && exec "${as_player[@]}" env -i PATH=/usr/bin:/bin HOME="$home" \
  DISPLAY="$display" "$prefix/games/quiravex") &
game_pid=$!

window=
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "Ver[0-9]" 2>/dev/null | tail -1 || true)
  [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || fail "the installed game's window did not appear"
sleep 0.5
origin() { xdotool getwindowgeometry --shell "$1" | awk -F= '/^[XY]=/{printf "%s ", $2} END{print ""}'; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }

read -r mx my < <(origin "$window")
click $((mx + 24 + 56)) $((my + 20))          # 登録 on the main menu
# Every screen opens centred, where the main menu is.
sleep 1
rx=$mx
ry=$my
click $((rx + 72 + 180)) $((ry + 256 + 28))    # the name box
xdotool type --delay 50 player
click $((rx + 64 + 76)) $((ry + 376 + 20))     # 登録
sleep 0.5
xdotool key Return                             # the message box
sleep 0.5

records=$home/.local/share/quiravex/Rec
[[ -f $records/record.dat ]] || fail "no top ten in $records"
cmp -s "$records/record.dat" "$prefix/share/quiravex/record.dat" || fail "the top ten was not seeded"
for file in panel.dat L_R.dat N_memory.dat Reflex.dat box.dat shape.dat stop.dat; do
  [[ -f $records/player/$file ]] || fail "registration did not make $records/player/$file"
done
written=$(find "$prefix" -newer "$scratch/installed")
[[ -z $written ]] || fail "the game wrote into its installation: $written"
echo "installed game: registered a user, records in $records"
