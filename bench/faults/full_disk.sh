#!/bin/bash
# Runs zep-post-loop on a small tmpfs until the disk is full (it stops after 20 failures), then
# shows what was reported and what was kept. Needs root for the mount.
# Usage: bench/faults/full_disk.sh [size] [build dir]
set -u
size=${1:-256k}
build=${2:-build}
point=$(mktemp -d)
mount -t tmpfs -o "size=$size" tmpfs "$point" || { echo "tmpfs kann nicht eingehängt werden"; exit 1; }
log=$(mktemp)
"$build/zep-post-loop" run "$point" >"$log" 2>&1
echo "Disk $size: $(grep -c '^ok ' "$log") Buchungen bestätigt, $(grep -c '^Fehler' "$log") Fehler gemeldet"
echo "Gemeldete Fehler (verschiedene):"
grep '^Fehler' "$log" | sed 's/\/tmp\/[^"]*\//…\//' | sort | uniq -c
echo -n "Prüfung: "
"$build/zep-post-loop" check "$point" "$log"
echo "Übrig gebliebene Zwischendateien: $(find "$point" -name '.*.tmp' | wc -l)"
umount "$point"
rmdir "$point"
rm -f "$log"
