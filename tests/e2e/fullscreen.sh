#!/usr/bin/env bash
# Full screen on a virtual display of 1280 x 1024, whose only mode is that size: the built game
# started as a new user would, windowed=0, reaches the main menu and shows it whole, its window
# over the whole display: the top and bottom bands in place, the four corners of the menu space
# inside the window's picture. One run per case:
#   1024x768   a mode the display lacks: full screen over the desktop, said once in Debug.txt
#   800x600    the same with another missing mode
#   1280x1024  the display's own mode: full screen in it
#   dialog     a settings file without video keys: the configuration dialog comes first and
#              "Play Game" (Enter), its video page never opened, writes the display's mode
# Usage: fullscreen.sh <case> <program> <Data folder> <xwd_pixel program>
set -uo pipefail

if [ "${1:-}" = "--on-display" ]; then
  on_display=1
  shift
else
  on_display=0
fi
case=$1 program=$2 data=$3 xwd_pixel=$4
e2e_dir=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL (fullscreen $case): $*" >&2
  for f in stderr.txt game/Debug.txt; do
    [ -f "$work/$f" ] && { echo "---- $f" >&2; tail -n 30 "$work/$f" >&2; }
  done
  exit 1
}

if [ $on_display -eq 0 ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/fairlark-fullscreen.XXXXXX") || exit 1
  export FAIRLARK_E2E_WORK=$work
  trap 'rm -rf "$work"' EXIT
  saves=$work/home/Documents/Fairlark
  mkdir -p "$work/game/Data" "$saves" "$work/run"
  chmod 700 "$work/run"
  cp "$program" "$work/game/fairlark" || fail "cannot copy $program"
  cp -r "$data/." "$work/game/Data/" || fail "cannot copy $data"
  case $case in
    dialog) printf '[Xq Config]\ndebug=1\n' >"$saves/Config.ini" ;;
    *x*)
      printf '[Xq Config]\nrunHwConfig=0\nwindowed=0\ndebug=1\nhRes=%d\nvRes=%d\n' \
        "${case%x*}" "${case#*x}" >"$saves/Config.ini" ;;
    *) fail "unknown case" ;;
  esac
  export HOME=$work/home XDG_DOCUMENTS_DIR=$work/home/Documents XDG_RUNTIME_DIR=$work/run
  unset XDG_CONFIG_HOME WAYLAND_DISPLAY
  bash "$e2e_dir/with_display.sh" bash "$0" --on-display "$case" "$program" "$data" \
    "$xwd_pixel"
  exit $?
fi

# ---- on the virtual display ----
work=$FAIRLARK_E2E_WORK
log=$work/game/Debug.txt
err=$work/stderr.txt
config=$work/home/Documents/Fairlark/Config.ini
cd "$work" || exit 1
"$work/game/fairlark" >"$work/stdout.txt" 2>"$err" &
pid=$!
trap 'kill -KILL $pid 2>/dev/null' EXIT
source "$e2e_dir/e2e_common.sh"

ini_value() { awk -F= -v k="$1" '$1 == k { print $2; exit }' "$config"; }
dialog_gone() { ! xdotool search --name '^Xq Config$' >/dev/null 2>&1; }
dialog_shown() { ! dialog_gone; }
# The dialog's first frame may come after the first key: Enter until its window goes.
play_game() {
  local id
  id=$(xdotool search --name '^Xq Config$' | head -n 1) || return 1
  xdotool windowfocus --sync "$id" key Return 2>/dev/null
  sleep 1
  dialog_gone
}
if [ "$case" = dialog ]; then
  wait_for 60 dialog_shown || fail "the configuration dialog did not appear"
  wait_for 60 play_game || fail "the dialog did not take Enter"
  [ "$(ini_value windowed)" = 0 ] && [ "$(ini_value hRes)" = 1280 ] &&
    [ "$(ini_value vRes)" = 1024 ] ||
    fail "the dialog wrote windowed=$(ini_value windowed) hRes=$(ini_value hRes)" \
      "vRes=$(ini_value vRes), not the display's only mode"
fi

main_menu() { [ -f "$log" ] && grep -aqF "Menu: MainMenu (MenuMain)" "$log"; }
wait_for 120 main_menu || fail "no main menu"

case $case in
  1024x768 | 800x600)
    said="AppStartRender: full screen over the desktop at 1280 x 1024: the display has no mode of ${case/x/ x }" ;;
  *) said="AppStartRender: full screen in the display's mode 1280 x 1024" ;;
esac
[ "$(grep -acF "$said" "$log")" = 1 ] || fail "Debug.txt does not say once: $said"

# The main menu's frame: bands of 48 16 64 over menu rows 0 to 63 and 704 to 767 (a lighter
# outline on their edges), the slides between them.
band_at() {
  local r g b
  read -r r g b < <("$xwd_pixel" "$shot" $(($1 * win_w / 1024)) $(($2 * win_h / 768))) || return 1
  seen="$seen ($1, $2): $r $g $b;"
  [ $((r - 48)) -ge -8 ] && [ $((r - 48)) -le 8 ] && [ $((g - 16)) -ge -8 ] &&
    [ $((g - 16)) -le 8 ] && [ $((b - 64)) -ge -8 ] && [ $((b - 64)) -le 8 ]
}
menu_whole() {
  local id geometry WIDTH HEIGHT X Y
  seen=
  id=$(xdotool search --name '^Fairlark$' | head -n 1) || return 1
  geometry=$(xdotool getwindowgeometry --shell "$id") || return 1
  eval "$geometry"
  win_w=$WIDTH win_h=$HEIGHT
  placed="${WIDTH}x${HEIGHT} at $X,$Y"
  [ "$placed" = "1280x1024 at 0,0" ] || return 1
  shot=$work/shot.xwd
  xwd -silent -id "$id" -out "$shot" 2>/dev/null || return 1
  # The corners, the bands across, and where each band ends.
  band_at 6 6 && band_at 1017 6 && band_at 6 761 && band_at 1017 761 && band_at 200 32 &&
    band_at 824 736 && band_at 6 56 && ! band_at 6 74 && band_at 6 712 && ! band_at 6 694
}
wait_for 60 menu_whole || fail "the main menu is not whole: window ${placed:-not found};$seen"
echo "ok (fullscreen $case): window $placed;$seen"

kill -TERM $pid
await_clean_end 60
