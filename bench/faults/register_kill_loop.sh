#!/bin/bash
# Kills zep-register-loop at random moments while it files, copies, moves, creates and deletes
# documents, and opens the client after every kill as the program does (with its recovery). Counts
# what must never be left: files without a record, records without their file, files named by two
# records, unfinished copies, records still provisional, lost source files.
# Usage: bench/faults/register_kill_loop.sh [kills] [build dir]
set -u
kills=${1:-100}
build=${2:-build}
work=$(mktemp -d)
export XDG_DATA_HOME="$work/xdg" # the loop's own trash
"$build/zep-register-loop" prepare "$work" || exit 2
declare -A total=()
declare -A settled=()
steps=0
recovered=0
# What the openings set right, by the lines of their message.
kinds=("fertig abgelegt" "angefangene[s]? Dokument" "leere[r]? Eintr" "fertig gelöscht" "nicht gelöscht"
       "unvollständige Kopie")
for ((i = 1; i <= kills; i++)); do
    "$build/zep-register-loop" run "$work" "$RANDOM$i" >"$work/run.txt" 2>&1 &
    pid=$!
    sleep "0.$((RANDOM % 900 + 50))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    steps=$((steps + $(grep -c '^Vorgang ' "$work/run.txt")))
    "$build/zep-register-loop" check "$work" >"$work/check.txt" 2>&1
    if grep -q '^Meldung: ZEP wurde zuletzt beendet' "$work/check.txt"; then
        recovered=$((recovered + 1))
        for kind in "${kinds[@]}"; do
            n=$(grep -oE "[0-9]+ [^.]*$kind" "$work/check.txt" | awk '{s += $1} END {print s + 0}')
            settled[$kind]=$((${settled[$kind]:-0} + n))
        done
    fi
    counts=$(grep '^eintraege=' "$work/check.txt")
    if [ -z "$counts" ]; then
        echo "Nach Kill $i keine Prüfung möglich:" && cat "$work/check.txt"
        continue
    fi
    for pair in $counts; do
        key=${pair%%=*}
        total[$key]=$((${total[$key]:-0} + ${pair#*=}))
    done
    case "$counts" in
    *ohne_eintrag=0\ ohne_datei=0\ doppelt=0\ teilkopien=0\ vorlaeufig=0\ verloren=0) ;;
    *) echo "Nach Kill $i: $counts" ;;
    esac
done
echo "Kills: $kills"
echo "Abgeschlossene Vorgänge: $steps"
echo "Öffnungen mit Bereinigung: $recovered"
echo "  fertig abgelegte Dokumente: ${settled[fertig abgelegt]:-0}"
echo "  entfernte angefangene Dokumente: ${settled[angefangene[s]? Dokument]:-0}"
echo "  entfernte leere Einträge: ${settled[leere[r]? Eintr]:-0}"
echo "  fertig gelöschte Dokumente: ${settled[fertig gelöscht]:-0}"
echo "  nicht gelöschte Dokumente: ${settled[nicht gelöscht]:-0}"
echo "  gelöschte unvollständige Kopien: ${settled[unvollständige Kopie]:-0}"
echo "Summe über alle Prüfungen nach den Kills:"
echo "  Dateien ohne Eintrag: ${total[ohne_eintrag]:-?}"
echo "  Einträge ohne Datei: ${total[ohne_datei]:-?}"
echo "  Dateien, die zwei Einträge nennen: ${total[doppelt]:-?}"
echo "  unvollständige Kopien: ${total[teilkopien]:-?}"
echo "  vorläufige Einträge: ${total[vorlaeufig]:-?}"
echo "  verlorene Quelldateien: ${total[verloren]:-?}"
echo "Letzte Prüfung: $(grep '^eintraege=' "$work/check.txt")"
rm -rf "$work"
