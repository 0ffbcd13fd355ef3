# What the benchmark scripts share; sourced by each.
now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
