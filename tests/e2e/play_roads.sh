#!/usr/bin/env bash
# Plays the built game through its screens as a person would: real X input (XTEST, through
# xdotool, never aimed at a window, so nothing is marked synthetic) into the shipped program on a
# virtual display, paced by the lines the game writes with debug=1 and by screenshots.
#
# Roads, each its own run of the program; later roads start again on the earlier roads' folder:
#   sandbox    first start: the splashes, a new sandbox with bills, one trash can placed, the
#              day ended from the debug row, a save refused for "../E2E" and then saved as "E2E",
#              back to the main menu and quit. The save's figures, the files left behind and what
#              the screens showed on the way are checked.
#   career     second start, closing time 12.0 in the copy's Data.ini, the window made 800 x 600,
#              the sound system switched off ("digDriverEnabled"=0): a new career, a day run at 8X
#              time through its hourly reports, saved at its end; no sound device opened.
#   roundtrip  third start, sound on and music off ("enableMP3Music"=0): the sandbox loaded and
#              saved again as a layout "E2E2" with the same entities; the career listed; a new
#              career of the same name refused without touching the saved one; no music stream.
# Bad input, each on a fresh folder of its own and ending with status 0:
#   nomenuscript  "Menu\MainMenu\MenuMain.lua" deleted: "LuaScript Compile/Load Error" (a missing
#                 file is no syntax error), and the main menu's own controls still lead to a
#                 sandbox's HUD
#   stuckloader   venue 0's script only waits: the loader gives up, Back reaches the selector and
#                 no world is made
#   readonlysave  the save folder read-only at the sandbox's save (a read-only mount for root):
#                 "SAVE FAILED" over the world, the log giving the system's reason,
#                 nothing written; the folder writable again, the dialog's OK saves and the main
#                 menu comes (skipped, status 77, only where the kernel refuses root a private
#                 read-only mount)
#   closeday      a close request in the middle of a career day: a clean shutdown, the career file
#                 as it was before the day
# By the keyboard alone, on a fresh folder (closing time 12.0):
#   keyboard  the splashes; the Quit question, New Career and the load lists left by Escape, the
#             career and sandbox menus' second choices reached by Down; a new sandbox, the
#             catalogue and one placement (the mouse only for the placement point, and for the
#             placed attraction and its Delete, whose question Escape leaves), the pause menu,
#             Help and back, the day at 8X to its end, a save,
#             the main menu and Quit; screenshots of the main menu, the HUD, the catalogue, Help
#             and the end of day are kept in the build folder's e2e-shots/
# The screens a player reads, on a fresh folder of its own (kept in e2e-shots/ as screens-*):
#   screens  Credits, Help and Options from the main menu; a new career: New Career, the venue
#            selector scrolled to a locked venue and the venue set-up; in the HUD Show Grid on, the
#            catalogue's rides with a locked row and the placement over the grid; then a close
#            request
# The people, on a fresh folder of their own:
#   people     a sandbox opened and, before its gates, a carny hired from the employees report:
#              its row shows and it is seen walking from the way in; then the day opened:
#              patrons are seen walking on the ground under the camera and a click on one opens
#              the patron panel; last the carny viewed from the report opens its employee panel
#
# Pacing: nothing goes to a screen before its "Menu: <name> (<class>)" line in Debug.txt, read
# after the line of the screen before; within a screen the game's input ring keeps the order of
# what is sent. Before the first click on a button the pointer goes there and the driver waits
# for the button's focused (yellow) frame, so that a wrong point fails by name. Every wait has a
# limit only to turn a hang into a named failure: 30 s, 300 s while a day runs, each stretched for
# a loaded machine (e2e_common.sh). A failure keeps the screenshots (every one is kept) and prints
# Debug.txt's and stderr's tails.
#
# Usage: play_roads.sh <road> <program> <Data folder> <xwd_pixel program> <roads folder>
# The roads folder holds the game, its home and the screenshots; the sandbox road and the bad-input
# roads make theirs afresh.
set -uo pipefail

# A read-only folder does not stop root: as root the read-only road runs in a mount namespace of
# its own, where the save folder is mounted read-only over itself and the mount goes with the run.
if [ "${1:-}" = readonlysave ] && [ "$(id -u)" -eq 0 ] && [ -z "${FAIRLARK_ROADS_UNSHARED:-}" ] &&
  unshare -m --propagation private true 2>/dev/null; then
  FAIRLARK_ROADS_UNSHARED=1 exec unshare -m --propagation private bash "$0" "$@"
fi

if [ "${1:-}" = "--on-display" ]; then
  on_display=1
  shift
else
  on_display=0
fi
road=$1
# Absolute: the run happens from the roads folder.
program=$(realpath "$2") data=$(realpath "$3") xwd_pixel=$(realpath "$4") roads=$(realpath -m "$5")
e2e_dir=$(cd "$(dirname "$0")" && pwd)

work=$roads
game=$work/game
log=$game/Debug.txt
err=$work/stderr-$road.txt
saves=$work/home/Documents/Fairlark
shots=$work/shots/$road
last_shot=none

fail() {
  echo "FAIL ($road): $*" >&2
  # What the window showed when the road failed.
  if [ -n "${id:-}" ] && [ $on_display -eq 1 ] && kill -0 "${pid:-0}" 2>/dev/null; then
    shot failure 2>/dev/null
  fi
  echo "---- the last screenshot: $last_shot" >&2
  for f in "$err" "$log"; do
    [ -f "$f" ] && { echo "---- $f" >&2; tail -n 40 "$f" >&2; }
  done
  exit 1
}

if [ $on_display -eq 0 ]; then
  case $road in
    sandbox | nomenuscript | stuckloader | readonlysave | closeday | keyboard | people | screens)
      # Made afresh, but only ever a folder this script made.
      if [ -e "$work" ]; then
        [ -f "$work/.fairlark-roads" ] || fail "$work exists and is not a roads folder"
        rm -rf "$work" || fail "cannot empty $work"
      fi
      mkdir -p "$game/Data" "$saves" "$work/run" || fail "cannot make $work"
      touch "$work/.fairlark-roads"
      chmod 700 "$work/run"
      cp -r "$data/." "$game/Data/" || fail "cannot copy $data"
      printf '[Xq Config]\nrunHwConfig=0\nwindowed=1\ndebug=1\nrunWhileInactive=1\n' \
        >"$saves/Config.ini" ;;&
    career | roundtrip)
      [ -f "$work/.fairlark-roads" ] || fail "no roads folder at $work: the sandbox road runs first" ;;&
    career)
      # The player switched the sound system off: the day is played without a sound device.
      sed -i 's/^\[Xq Config\]$/[Xq Config]\ndigDriverEnabled=0/' "$saves/Config.ini"
      grep -qx 'digDriverEnabled=0' "$saves/Config.ini" || fail "cannot switch the sound off" ;;&
    roundtrip)
      # Sound back on, music off: no music stream is opened.
      sed -i 's/^digDriverEnabled=0$/digDriverEnabled=1\nenableMP3Music=0/' "$saves/Config.ini"
      grep -qx 'enableMP3Music=0' "$saves/Config.ini" || fail "cannot switch the music off" ;;&
    career | keyboard)
      # A short day: the venue closes at noon.
      sed -i '/^\[GameVals\]/,/^\[/ s/^closingTime=.*/closingTime=12.0/' "$game/Data/Data.ini"
      grep -qx 'closingTime=12.0' "$game/Data/Data.ini" || fail "cannot set the closing time" ;;
    roundtrip) ;;
    nomenuscript)
      rm "$game/Data/Menu/MainMenu/MenuMain.lua" || fail "no main menu script to delete" ;;
    stuckloader)
      # Venue 0's world script only waits: no world is ever reported loaded.
      printf 'while true do\n    Script.WaitFrame(1)\nend\n' >"$game/Data/Venues/Stuck.lua"
      sed -i '/^\[Venue00\]/,/^\[/ s/^scriptFile=.*/scriptFile=Venues\\Stuck.lua/' \
        "$game/Data/Venue.ini"
      grep -qxF 'scriptFile=Venues\Stuck.lua' "$game/Data/Venue.ini" ||
        fail "cannot point venue 0 at the waiting script" ;;
    sandbox | readonlysave | closeday | keyboard | people | screens) ;;
    *)
      fail "unknown road" ;;
  esac
  # The program as built now: the roads after the first start again with it, on their data.
  rm -f "$game/fairlark"
  cp "$program" "$game/fairlark" || fail "cannot copy $program"
  rm -rf "$shots"
  mkdir -p "$shots"
  export HOME=$work/home XDG_DOCUMENTS_DIR=$work/home/Documents XDG_RUNTIME_DIR=$work/run
  unset XDG_CONFIG_HOME WAYLAND_DISPLAY
  bash "$e2e_dir/with_display.sh" bash "$0" --on-display "$road" "$program" "$data" \
    "$xwd_pixel" "$roads"
  exit $?
