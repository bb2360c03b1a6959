# Sourced by the tests that look at seams between monitors (POSIX sh).
# seam_ratio IMAGE X Y H [-transpose]: how much the picture changes across the seam before
# column X, rows Y to Y+H-1 (one between rows: the picture transposed), against how much
# it changes between neighbouring columns on either side (eight each, the livelier side):
# about 1 where the picture goes on across the seam, several times that where it breaks.
seam_ratio() {
  convert "$1" ${5:+"$5"} -crop "18x$4+$(($2 - 9))+$3" +repage \( +clone -roll +1+0 \) \
    -compose difference -composite -crop 1x +repage -format '%[fx:mean] ' info: |
    awk '{ for (i = 2; i <= 9; i++) { b += $i; a += $(i + 9) }
           m = (a > b ? a : b) / 8; printf "%.2f\n", (m > 0 ? $10 / m : ($10 > 0 ? 99 : 1)) }'
}
