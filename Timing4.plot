set output 'Timing4.svg
set terminal svg
set multiplot
set grid
set title "Clients scheduling latency"
set xlabel "audio cycles"
set ylabel "usec"
plot "/tmp/velmora-e2e.I9eDFk/profile.log" using 9 title "parec/32" with lines, "/tmp/velmora-e2e.I9eDFk/profile.log" using 17 title "velmora/53" with lines
unset multiplot
unset output
