#!/usr/bin/env bash
# Sound: with SDL's disk driver the saver writes the WAVE resource's samples, looping
# from the first frame again without a gap; with no device it runs silent, without a
# message; Sounds=0 opens no device; and SIGTERM (how XScreenSaver ends its modules)
# still ends a saver whose sound plays.
#   third argument: the WAVE file the program embeds as its sound
source "$(dirname "$0")/xvfb-lib.sh"
WAVE="$3"
start_xvfb 320x240
start_host host 64x48

# The samples: the "data" chunk's body (the resource's header is checked elsewhere).
DATA_SIZE=$(od -An -t u4 -j 40 -N 4 "$WAVE" | tr -d ' ')
dd if="$WAVE" of="$WORK/samples.raw" iflag=skip_bytes,count_bytes skip=44 count="$DATA_SIZE" bs=64K status=none
cat "$WORK/samples.raw" "$WORK/samples.raw" "$WORK/samples.raw" "$WORK/samples.raw" >"$WORK/looped.raw"

# A short pause per buffer makes the disk driver run faster than real time.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/played.raw" SDL_DISKAUDIODELAY=2 \
  start_saver disk -window-id "$HOST_ID"
for i in $(seq 200); do
  [ "$(stat -c %s "$WORK/played.raw" 2>/dev/null || echo 0)" -gt $((DATA_SIZE * 2 + 100000)) ] && break
  sleep 0.1
done
kill -TERM "$SAVER_PID"
wait_exit "$SAVER_PID" 10
[ "$EXIT_STATUS" = 143 ] || fail "SIGTERM: the saver ended with $EXIT_STATUS"
PLAYED=$(stat -c %s "$WORK/played.raw")
[ "$PLAYED" -gt $((DATA_SIZE * 2)) ] || fail "only $PLAYED bytes were played"
LIMIT=$PLAYED
[ "$LIMIT" -le $((DATA_SIZE * 4)) ] || LIMIT=$((DATA_SIZE * 4))
cmp -n "$LIMIT" "$WORK/played.raw" "$WORK/looped.raw" || fail "the played bytes are not the samples looped"
echo "disk driver: $PLAYED bytes, the samples looped $((PLAYED / DATA_SIZE)) times: ok"

# No device: ALSA with a device that does not exist. The scene still appears.
for driver in alsa nosuchdriver; do
  SDL_AUDIODRIVER=$driver AUDIODEV=nosuchdevice start_saver "silent-$driver" -window-id "$HOST_ID"
  wait_scene "$HOST_ID" "silent-$driver" 64x48 30 >/dev/null
  kill -TERM "$SAVER_PID"
  wait_exit "$SAVER_PID" 10
  [ "$EXIT_STATUS" = 143 ] || fail "$driver: the saver ended with $EXIT_STATUS"
  [ ! -s "$WORK/silent-$driver.err" ] || fail "$driver: a message: $(head -3 "$WORK/silent-$driver.err")"
  echo "no device ($driver): silent, no message: ok"
done

# Sounds off: no device is opened at all, so the disk driver writes no file.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/off.raw" start_saver off -window-id "$HOST_ID" --set Sounds=0 --frames 5
wait_exit "$SAVER_PID" 60
[ "$EXIT_STATUS" = 0 ] || fail "Sounds=0: the saver ended with $EXIT_STATUS"
[ ! -e "$WORK/off.raw" ] || fail "Sounds=0 opened the audio device"
echo "Sounds=0: no device opened: ok"