fi

# ---- on the virtual display ----
started_at=$SECONDS
cd "$work" || exit 1
# Debug.txt is written afresh by each start: the lines read are this run's.
rm -f "$log"
"$game/fairlark" >"$work/stdout-$road.txt" 2>"$err" &
pid=$!
trap 'kill -KILL $pid 2>/dev/null' EXIT
source "$e2e_dir/e2e_common.sh"

# ---- the lines the game writes ----
# The number of Debug.txt's lines already read: a screen's line counts only after the line of
# the screen before it.
mark=0
# "(<class>)" alone takes any name of that class.
menu_line_after() {
  local n
  [ -f "$log" ] || return 1
  n=$(awk -v m=$mark -v want="$1" 'NR <= m || substr($0, 1, 6) != "Menu: " { next }
    substr(want, 1, 1) == "(" ? substr($0, length($0) - length(want)) == " " want : $0 == "Menu: " want {
      print NR; exit }' "$log")
  [ -n "$n" ] && mark=$n
}
# Waits for "Menu: <name> (<class>)"; a second argument gives the limit in seconds.
await_menu() {
  wait_for "${2:-30}" menu_line_after "$1" ||
    fail "no \"Menu: $1\" within ${2:-30} s; the last: $(grep -a '^Menu: ' "$log" | tail -n 1)"
  echo "screen: $1 ($((SECONDS - started_at)) s)"
}
# The first of the given menus to appear after the mark: its text in $appeared.
first_menu_after() {
  local n best='' want
  appeared=
  [ -f "$log" ] || return 1
  for want in "$@"; do
    n=$(awk -v m=$mark -v want="Menu: $want" 'NR > m && $0 == want { print NR; exit }' "$log")
    if [ -n "$n" ] && { [ -z "$best" ] || [ "$n" -lt "$best" ]; }; then
      best=$n appeared=$want
    fi
  done
  [ -n "$best" ] && mark=$best
}

# ---- the window ----
window_id() {
  window_named Fairlark 60 || fail "the game's window did not appear"
  # The window can be found before it is mapped: focused once it can be.
  focus_window() { timeout 5 xdotool windowfocus --sync "$id" 2>/dev/null; }
  wait_for 30 focus_window || fail "cannot focus the game's window"
  read_geometry
}
read_geometry() {
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$id") || fail "no geometry of the game's window"
  eval "$geometry"
  win_w=$WIDTH win_h=$HEIGHT
}
# A menu point (1024 x 768) as the window's pixel.
wx() { echo $(($1 * win_w / 1024)); }
wy() { echo $(($1 * win_h / 768)); }

# ---- screenshots ----
shot_count=0
# Takes a screenshot named $1, kept; its path in $last_shot.
shot() {
  shot_count=$((shot_count + 1))
  local file
  file=$shots/$(printf '%02d' $shot_count)-$1.xwd
  xwd -silent -id "$id" -out "$file" 2>/dev/null || return 1
  last_shot=$file
}
# How many pixels of the last shot's menu rectangle $1..$4 the awk test $5 (over r, g, b) takes,
# as "taken of total".
count_in() {
  "$xwd_pixel" "$last_shot" --rect "$(wx "$1")" "$(wy "$2")" "$(wx "$3")" "$(wy "$4")" |
    awk '{ r = $3; g = $4; b = $5 } '"$5"' { t++ } END { print t + 0, "of", NR }'
}
# The colour of the last shot at a menu point, as "r g b".
colour_at() { "$xwd_pixel" "$last_shot" "$(wx "$1")" "$(wy "$2")"; }
near() { [ $(($1 - $2)) -ge -"$3" ] && [ $(($1 - $2)) -le "$3" ]; }
# The last shot holds, at the menu point $1 $2, the colour $3 $4 $5 (within 8 levels).
shows_colour() {
  local r g b
  read -r r g b < <(colour_at "$1" "$2") || return 1
  seen="$r $g $b at ($1, $2)"
  near "$r" "$3" 8 && near "$g" "$4" 8 && near "$b" "$5" 8
}
# Every pixel the samples name, recorded for the report.
samples=$work/samples-$road.txt
: >"$samples"
sample() { echo "$*" | tee -a "$samples"; }

# ---- input ----
key() { xdotool key "$@"; }
# The focused frame of a button or a check box: its yellow, near the menu point.
focused_test='r >= 150 && g >= 130 && b <= 100 && r - b >= 100'
# A hand on the mouse is never quite still: each look nudges the pointer a pixel and back, so a
# screen that opened after the pointer arrived still hears it move.
focused_at() {
  xdotool mousemove_relative 1 0 sleep 0.05 mousemove_relative -- -1 0
  shot focus || return 1
  read -r taken _ < <(count_in $(($1 - 24)) $(($2 - 8)) $(($1 + 24)) $(($2 + 8)) "$focused_test")
  [ "${taken:-0}" -ge 3 ]
}
# Clicks the menu point $1 $2 with the left button. Unless "nofocus" follows, the pointer first
# goes there and the button's focused frame is waited for.
# The game reads the mouse and the keyboard once a frame, the mouse first, and the pointer's
# motion before its buttons: a hand that moves within the frame of a key or a click would be read
# out of order. So the hand rests a second before it moves, and after it clicks.
click() {
  sleep 1
  xdotool mousemove "$(wx "$1")" "$(wy "$2")"
  if [ "${3:-}" != nofocus ]; then
    wait_for 30 focused_at "$1" "$2" || fail "no focused frame at ($1, $2) within 30 s"
  fi
  xdotool mousedown 1 sleep 0.1 mouseup 1
  sleep 1
}

# ---- checks of the screens ----
# A full-screen colour, its name in letters across part of it: at least four of six points around
# the menu point hold it (within 8 levels). The points read in $seen.
mostly_colour() {
  local x=$1 y=$2 args=() dx dy
  for dx in -40 0 40; do
    for dy in -30 30; do
      args+=("$(wx $((x + dx)))" "$(wy $((y + dy)))")
    done
  done
  seen=$("$xwd_pixel" "$last_shot" "${args[@]}" | paste -sd,) || return 1
  awk -v want="$3 $4 $5" 'BEGIN { RS = ","; split(want, w, " ") }
    function abs(v) { return v < 0 ? -v : v }
    { split($0, c, " "); if (abs(c[1] - w[1]) <= 8 && abs(c[2] - w[2]) <= 8 && abs(c[3] - w[3]) <= 8) n++ }
    END { exit !(n >= 4) }' <<<"$seen"
}

# Waits for the game's own end within $1 seconds; status 0, the session's stop line, no report
# of the sanitizers.
# Texts after the seconds are expected in this run and not counted against it.
ends_cleanly() {
  local expected=("${@:2}")
  await_clean_end "$1"
  local text
  for text in "Syntax Error" "LuaScript Compile/Load Error" "LuaScript Runtime Error" \
    "could not find" "not registered" "cannot open"; do
    [[ " ${expected[*]} " == *" $text "* ]] && continue
    ! grep -aqF "$text" "$err" "$log" ||
      fail "the run wrote \"$text\": $(grep -ahF "$text" "$err" "$log" | head -n 3)"
  done
}
# From the main menu: Escape, Left (to OK), Enter; the program ends with status 0 within 10 s.
quit_from_main() {
  key Escape
  await_menu "ConfirmExit (MenuConfirmExit)"
  key Left Return
  ends_cleanly 10
  echo "$road: exit status 0 after $((SECONDS - started_at)) s"
}

# An ini file's value: section $2, key $3.
ini_value() {
  awk -F= -v s="[$2]" -v k="$3" '/^\[/ { inside = ($0 == s) } inside && $1 == k { print $2; exit }' "$1"
}
# The entity sections of a save (every section but the first, which is the save's own), as text.
entity_sections() { awk '/^\[/ { n++ } n > 1' "$1"; }

# The main menu: its bands' colour at the top and the slides showing between them.
main_menu_seen() {
  shot "$1" || return 1
  shows_colour 512 740 48 16 64 || { main_seen="band $seen"; return 1; }
  local band=$seen
  # The slide show fades between slides: any slide is a flat colour over the window's middle.
  local a b
  a=$(colour_at 100 600) b=$(colour_at 924 600)
  main_seen="band $band, slide $a at (100, 600) and $b at (924, 600)"
  [ "$a" = "$b" ] && [ "$a" != "48 16 64" ]
}

# The name field of a save dialog is being edited: its white caret blinks in it (checked in
# several shots, the blink's half-second off time included).
editing_shown() {
  shot editing || return 1
  [ "$(count_in 357 462 675 490 'r >= 240 && g >= 240 && b >= 240' | cut -d' ' -f1)" -ge 10 ]
}
await_editing() { wait_for 30 editing_shown || fail "the name field shows no caret"; }

# The name field shows yellow text up to the menu columns $1 to $2 and none beyond them.
name_shown() {
  shot typed || return 1
  [ "$(count_in "$1" 462 "$2" 490 "$focused_test" | cut -d' ' -f1)" -ge 10 ] &&
    [ "$(count_in $(($2 + 5)) 462 675 490 "$focused_test" | cut -d' ' -f1)" -eq 0 ]
}

# The HUD: its band over menu rows 0 to 170, the default venue's ground below (blue no more than
# red or green + 5, not dark, as the venue's own run measured it).
hud_seen() {
  shot hud || return 1
  local p band=0 ground
  for p in "100 150" "300 150" "512 150" "300 100" "800 160"; do
    # shellcheck disable=SC2086
    shows_colour $p 78 112 79 && band=$((band + 1))
  done
  ground=$(count_in 0 190 1023 767 'b <= (r > g ? r : g) + 5 && r + g + b > 90')
  hud="band $band of 5 points ($seen), ground-like $ground"
  read -r t _ n <<<"$ground"
  [ $band -eq 5 ] && [ $((t * 100)) -ge $((n * 80)) ]
}

# The HUD's placement hint in white along the bottom: a chosen type follows the pointer.
placing_hint() {
  shot placing || return 1
  [ "$(count_in 10 715 520 745 'r >= 220 && g >= 220 && b >= 220' | cut -d' ' -f1)" -ge 50 ]
}
# The end of day's figures in white; their count in $figures.
figures_seen() {
  shot endofday || return 1
  figures=$(count_in 400 300 630 420 'r >= 220 && g >= 220 && b >= 220')
  [ "${figures%% *}" -ge 100 ]
}
# The day runs to its closing time; each hourly report is answered as it comes, their number in
# $reports.
day_to_its_end() {
  reports=0
  while :; do
    wait_for 300 first_menu_after "MenuReportHourly (MenuReportHourly)" \
      "MenuEndOfDay (MenuEndOfDay)" || fail "neither an hourly report nor the end of day in 300 s"
    [ "$appeared" = "MenuEndOfDay (MenuEndOfDay)" ] && break
    reports=$((reports + 1))
    echo "screen: hourly report $reports ($((SECONDS - started_at)) s)"
    key Return
  done
  echo "screen: MenuEndOfDay (MenuEndOfDay) ($((SECONDS - started_at)) s)"
}

sandbox_road() {
  window_id
  [ "$win_w" -eq 1024 ] && [ "$win_h" -eq 768 ] || fail "the window is $win_w x $win_h, not 1024 x 768"
  # The pointer out of the way of the samples until the first click.
  xdotool mousemove 1000 10
  await_menu "PublisherSplash (MenuPublisher)"
  seen=none
  splash_held() { shot publisher && mostly_colour 512 300 40 72 160; }
  wait_for 30 splash_held || fail "the publisher splash never held its colour: $seen"
  sample "publisher splash: $seen"
  key space
  await_menu "PublisherSplash (MenuTolvane)"
  key space
  await_menu "MainMenu (MenuMain)"
  main_seen=none
  wait_for 30 main_menu_seen main || fail "the main menu: $main_seen"
  sample "main menu: $main_seen"

  key Return
  await_menu "MenuSandbox (MenuSandbox)"
  key Return
  await_menu "MidwaySelector (MidwaySelector)"
  key Return
  await_menu "MenuVenueSetup (MenuVenueSetup)"
  click 311 514
  # The check shows in the box before Start is pressed.
  click 779 667
  await_menu "WorldLoader (MenuWorldLoader)"
  # A fast build loads the world within a frame or two. A shot that does not show the loader,
  # taken after the HUD was made, means it has gone: the road goes on without this sample.
  loading_seen() {
    local gone=0 title cursor
    awk -v m=$mark 'NR > m && $0 == "Menu: MenuGameRunning (MenuGameRunning)" { f = 1 }
      END { exit !f }' "$log" && gone=1
    shot loading || return 1
    title=$(count_in 400 180 624 220 'r >= 200 && g >= 200 && b >= 200')
    # The pointer rests on Start; the game draws no cursor while it loads.
    cursor=$(count_in 779 667 800 700 'g >= 150 && r <= 100 && b <= 120')
    loader="title $title white, cursor $cursor green"
    [ "${title%% *}" -ge 50 ] && [ "${cursor%% *}" -eq 0 ] && return 0
    [ $gone -eq 1 ] && loader="gone before a shot could show it ($loader)"
  }
  loader=none
  wait_for 30 loading_seen || fail "\"Loading...\": $loader"
  sample "loader: $loader"
  await_menu "MenuGameRunning (MenuGameRunning)" 120
  await_menu "MenuVenueIntro (MenuVenueIntro)"
  key Return

  hud=none
  # The intro's panel gone, the band and the ground show.
  wait_for 30 hud_seen || fail "the HUD: $hud"
  sample "HUD: $hud"
  # The HUD's Start, then the pointer where the attraction will go, for the picture before.
  click 67 313
  xdotool mousemove "$(wx 512)" "$(wy 450)"
  start_gone() {
    shot before || return 1
    [ "$(count_in 43 290 91 336 "$focused_test" | cut -d' ' -f1)" -eq 0 ]
  }
  wait_for 30 start_gone || fail "the HUD's Start stayed after its click"
  before=$last_shot

  click 769 35
  await_menu "EquipResource (MenuEquipResource)"
  click 516 362 nofocus
  click 631 692
  # The chosen type follows the pointer: placed with a press and release where it stands.
  xdotool mousemove "$(wx 500)" "$(wy 460)" sleep 0.5 mousemove "$(wx 512)" "$(wy 450)"
  wait_for 30 placing_hint || fail "no placement hint within 30 s"
  xdotool mousedown 1 sleep 0.1 mouseup 1
  placed_seen() {
    shot placed || return 1
    placed=$(paste -d' ' <("$xwd_pixel" "$before" --rect $(($(wx 512) - 96)) $(($(wy 450) - 96)) \
      $(($(wx 512) + 96)) $(($(wy 450) + 96))) <("$xwd_pixel" "$last_shot" --rect \
      $(($(wx 512) - 96)) $(($(wy 450) - 96)) $(($(wx 512) + 96)) $(($(wy 450) + 96))) |
      awk -v cx="$(wx 512)" -v cy="$(wy 450)" '
        function abs(v) { return v < 0 ? -v : v }
        { d = abs($3 - $8); if (abs($4 - $9) > d) d = abs($4 - $9); if (abs($5 - $10) > d) d = abs($5 - $10)
          if (d >= 30) { ch[$1 " " $2] = 1; sx += $1; sy += $2; n++ } }
        END {
          if (!n) { print "nothing changed"; exit 1 }
          mx = int(sx / n); my = int(sy / n); w = 0
          for (p in ch) { split(p, q, " "); if (abs(q[1] - mx) < 32 && abs(q[2] - my) < 32) w++ }
          near = 0
          for (p in ch) { split(p, q, " "); if (abs(q[1] - cx) < 32 && abs(q[2] - cy) < 32) near++ }
          printf "%d pixels changed, centred at (%d, %d): %d%% of the 64 x 64 window there, %d%% of the one at the click\n", n, mx, my, w * 100 / 4096, near * 100 / 4096
          exit !(w * 100 >= 15 * 4096 && abs(mx - cx) <= 96 && abs(my - cy) <= 96) }')
  }
  placed=none
  wait_for 30 placed_seen || fail "the placement: $placed"
  sample "placement: $placed"

  # The debug row: Control held over a frame or more as a hand would, then c.
  xdotool keydown Control_L sleep 0.3 key c sleep 0.3 keyup Control_L
  click 30 563
  await_menu "MenuEndOfDay (MenuEndOfDay)"
  end_line=$(grep -a '^MenuEndOfDay: start ' "$log" | tail -n 1)
  [ -n "$end_line" ] || fail "no \"MenuEndOfDay:\" line"
  end_figure=$(awk '{ print $5 }' <<<"$end_line")
  figures=none
  wait_for 30 figures_seen || fail "the end of day's figures: $figures white"
  sample "end of day: $figures white pixels in the figures; $end_line"

  click 512 541
  await_menu "MenuSandboxSave (MenuSandboxSave)"
  key Return
  await_editing
  xdotool type --delay 80 "../E2E"
  # The typed text reads to the end of "../E2E" before Enter ends the editing.
  wait_for 30 name_shown 430 450 || fail "the field does not show \"../E2E\""
  key Return
  click 632 562
  await_menu "MenuYesNo (MenuYesNo)"
  grep -aqF 'MenuSandboxSave: the name "../E2E" is not allowed' "$log" ||
    fail "the refusal of \"../E2E\" was not logged"
  key Return
  # The dialog behind the question is active again once the question's plain white screen
  # (left of its panel) has gone.
  question_gone() {
    local t n
    shot question-gone || return 1
    read -r t _ n < <(count_in 0 300 200 400 'r >= 220 && g >= 220 && b >= 220')
    [ $((t * 2)) -lt "$n" ]
  }
  wait_for 30 question_gone || fail "\"NAME NOT ALLOWED\" did not close"
  # The field shows its text in yellow once the pointer is over it.
  field_focused() {
    shot field || return 1
    [ "$(count_in 357 462 675 490 "$focused_test" | cut -d' ' -f1)" -ge 20 ]
  }
  sleep 1
  xdotool mousemove "$(wx 516)" "$(wy 475)"
  wait_for 30 field_focused || fail "the name field did not take the focus"
  click 516 475 nofocus
  await_editing
  key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  # Key changes are read a few a frame, typed characters at once: the field is empty before the
  # name is typed.
  field_empty() {
    shot emptied || return 1
    [ "$(count_in 357 462 675 490 "$focused_test" | cut -d' ' -f1)" -eq 0 ]
  }
  wait_for 30 field_empty || fail "six Backspaces did not empty the field"
  xdotool type --delay 80 "E2E"
  # "E2E" is narrower than "../E2E": its yellow ends left of where the refused name's did.
  wait_for 30 name_shown 395 425 || fail "the field does not show the typed name"
  key Return
  click 632 562
  await_menu "MainMenu (MenuMain)"
  main_seen=none
  wait_for 30 main_menu_seen main-after-save || fail "the main menu after the save: $main_seen"
  sample "main menu after the save: $main_seen"
  quit_from_main

  # ---- the files ----
  local sbx=$saves/E2E.sbx type deposit rent bills want
  [ -f "$sbx" ] || fail "no Fairlark/E2E.sbx"
  [ "$(ini_value "$sbx" Sandbox venueId)" = 0 ] || fail "venueId is not 0: $(cat "$sbx")"
  type=$(awk -F= '/^\[/ { n++ } n == 2 && $1 == "type" { print $2 }' "$sbx")
  deposit=$(ini_value "$game/Data/Data.ini" "$(printf 'Attraction%02d' "$type")" deposit)
  rent=$(ini_value "$game/Data/Venue.ini" Venue00 rent)
  bills=$(ini_value "$game/Data/Data.ini" GameVals billsCost)
  [ -n "$deposit" ] && [ -n "$rent" ] && [ -n "$bills" ] ||
    fail "type $type's deposit ($deposit), rent ($rent) or billsCost ($bills) not found"
  [ "$(ini_value "$sbx" Sandbox onDeposit)" = "$deposit" ] ||
    fail "onDeposit is not the type's deposit $deposit: $(cat "$sbx")"
  want=$((1000000 - rent - bills - deposit))
  [ "$(ini_value "$sbx" Sandbox cash)" = "$want" ] || fail "cash is not $want: $(cat "$sbx")"
  [ "$end_figure" = "$want" ] || fail "the end of day's \"end\" is $end_figure, not $want"
  [ "$(grep -c '^\[' "$sbx")" -eq 2 ] || fail "not exactly one entity section: $(cat "$sbx")"
  [ "$(awk -F= '/^\[/ { n++ } n == 2 && $1 == "class" { print $2 }' "$sbx")" = AttrBase ] &&
    [ "$(awk -F= '/^\[/ { n++ } n == 2 && $1 == "parent" { print $2 }' "$sbx")" = First ] ||
    fail "the entity is not an AttrBase under First: $(cat "$sbx")"
  echo "sandbox: E2E.sbx cash $want = 1000000 - rent $rent - bills $bills - deposit $deposit (type $type)"
  local stray
  stray=$(find "$work" -path "$shots" -prune -o -name '*E2E*' ! -path "$sbx" -print)
  [ -z "$stray" ] || fail "files named E2E outside Fairlark/: $stray"
  stray=$(find "$saves" -type f ! -name E2E.sbx ! -name Config.ini)
  [ -z "$stray" ] || fail "files left beside the save: $stray"
  local config=$saves/Config.ini
  grep -qF "[Prefs]" "$config" || fail "no Prefs section in Config.ini: $(cat "$config")"
  for k in "[Xq Config]" runHwConfig=0 windowed=1 debug=1 runWhileInactive=1; do
    grep -qxF "$k" "$config" || fail "Config.ini lost \"$k\": $(cat "$config")"
  done
  # With sound and music on, the menus' music streams (the later roads switch them off).
  grep -aq '^SndStreamStart: .*MenuLoop.ogg$' "$log" || fail "the menus' music was never streamed"
}

career_road() {
  window_id
  xdotool mousemove 1000 10
  await_menu "MainMenu (MenuMain)" 60
  # The player makes the window smaller: every later point is scaled to it.
  xdotool windowsize "$id" 800 600
  resized() { read_geometry && [ "$win_w" -eq 800 ] && [ "$win_h" -eq 600 ]; }
  wait_for 30 resized || fail "the window is $win_w x $win_h after the resize, not 800 x 600"
  main_seen=none
  wait_for 30 main_menu_seen main-800x600 || fail "the main menu at 800 x 600: $main_seen"
  sample "main menu at 800 x 600: $main_seen"

  new_career
  career_to_hud "at 800 x 600"
  sample "HUD at 800 x 600: $hud"
  click 27 245
  click 67 313

  day_to_its_end
  [ $reports -ge 1 ] || fail "no hourly report before the end of day"
  sample "career day: $reports hourly reports; $(grep -a '^MenuEndOfDay: start ' "$log" | tail -n 1)"
  click 512 541
  await_menu "MenuCareerSummary (MenuCareerSummary)"

  local car="$saves/New Player/New Player.car" rent
  [ -f "$car" ] || fail "no \"Fairlark/New Player/New Player.car\""
  rent=$(ini_value "$game/Data/Venue.ini" Venue00 rent)
  for kv in daysRun=1 difficulty=1 cash=$((500000 - rent)); do
    grep -qx "$kv" "$car" || fail "New Player.car lacks $kv: $(cat "$car")"
  done
  echo "career: New Player.car daysRun 1, difficulty 1, cash $((500000 - rent)) = 500000 - rent $rent"

  click 239 668
  await_menu "MenuCareer (MenuCareer)"
  key Escape
  await_menu "MainMenu (MenuMain)"
  quit_from_main
  grep -aqxF "Sound: the sound system is off (digDriverEnabled=0): no sound device opened" "$log" ||
    fail "no line saying the sound system is off"
  ! grep -aq "^OpenAL current device\|^SndStreamStart: " "$log" ||
    fail "a sound device was opened with the sound system off"
  echo "career: played with the sound system off, no sound device opened"
}

roundtrip_road() {
  local sbx=$saves/E2E.sbx sbx2=$saves/E2E2.sbx car="$saves/New Player/New Player.car"
  [ -f "$sbx" ] && [ -f "$car" ] || fail "the sandbox and the career were not saved before"
  window_id
  xdotool mousemove 1000 10
  await_menu "MainMenu (MenuMain)" 60

  # The sandbox back from its file: the HUD over the world with the one attraction.
  key Return
  await_menu "MenuSandbox (MenuSandbox)"
  click 512 423
  await_menu "MenuLoadSandbox (MenuLoadSandbox)"
  local loaded_from=$mark
  key Return
  await_menu "MenuGameRunning (MenuGameRunning)" 120
  # Straight into the HUD: no loader screen, the save's one attraction made.
  local since
  since=$(awk -v m="$loaded_from" 'NR > m' "$log")
  ! grep -aqF "Menu: WorldLoader" <<<"$since" || fail "the loader screen came up for a saved sandbox"
  [ "$(grep -ac 'of class AttrBase]' <<<"$since")" -eq 1 ] ||
    fail "not one attraction made: $(grep -a 'of class AttrBase]' <<<"$since")"
  await_menu "MenuVenueIntro (MenuVenueIntro)"
  key Return
  hud=none
  wait_for 30 hud_seen || fail "the HUD of the loaded sandbox: $hud"
  sample "HUD of the loaded sandbox: $hud"

  # Saved again from the pause menu's "Save Layout": in a sandbox, the sandbox's own dialog.
  key Escape
  await_menu "InGameMenu (MenuInGame)"
  key Down Return
  await_menu "MenuSandboxSave (MenuSandboxSave)"
  key Return
  await_editing
  xdotool type --delay 80 "E2E2"
  wait_for 30 name_shown 420 440 || fail "the field does not show \"E2E2\""
  key Return
  click 632 562
  wait_for 30 test -f "$sbx2" || fail "no Fairlark/E2E2.sbx after the layout's OK"
  click 512 300
  # The HUD is back when the pause menu's panel has gone from over the band.
  wait_for 30 hud_seen || fail "the HUD after Resume: $hud"
  key Escape
  await_menu "InGameMenu (MenuInGame)"
  key Up Return
  await_menu "(MenuInGameConfirm)"
  key Left Return
  await_menu "MainMenu (MenuMain)"
  [ "$(entity_sections "$sbx2")" = "$(entity_sections "$sbx")" ] ||
    fail "the entity sections of E2E2.sbx differ from E2E.sbx: $(diff <(entity_sections "$sbx") \
      <(entity_sections "$sbx2"))"
  echo "roundtrip: E2E2.sbx holds the entity sections of E2E.sbx"

  # The career is listed: loading it reaches its summary.
  key Right Return
  await_menu "MenuCareer (MenuCareer)"
  click 512 423
  await_menu "MenuLoadCareer (MenuLoadCareer)"
  key Return
  await_menu "MenuCareerSummary (MenuCareerSummary)"
  click 239 668
  await_menu "MenuCareer (MenuCareer)"

  # A new career of the same name: the question answers the keyboard, and No keeps the file.
  cp "$car" "$work/career-before.car"
  key Return
  await_menu "NewCareer (NewCareer)"
  key Up Return
  await_menu "MenuYesNo (MenuYesNo)"
  key Return
  click 389 562
  await_menu "MenuCareer (MenuCareer)"
  cmp -s "$car" "$work/career-before.car" || fail "New Player.car changed after No"
  echo "roundtrip: New Player.car unchanged after No"
  key Escape
  await_menu "MainMenu (MenuMain)"
  quit_from_main
  grep -aq "^OpenAL current device" "$log" || fail "no sound device with the sound system on"
  ! grep -aq "^SndStreamStart: " "$log" || fail "a music stream was opened with music off"
  echo "roundtrip: a sound device, and no music stream with music off"
}

# The splashes skipped, the main menu up.
to_main_menu() {
  window_id
  xdotool mousemove 1000 10
  await_menu "PublisherSplash (MenuPublisher)" 60
  key space
  await_menu "PublisherSplash (MenuTolvane)"
  key space
  await_menu "MainMenu (MenuMain)"
}
# From the main menu to a new sandbox's HUD over the default venue, the intro closed.
new_sandbox() {
  key Return
  await_menu "MenuSandbox (MenuSandbox)"
  key Return
  await_menu "MidwaySelector (MidwaySelector)"
  key Return
  await_menu "MenuVenueSetup (MenuVenueSetup)"
  # Start holds the focus.
  key Return
  await_menu "WorldLoader (MenuWorldLoader)"
  await_menu "MenuGameRunning (MenuGameRunning)" 120
  await_menu "MenuVenueIntro (MenuVenueIntro)"
  key Return
  hud=none
  wait_for 30 hud_seen || fail "the HUD: $hud"
}
# From the main menu: a new career "New Player" at its summary.
new_career() {
  key Right Return
  await_menu "MenuCareer (MenuCareer)"
  key Return
  await_menu "NewCareer (NewCareer)"
  key Up Return
  await_menu "MenuCareerSummary (MenuCareerSummary)"
}
# From the career summary: Next, venue 0, its set-up, "NEW LAYOUT", the intro closed; the HUD
# seen (the argument says where, for the failure).
career_to_hud() {
  click 779 668
  await_menu "MidwaySelector (MidwaySelector)"
  key Return
  await_menu "MenuVenueSetup (MenuVenueSetup)"
  key Return
  await_menu "MenuLoadLayout (MenuLoadLayout)"
  key Return
  await_menu "MenuGameRunning (MenuGameRunning)" 120
  await_menu "MenuVenueIntro (MenuVenueIntro)"
  key Return
  hud=none
  wait_for 30 hud_seen || fail "the HUD${1:+ $1}: $hud"
}
# A close request, as the window manager makes one: a clean shutdown with status 0.
close_request() {
  kill -TERM $pid
  ends_cleanly 10 "$@"
  echo "$road: exit status 0 after the close request, $((SECONDS - started_at)) s"
}

nomenuscript_road() {
  to_main_menu
  grep -aqF "LuaScript Compile/Load Error" "$err" ||
    fail "no \"LuaScript Compile/Load Error\" on stderr for the missing script"
  ! grep -aqF "Syntax Error" "$err" || fail "the missing script was called a syntax error"
  # The main menu's own controls: its buttons answer the keyboard as ever.
  new_sandbox
  sample "HUD without the main menu's script: $hud"
  close_request "LuaScript Compile/Load Error" "cannot open"
}

stuckloader_road() {
  to_main_menu
  key Return
  await_menu "MenuSandbox (MenuSandbox)"
  key Return
  await_menu "MidwaySelector (MidwaySelector)"
  key Return
  await_menu "MenuVenueSetup (MenuVenueSetup)"
  click 779 667
  await_menu "WorldLoader (MenuWorldLoader)"
  local loading_at=$SECONDS
  wait_for 90 grep -aqF "MenuWorldLoader: world not loaded" "$log" ||
    fail "the loader did not give up within 90 s"
  failed_seen() {
    shot loading-failed || return 1
    # "Loading failed" is shorter than "Loading...": the title's white ends sooner, and Back shows.
    loader=$(count_in 400 180 624 220 'r >= 200 && g >= 200 && b >= 200')
    [ "${loader%% *}" -ge 50 ]
  }
  loader=none
  wait_for 30 failed_seen || fail "no loader error screen: $loader"
  sample "loader error screen after $((SECONDS - loading_at)) s: title $loader white"
  click 239 668
  await_menu "MidwaySelector (MidwaySelector)"
  # Nothing of the venue's world is left behind the selector.
  ! grep -aq "of class AttrBase]\|Created entity \[Terrain\]" <(awk -v m=$mark 'NR > m' "$log") ||
    fail "the world was made after the loader gave up"
  close_request
}

readonlysave_road() {
  to_main_menu
  new_sandbox
  click 67 313
  xdotool keydown Control_L sleep 0.3 key c sleep 0.3 keyup Control_L
  click 30 563
  await_menu "MenuEndOfDay (MenuEndOfDay)"
  click 512 541
  await_menu "MenuSandboxSave (MenuSandboxSave)"
  # The folder turns read-only under the player's feet: a read-only mount for root, which writes
  # into a folder without write permission anyway.
  local writable="chmod u+w $saves"
  if [ "$(id -u)" -eq 0 ]; then
    if [ -n "${FAIRLARK_ROADS_UNSHARED:-}" ] && mount --bind "$saves" "$saves" &&
      mount -o remount,bind,ro "$saves"; then
      writable="umount $saves"
    else
      echo "$road: skipped: the kernel refuses root a private read-only mount here"
      close_request
      exit 77
    fi
  else
    chmod a-w "$saves"
  fi
  ! touch "$saves/.probe" 2>/dev/null || fail "the save folder is still writable"
  key Return
  await_editing
  xdotool type --delay 80 "E2E"
  wait_for 30 name_shown 395 425 || fail "the field does not show the typed name"
  key Return
  click 632 562
  await_menu "MenuYesNo (MenuYesNo)"
  $writable || fail "cannot make the save folder writable again"
  grep -aqF 'MenuSandboxSave: "E2E" was not saved' "$log" || fail "the failed save was not logged"
  local reason='Permission denied'
  [ "$(id -u)" -ne 0 ] || reason='Read-only file system'
  grep -aqF "E2E.sbx could not be written ($reason)" "$log" ||
    fail "the log does not give the reason \"$reason\""
  [ ! -e "$saves/E2E.sbx" ] || fail "a save was written into the read-only folder"
  # The box stands on its plain white full-screen quad, over play as in the front end.
  plain_behind() {
    shot save-failed || return 1
    behind=$(count_in 0 600 1023 767 'r >= 220 && g >= 220 && b >= 220')
    read -r t _ n <<<"$behind"
    [ $((t * 100)) -ge $((n * 80)) ]
  }
  behind=none
  wait_for 30 plain_behind || fail "the quad behind \"SAVE FAILED\": $behind white"
  sample "behind SAVE FAILED: $behind white"
  # The box gives the dialog back with its name; the folder writable again, its OK saves and
  # the end of the day goes on to the main menu.
  key Return
  click 632 562
  await_menu "MainMenu (MenuMain)"
  [ -f "$saves/E2E.sbx" ] || fail "the save once the folder was writable again was not written"
  close_request
}

closeday_road() {
  to_main_menu
  new_career
  local car="$saves/New Player/New Player.car"
  [ -f "$car" ] || fail "no career file after New Career"
  cp "$car" "$work/career-before.car"
  career_to_hud
  click 67 313
  # The day under way: Start gone from the HUD, then a few seconds of the day.
  start_gone() {
    shot day || return 1
    [ "$(count_in 10 285 125 343 'b >= r + 20 && b >= g + 15' | cut -d' ' -f1)" -lt 20 ]
  }
  wait_for 30 start_gone || fail "the HUD's Start stayed after its click"
  sleep 3
  close_request
  cmp -s "$car" "$work/career-before.car" || fail "the career file changed: $(cat "$car")"
  echo "$road: New Player.car as it was before the day"
}

# The screenshots a reader of the run looks at: kept by name in the build folder's e2e-shots/
# (as PNG too where ImageMagick is there to make one).
keep_shot() {
  local out
  out=$(dirname "$roads")/e2e-shots
  mkdir -p "$out" || fail "cannot make $out"
  cp "$last_shot" "$out/$1.xwd" || fail "cannot keep $last_shot"
  if command -v convert >/dev/null 2>&1; then
    convert "xwd:$out/$1.xwd" "$out/$1.png" 2>/dev/null || echo "no PNG of $1"
  fi
  echo "kept: $out/$1.xwd"
}

# A text button shows its focused yellow about the menu point.
text_focused_at() {
  shot focus || return 1
  read -r taken _ < <(count_in $(($1 - 80)) $(($2 - 14)) $(($1 + 80)) $(($2 + 14)) "$focused_test")
  [ "${taken:-0}" -ge 10 ]
}
# Down moves the focus from the first choice to the second (a text button at 512, 410).
down_to_second() {
  sleep 1
  key Down
  wait_for 30 text_focused_at 512 410 || fail "Down did not move the focus to the second choice"
  keep_shot "$1"
}
# From the main menu by keys only, back to it: the Quit question left by Escape; the career menu's
# "Load and Continue" reached by Down, its list left by Escape, New Career left by Escape; the
# sandbox menu's "Load" reached by Down and its list left by Escape.
front_end_by_keys() {
  key Escape
  await_menu "ConfirmExit (MenuConfirmExit)"
  sleep 1
  shot quit-question
  keep_shot quit-question
  sleep 1
  key Escape
  await_menu "MainMenu (MenuMain)"
  sleep 1
  key Right Return
  await_menu "MenuCareer (MenuCareer)"
  down_to_second career-load
  key Return
  await_menu "MenuLoadCareer (MenuLoadCareer)"
  sleep 1
  key Escape
  await_menu "MenuCareer (MenuCareer)"
  sleep 1
  key Return
  await_menu "NewCareer (NewCareer)"
  sleep 1
  shot new-career
  keep_shot new-career
  sleep 1
  key Escape
  await_menu "MenuCareer (MenuCareer)"
  sleep 1
  key Escape
  await_menu "MainMenu (MenuMain)"
  sleep 1
  key Return
  await_menu "MenuSandbox (MenuSandbox)"
  down_to_second sandbox-load
  key Return
  await_menu "MenuLoadSandbox (MenuLoadSandbox)"
  sleep 1
  key Escape
  await_menu "MenuSandbox (MenuSandbox)"
  sleep 1
  key Escape
  await_menu "MainMenu (MenuMain)"
  sleep 1
}

keyboard_road() {
  to_main_menu
  # The pointer off the window: the screens hear only keys until the placement.
  xdotool mousemove 1270 1010
  main_seen=none
  wait_for 30 main_menu_seen main || fail "the main menu: $main_seen"
  keep_shot main-menu
  front_end_by_keys
  new_sandbox
  keep_shot hud

  # The first arrow key puts the focus on "Equipment"; Enter opens the catalogue.
  key Right
  sleep 1
  key Return
  await_menu "EquipResource (MenuEquipResource)"
  catalogue_seen() {
    shot catalogue || return 1
    # The panel's title in white over the dimmed world.
    [ "$(count_in 300 140 724 200 'r >= 220 && g >= 220 && b >= 220' | cut -d' ' -f1)" -ge 50 ]
  }
  wait_for 30 catalogue_seen || fail "the catalogue's title does not show"
  keep_shot catalogue
  # OK holds the focus and takes the highlighted first row; the point is the mouse's.
  key Return
  sleep 1
  xdotool mousemove "$(wx 500)" "$(wy 460)" sleep 0.5 mousemove "$(wx 512)" "$(wy 450)"
  wait_for 30 placing_hint || fail "no placement hint after the catalogue's OK"
  xdotool mousedown 1 sleep 0.1 mouseup 1
  sleep 1
  placed_gone() {
    shot placed || return 1
    [ "$(count_in 10 715 520 745 'r >= 220 && g >= 220 && b >= 220' | cut -d' ' -f1)" -lt 50 ]
  }
  wait_for 30 placed_gone || fail "the placement did not end with the click"
  # The placed attraction clicked where it stands, its Delete, and the question left by Escape:
  # the attraction stays (the save below holds it).
  # Where the placed model is drawn: the middle of its grey (the ground and grass are not grey).
  # The pointer off the model first: the HUD tints what it hovers.
  xdotool mousemove "$(wx 700)" "$(wy 620)"
  placed_model_seen() {
    shot placed-model || return 1
    read -r mx my < <("$xwd_pixel" "$last_shot" --rect "$(wx 380)" "$(wy 330)" "$(wx 650)" "$(wy 540)" |
      awk -v w="$win_w" -v h="$win_h" '{ r = $3; g = $4; b = $5 }
        r - g < 16 && g - r < 16 && g - b < 16 && b - g < 16 && r > 60 { x += $1; y += $2; n++ }
        END { if (n >= 20) printf "%d %d\n", x / n * 1024 / w, y / n * 768 / h }')
    [ -n "${my:-}" ]
  }
  mx= my=
  wait_for 30 placed_model_seen || fail "the placed attraction is not seen where it was placed"
  click "$mx" "$my" nofocus
  click 900 690 nofocus
  await_menu "MenuRemoveAttr (MenuRemoveAttr)"
  sleep 1
  shot remove-question
  keep_shot remove-question
  sleep 1
  key Escape
  # The HUD's band shows undimmed again.
  hud=none
  wait_for 30 hud_seen || fail "the HUD after the remove question: $hud"
  xdotool mousemove 1270 1010

  # Escape opens the pause menu and Escape leaves it.
  sleep 1
  key Escape
  await_menu "InGameMenu (MenuInGame)"
  sleep 1
  key Escape
  # The focus came back to "Equipment": Right twice is "Help".
  sleep 1
  key Right
  sleep 0.5
  key Right
  sleep 0.5
  key Return
  await_menu "Help (MenuHelp)"
  help_seen() {
    shot help || return 1
    # The OK button's face below the slide, inside the window.
    [ "$(count_in 465 663 561 719 'r + g + b >= 150' | cut -d' ' -f1)" -ge 200 ]
  }
  wait_for 30 help_seen || fail "Help's OK does not show"
  keep_shot help
  key Escape
  hud=none
  wait_for 30 hud_seen || fail "the HUD after Help: $hud"

  # From "Help" down to Start, which opens the day; then up twice to 8X.
  key Down
  sleep 0.5
  key Return
  sleep 1
  key Up
  sleep 0.5
  key Up
  sleep 0.5
  key Return
  day_to_its_end
  wait_for 30 figures_seen || fail "the end of day's figures do not show"
  keep_shot end-of-day

  # Down to "Save and Exit"; the name typed into the field in focus; Down to OK.
  key Down
  sleep 0.5
  key Return
  await_menu "MenuSandboxSave (MenuSandboxSave)"
  key Return
  await_editing
  xdotool type --delay 80 "KEYS"
  wait_for 30 name_shown 357 440 || fail "the field does not show \"KEYS\""
  key Return
  sleep 0.5
  key Down
  sleep 0.5
  key Return
  await_menu "MainMenu (MenuMain)"
  quit_from_main

  local sbx=$saves/KEYS.sbx
  [ -f "$sbx" ] || fail "no Fairlark/KEYS.sbx"
  [ "$(grep -c '^\[' "$sbx")" -eq 2 ] || fail "not exactly one placed entity: $(cat "$sbx")"
  echo "keyboard: KEYS.sbx holds the one placed attraction"
}

# ---- the screens a player reads ----
# A screen held still for a moment (fades and slides settled), shot and kept as screens-$1.
keep_screen() {
  sleep 2
  shot "$1" || fail "no shot of $1"
  keep_shot "screens-$1"
}
screens_road() {
  to_main_menu
  xdotool mousemove 1270 1010
  click 495 559 nofocus
  await_menu "(MenuCredits)"
  sleep 2
  keep_screen credits
  key Escape
  await_menu "MainMenu (MenuMain)"
  click 545 447 nofocus
  await_menu "Help (MenuHelp)"
  keep_screen help
  key Escape
  await_menu "MainMenu (MenuMain)"
  # The option pages write no "Menu:" line: the shot is taken once the page had time to open.
  click 375 447 nofocus
  sleep 2
  keep_screen options
  key Escape
  await_menu "MainMenu (MenuMain)"
  xdotool mousemove 1270 1010

  key Right Return
  await_menu "MenuCareer (MenuCareer)"
  key Return
  await_menu "NewCareer (NewCareer)"
  keep_screen new-career
  key Up Return
  await_menu "MenuCareerSummary (MenuCareerSummary)"
  click 779 668
  await_menu "MidwaySelector (MidwaySelector)"
  xdotool mousemove 1270 1010
  # Down past the third row scrolls to venue 3, locked in a new career.
  key Down
  sleep 0.5
  key Down
  sleep 0.5
  key Down
  keep_screen venue-selector-locked
  key Up
  sleep 0.5
  key Up
  sleep 0.5
  key Up
  sleep 1
  key Return
  await_menu "MenuVenueSetup (MenuVenueSetup)"
  keep_screen venue-setup
  key Return
  await_menu "MenuLoadLayout (MenuLoadLayout)"
  key Return
  await_menu "MenuGameRunning (MenuGameRunning)" 120
  await_menu "MenuVenueIntro (MenuVenueIntro)"
  key Return
  hud=none
  wait_for 30 hud_seen || fail "the HUD: $hud"

  click 27 265 nofocus
  click 769 35 nofocus
  await_menu "EquipResource (MenuEquipResource)"
  # The rides: the first is open, the third (Twin Tornado) locked in a new career.
  click 428 266 nofocus
  xdotool mousemove 1270 1010
  keep_screen catalogue-locked
  # OK takes the highlighted first row.
  click 630 691 nofocus
  xdotool mousemove "$(wx 500)" "$(wy 460)" sleep 0.5 mousemove "$(wx 512)" "$(wy 450)"
  wait_for 30 placing_hint || fail "no placement hint after the catalogue's OK"
  keep_screen placing-grid
  xdotool mousedown 1 sleep 0.1 mouseup 1
  sleep 2
  close_request
}

# ---- the people ----
# The pixels of the ground (menu 150..1000 x 190..560) in which shot $2 differs by 30 levels from
# shot $1, one "x y r g b" line each with shot $2's colour.
ground_changes() {
  "$xwd_pixel" "$1" --changed "$2" 30 "$(wx 150)" "$(wy 190)" "$(wx 1000)" "$(wy 560)"
}
# Walkers: two shots half a second apart differ in small patches of the ground outside the mask
# of what moves with nobody about (a panel or a report opening would change far more of it).
# Where one walks, in $walker_x $walker_y: a person's dark clothes, where the second shot shows
# them and the first did not, are where that person is now; the largest such patch is aimed at,
# unless it lies within 40 pixels of ($carny_x, $carny_y). The info icons' pale discs and their
# pictures are no one's clothes. With no dark patch, the changed pixel nearest the changes' middle.
walking=none carny_x=-1000 carny_y=-1000
walkers_seen() {
  shot walking-a || return 1
  local a=$last_shot n x y
  sleep 0.5
  shot walking-b || return 1
  read -r n x y < <(ground_changes "$a" "$last_shot" | awk -v m="$mask" -v ax="$carny_x" -v ay="$carny_y" '
    # The mask, widened by about 24 pixels, as cells of 8.
    BEGIN {
      while ((getline l < m) > 0) {
        split(l, q, " ")
        for (i = -3; i <= 3; i++) for (j = -3; j <= 3; j++) masked[int(q[1] / 8) + i, int(q[2] / 8) + j] = 1
      }
    }
    (int($1 / 8), int($2 / 8)) in masked { next }
    { n++; sx += $1; sy += $2; px[n] = $1; py[n] = $2
      if ($3 + $4 + $5 < 200) { d++; dx[d] = $1; dy[d] = $2 } }
    function root(i) { while (up[i] != i) i = up[i] = up[up[i]]; return i }
    END {
      if (!n) { print 0, 0, 0; exit }
      for (i = 1; i <= d; i++) up[i] = i
      for (i = 1; i <= d; i++) for (j = i + 1; j <= d; j++)
        if ((dx[i] - dx[j]) ^ 2 + (dy[i] - dy[j]) ^ 2 <= 16) up[root(i)] = root(j)
      best = 0
      for (i = 1; i <= d; i++) { r = root(i); size[r]++; cx[r] += dx[i]; cy[r] += dy[i] }
      for (r in size) {
        cx[r] /= size[r]; cy[r] /= size[r]
        if ((cx[r] - ax) ^ 2 + (cy[r] - ay) ^ 2 > 1600 && size[r] > best) { best = size[r]; br = r }
      }
      if (best) { print n, int(cx[br] + 0.5), int(cy[br] + 0.5); exit }
      mx = sx / n; my = sy / n; near = -1
      for (i = 1; i <= n; i++) { e = (px[i] - mx) ^ 2 + (py[i] - my) ^ 2; if (near < 0 || e < near) { near = e; bx = px[i]; by = py[i] } }
      print n, bx, by }')
  walking="$n pixels changed in half a second outside the fountain's"
  walker_x=$x walker_y=$y
  [ "$n" -ge 20 ] && [ "$n" -le 20000 ]
}
# A person's panel over the bottom right of the screen: its red fills the top of the corner.
person_panel_shown() {
  shot panel || return 1
  reddish=$(count_in 700 600 980 660 'r >= g + 60 && r >= b + 60')
  local t n
  read -r t _ n <<<"$reddish"
  [ $((t * 100)) -ge $((n * 50)) ]
}
# The employee panel's FIRE button, blue beside OK and View: shown when most of it is.
fire_shown() {
  fire=$(count_in 872 672 968 728 'b >= r + 25 && b >= g + 20')
  local f m
  read -r f _ m <<<"$fire"
  [ $((f * 100)) -ge $((m * 50)) ]
}
# A click on a walker opens its panel: a patron's, without FIRE. The carny walks about too: where
# a click found it, the next try aims elsewhere. The walker moves on, so each try is aimed at a
# fresh shot; on a slow machine the panel of an earlier click may show only after that try gave
# up, and counts.
panel=none reddish=none fire=none
patron_panel_shown() { person_panel_shown && ! fire_shown; }
panel_opened() {
  patron_panel_shown && return 0
  walkers_seen || return 1
  xdotool mousemove "$walker_x" "$walker_y" mousedown 1 sleep 0.1 mouseup 1
  sleep 1
  local shown=1
  if person_panel_shown; then
    if fire_shown; then carny_x=$walker_x carny_y=$walker_y; else shown=0; fi
  fi
  panel="a click at ($walker_x, $walker_y): $reddish of the corner red, FIRE $fire button-blue"
  return $shown
}
# Opens the employees report from the HUD.
employees_report() {
  click 878 38
  await_menu "MenuReports (MenuReports)"
  click 512 403
  await_menu "MenuReportEmployees (MenuReportEmployees)"
}
# A carny hired through the HUD's Reports, Employees and Hire while the gates are shut: its row
# shows, and back on the HUD it is the one person about. It starts at one of the way in's spawn
# points, in the view the road set, and is seen walking from there.
carny_hired() {
  employees_report
  # The first row's yellow, under the selection's bar: none before the hire.
  local row_test='r >= 150 && g >= 150 && b <= 110 && r - b >= 70' before
  shot employees || fail "no shot of the employees report"
  before=$(count_in 160 278 560 306 "$row_test" | cut -d' ' -f1)
  click 508 628
  row_shown() {
    shot hired || return 1
    rows=$(count_in 160 278 560 306 "$row_test")
    [ "${rows%% *}" -ge $((before + 100)) ]
  }
  rows=none
  wait_for 30 row_shown || fail "no employee row after Hire: $rows yellow, $before before"
  sample "employees after Hire: $rows yellow in the first row, $before before"
  click 630 691
  hud=none
  wait_for 30 hud_seen || fail "the HUD after the employees report: $hud"
  wait_for 120 walkers_seen || fail "the hired carny is not seen walking: $walking"
  sample "carny walking: $walking, at ($walker_x, $walker_y)"
}
# The hired carny viewed from the employees report (its one row is selected): the camera flies to
# it and the HUD shows its employee panel, the only one with FIRE beside OK and View.
carny_viewed() {
  employees_report
  click 380 691
  employee_panel() { person_panel_shown && fire_shown; }
  fire=none reddish=none
  wait_for 30 employee_panel || fail "no employee panel after View: FIRE $fire button-blue, $reddish panel red"
  sample "employee panel after View: FIRE $fire button-blue, $reddish of the corner panel red"
}
people_road() {
  to_main_menu
  new_sandbox
  # The camera held back (S) and zoomed out (F) looks over the way in.
  xdotool mousemove "$(wx 80)" "$(wy 400)" keydown f sleep 4 keyup f keydown s sleep 3 keyup s
  sleep 2
  # What moves before any patron does (the fountain's drops): masked, 24 pixels round.
  mask=$work/still-moving.txt
  : >"$mask"
  local i
  for i in 1 2 3 4; do
    shot gates-shut || fail "no shot of the HUD"
    local a=$last_shot
    sleep 0.5
    shot gates-shut || fail "no shot of the HUD"
    ground_changes "$a" "$last_shot" | cut -d' ' -f1,2 >>"$mask"
  done
  carny_hired
  # The HUD's Start opens the gates; at half time the patrons are easier to catch with a click.
  click 67 313
  click 27 187
  xdotool mousemove "$(wx 80)" "$(wy 400)"
  wait_for 300 walkers_seen || fail "no patron seen walking: $walking"
  sample "patrons walking: $walking, one at ($walker_x, $walker_y)"
  wait_for 120 panel_opened || fail "the patron panel: $panel"
  sample "patron panel: $panel"
  carny_viewed
  close_request
  # The hired carny lived to the end of the run under the name the hire gave it.
  grep -aqF "Destroying: Carny 0 (Carny)" "$log" || fail "no \"Carny 0\" at the shutdown"
}

case $road in
  nomenuscript | stuckloader | readonlysave | closeday | keyboard | people | screens) "${road}_road" ;;
  sandbox) sandbox_road ;;
  roundtrip) roundtrip_road ;;
  career) career_road ;;
  *) fail "unknown road" ;;
esac
echo "ok ($road): $((SECONDS - started_at)) s, $shot_count screenshots in $shots"
