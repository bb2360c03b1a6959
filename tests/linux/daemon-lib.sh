# Sourced after xvfb-lib.sh to run the real XScreenSaver daemon (Debian's xscreensaver):
# as nobody under root (it starts no hack as root), at home in $DAEMON.
command -v xscreensaver >/dev/null || fail "no xscreensaver (scripts/install-deps.sh installs it)"
DAEMON="$WORK/daemon"
mkdir -p "$DAEMON/home" "$DAEMON/bin"
cp "$SAVER" "$DAEMON/bin/arcveil3d"
chmod 755 "$WORK"
as_user() {
  local user=()
  [ "$(id -u)" != 0 ] || user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  "${user[@]}" env -i HOME="$DAEMON/home" DISPLAY="$DISPLAY" PATH="$DAEMON/bin:/usr/bin:/bin" SDL_AUDIODRIVER=dummy \
    MESA_SHADER_CACHE_DIR="$DAEMON/cache" "$@"
}
# The processes of the saver this daemon runs (not another daemon's on the machine).
processes() {
  pgrep -x arcveil3d | while read -r p; do [ "$(readlink "/proc/$p/exe" 2>/dev/null)" != "$DAEMON/bin/arcveil3d" ] || echo "$p"; done | grep .
}
# programs LINE: the daemon runs that line alone (read again at each blanking).
programs() {
  printf '%s\n' 'mode: one' 'selected: 0' 'timeout: 0:30:00' 'lock: False' 'splash: False' 'fade: False' \
    'unfade: False' 'dpmsEnabled: False' "programs: GL: $1 \\n" >"$DAEMON/home/.xscreensaver"
  [ "$(id -u)" != 0 ] || chown -R nobody: "$DAEMON"
}
# start_daemon: the daemon on this display, until the end.
start_daemon() { as_user xscreensaver -no-splash -verbose >>"$DAEMON/log" 2>&1 & PIDS+=($!); }
# blank: the daemon has blanked the screen; BLANK is the time it says it did.
blank() {
  eventually 10 as_user xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon did not blank the screen"
  eventually 10 sh -c 'xprop -root _SCREENSAVER_STATUS | grep -q "= [1-9]"' || fail "no blanking on the root"
  BLANK=$(xprop -root _SCREENSAVER_STATUS | sed 's/^[^=]*= [0-9]*, \([0-9]*\).*/\1/')
}
# unblank: the daemon no longer blanks the screen, and its processes have ended (asked
# again while they run: a loaded daemon may let one request pass).
unblanked() { as_user xscreensaver-command -deactivate >/dev/null 2>&1; sleep 1; ! processes >/dev/null; }
unblank() { eventually 20 unblanked || fail "the daemon's processes did not end: $(tail -3 "$DAEMON/log")"; }
# look NAME: every process of the daemon stopped (they stay so), the screen as NAME.png,
# and DUE, the frame of the blanking's run due then.
look() {
  processes | xargs kill -STOP
  sleep 0.5
  DUE=$(( ($(date +%s%3N) - BLANK * 1000) / 20 ))
  import -window root -depth 8 "$WORK/$1.png"
}
# replay RENDER FRAMES: the blanking's run on the two monitors, its frames 1 to FRAMES as
# frame000000.png on.
replay() {
  "$1" --size 1440x600 --monitors 800x600+0+0,640x480+800+0 --seed "$BLANK" --step 0.02 --frames "$2" \
    --out "$WORK/frame%06d.png" >/dev/null 2>&1 || fail "the replay failed"
}
# frame_of NAME CROP DUE: the frame of the run that part of NAME.png shows exactly, from
# DUE back 150 frames, or nothing.
frame_of() {
  local n
  for ((n = $3; n > $3 - 150 && n > 0; n--)); do
    [ "$(compare -metric AE "$WORK/$1.png[$2]" "$(printf "$WORK/frame%06d.png" $((n - 1)))[$2]" null: 2>&1)" != 0 ] ||
      { echo "$n"; return; }
  done
}
