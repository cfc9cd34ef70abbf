#!/bin/bash
# Kills zep-post-loop at random moments while it posts records and rewrites its small files, then
# counts acknowledged, lost and damaged. Usage: bench/faults/kill_loop.sh [kills] [build dir]
set -u
kills=${1:-100}
build=${2:-build}
work=$(mktemp -d)
acks="$work/acks.txt"
data="$work/Daten"
mkdir -p "$data"
damaged_runs=0
for ((i = 1; i <= kills; i++)); do
    "$build/zep-post-loop" run "$data" >>"$acks" 2>&1 &
    pid=$!
    sleep "0.$((RANDOM % 900 + 50))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    # Every kill is followed by a check of all files; a damaged state after any kill counts.
    if ! "$build/zep-post-loop" check "$data" "$acks" >"$work/check.txt"; then
        damaged_runs=$((damaged_runs + 1))
        echo -n "Nach Kill $i: " && cat "$work/check.txt"
    fi
done
echo "Kills: $kills"
echo "Prüfungen mit Verlust oder Schaden: $damaged_runs"
echo -n "Letzte Prüfung: "
cat "$work/check.txt"
echo "Übrig gebliebene Zwischendateien: $(find "$data" -name '.*.tmp' | wc -l)"
rm -rf "$work"
