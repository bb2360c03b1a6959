#!/usr/bin/env bash
# Sound: no device opened unless asked; with -sounds, SDL's disk driver gets the samples
# looped without a gap; no device is silence without a message.
#   third argument: the WAVE file the program embeds as its sound
source "$(dirname "$0")/xvfb-lib.sh"
WAVE="$3"
start_xvfb 320x240
start_host host 64x48

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/off.raw" "$SAVER" -window-id "$HOST_ID" --frames 5 ||
  fail "the silent saver ended with $?"
[ ! -e "$WORK/off.raw" ] || fail "an audio device was opened without -sounds"
echo "silent by default, no device opened: ok"

# The samples: the "data" chunk's body (the resource's header is checked elsewhere).
DATA_SIZE=$(od -An -t u4 -j 40 -N 4 "$WAVE" | tr -d ' ')
dd if="$WAVE" of="$WORK/samples.raw" iflag=skip_bytes,count_bytes skip=44 count="$DATA_SIZE" bs=64K status=none
cat "$WORK/samples.raw" "$WORK/samples.raw" "$WORK/samples.raw" >"$WORK/looped.raw"
# A short pause per buffer makes the disk driver run faster than real time.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/played.raw" SDL_DISKAUDIODELAY=2 start_saver disk -window-id "$HOST_ID" -sounds
played() { [ "$(stat -c %s "$WORK/played.raw" 2>/dev/null || echo 0)" -gt $((DATA_SIZE * 2 + 65536)) ]; }
eventually 20 played || fail "too little was played"
stop_saver 143
# The driver writes silence while the device is still paused (a loaded machine): the
# samples, whose first byte is not silence, start after it.
lead=$(head -c 65536 "$WORK/played.raw" | od -An -v -tu1 -w1 | awk '$1 != 128 && !n++ { print NR - 1 }')
cmp -n $((DATA_SIZE * 2)) -i "${lead:-0}:0" "$WORK/played.raw" "$WORK/looped.raw" ||
  fail "the played bytes are not the samples looped"
echo "disk driver: the samples looped: ok"

# No device: ALSA with a device that does not exist. The scene still appears.
for driver in alsa nosuchdriver; do
  SDL_AUDIODRIVER=$driver AUDIODEV=nosuchdevice host_scene "silent-$driver" 64x48 -sounds
  stop_saver
  [ ! -s "$WORK/silent-$driver.err" ] || fail "$driver: a message: $(head -3 "$WORK/silent-$driver.err")"
  echo "no device ($driver): silent, no message: ok"
done
