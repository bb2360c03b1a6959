# The median of the sorted numbers on standard input, one a line, for bench.sh and
# startup.sh; "-" when there are none, and a figure that is not a number ("n/a") as it is.
{ v[NR] = $1 }
END {
  if (NR == 0) print "-"
  else if (v[1] !~ /^[0-9.]+$/) print v[1]
  else print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)
}
