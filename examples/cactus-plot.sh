#!/bin/sh
# cactus-plot.sh PICTURE [TABLE]: a cactus plot of the reports that report-table's CSV (TABLE,
# or standard input; made without --all) gives as successfully proved, proof_status 1.  They are
# sorted by prover time (prover_time, else prover_time_colon; a proved report with neither is
# left out), and the n-th fastest is drawn at x = n, y = its seconds on a log scale.  PICTURE
# is a PNG when its name ends in .png, an SVG otherwise.  Needs gnuplot (Debian: gnuplot-nox).
#
#   find reports -name '*.txt' -print0 | report-table --files0-from=- |
#       examples/cactus-plot.sh cactus.svg
set -eu
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo 'usage: cactus-plot.sh PICTURE [TABLE]' >&2
    exit 2
fi
picture=$1
shift
case $picture in
    *.png) terminal='pngcairo size 800,500 font "sans,11"' ;;
    *) terminal='svg size 800,500 font "sans,11" background "#ffffff"' ;;
esac
program=$(mktemp)
trap 'rm -f "$program"' EXIT

# Rows in, "t SECONDS" for each proved report and "n ROWS" out.  Only the first field, the
# file name, can hold commas, quotes or line breaks (quoted); the others are counted from the
# end of the row, and a row goes on over line breaks while its quotes are unbalanced.
awk -F, '
    NR == 1 {
        for (i = 1; i <= NF; i++) back[$i] = NF - i
        if (!("proof_status" in back && "prover_time" in back && "prover_time_colon" in back)) {
            print "cactus-plot.sh: not a table from report-table" > "/dev/stderr"
            rows = -1
            exit
        }
        next
    }
    {
        row = open ? row "\n" $0 : $0
        quotes += gsub(/"/, "&")
        if (open = quotes % 2) next
        quotes = 0
        rows++
        n = split(row, f, ",")
        if (f[n - back["proof_status"]] != "1") next
        t = f[n - back["prover_time"]]
        if (t == "") t = f[n - back["prover_time_colon"]]
        if (t ~ /^[0-9]+\.[0-9]+$/) print "t", t
    }
    END { print "n", rows + 0 }' "$@" |
LC_ALL=C sort -k1,1 -k2,2g |
awk -v terminal="$terminal" '
    $1 == "n" { rows = $2; next }
    { seconds[++n] = $2 }
    END {
        if (rows < 0) exit 1
        if (!n) {
            print "cactus-plot.sh: no proved report with a prover time" > "/dev/stderr"
            exit 1
        }
        print "set terminal " terminal
        printf "set title \"%d of %d reports proved\"\n", n, rows
        print "set xlabel \"reports proved\""
        print "set ylabel \"prover time (seconds)\""
        print "set logscale y"
        print "set format y \"%g\""
        print "set xrange [0:*]"
        print "set autoscale xfixmax"
        print "set grid"
        print "set key off"
        print "$proved << EOD"
        for (i = 1; i <= n; i++) print i, seconds[i]
        print "EOD"
        print "plot $proved using 1:2 with linespoints linewidth 2 pointtype 7 pointsize 0.4"
    }' > "$program"
gnuplot "$program" > "$picture"
