set output 'Timing3.svg
set terminal svg
set multiplot
set grid
set title "Clients end date"
set xlabel "audio cycles"
set ylabel "usec"
plot "/tmp/velmora-e2e.I9eDFk/profile.log" using 1 title "Audio period" with lines, "/tmp/velmora-e2e.I9eDFk/profile.log" using 8 title "parec/32" with lines, "/tmp/velmora-e2e.I9eDFk/profile.log" using 16 title "velmora/53" with lines
unset multiplot
unset output
