# Sourced after xvfb-lib.sh by what runs the real XScreenSaver daemon (Debian's
# xscreensaver). It starts no hack as root, so under root it runs as nobody, with a home
# of its own in $DAEMON whose ~/.xscreensaver runs one programs line, and the saver on
# its PATH as arcveil3d.
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
# programs LINE: the daemon runs that programs line alone (it reads the file again when
# it blanks the screen).
programs() {
  printf '%s\n' 'mode: one' 'selected: 0' 'timeout: 0:30:00' 'lock: False' 'splash: False' 'fade: False' \
    'unfade: False' 'dpmsEnabled: False' "programs: GL: $1 \\n" >"$DAEMON/home/.xscreensaver"
  [ "$(id -u)" != 0 ] || chown -R nobody: "$DAEMON"
}
# start_daemon: the daemon on this display, until the end.
start_daemon() {
  as_user xscreensaver -no-splash -verbose >>"$DAEMON/log" 2>&1 &
  PIDS+=($!)
}
# blank: the daemon has blanked the screen; BLANK is the time it says it did.
blank() {
  eventually 10 as_user xscreensaver-command -activate >/dev/null 2>&1 || fail "the daemon did not blank the screen"
  eventually 10 sh -c 'xprop -root _SCREENSAVER_STATUS | grep -q "= [1-9]"' || fail "no blanking on the root"
  BLANK=$(xprop -root _SCREENSAVER_STATUS | sed 's/^[^=]*= [0-9]*, \([0-9]*\).*/\1/')
}
# unblank: the daemon no longer blanks the screen, and its processes have ended.
unblank() {
  as_user xscreensaver-command -deactivate >/dev/null 2>&1
  eventually 10 eval '! processes >/dev/null' || fail "the daemon's processes did not end"
}
