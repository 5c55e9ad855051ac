set output 'Timing5.svg
set terminal svg
set multiplot
set grid
set title "Clients duration"
set xlabel "audio cycles"
set ylabel "usec"
plot "/tmp/velmora-e2e.I9eDFk/profile.log" using 10 title "parec/32" with lines, "/tmp/velmora-e2e.I9eDFk/profile.log" using 18 title "velmora/53" with lines
unset multiplot
unset output
