#!/usr/bin/env bash
# Times sorvel-convert on a melody of 1,600 quarter notes (40 staff lines, 10 pages) against
# MuseScore 3 converting the same notes from MusicXML, in the same run, both offscreen.
# Usage: bench/convert_vs_musescore.sh path/to/sorvel-convert [runs]
set -euo pipefail
convert=${1:?give the path of sorvel-convert}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# The melody: quarter notes climbing C0..C1 over and over (MusicXML: four to a measure).
python3 - "$work" <<'EOF'
import sys, os
work = sys.argv[1]
naturals = [(4, "C", 4), (7, "D", 4), (10, "E", 4), (11, "F", 4), (14, "G", 4), (17, "A", 4),
            (20, "B", 4), (21, "C", 5)]
notes = [naturals[(i // 1) % 8] for i in range(1600)]
with open(os.path.join(work, "melody.txt"), "w") as f:
    f.write("<,sorvel2,0,3,440,0,0\n")
    f.write("".join(f"#C{i}\n" for i in range(40)))
    for p, _, _ in notes:
        f.write(f"{p},5\n")
with open(os.path.join(work, "melody.musicxml"), "w") as f:
    f.write('<?xml version="1.0" encoding="UTF-8"?>\n<score-partwise version="3.1">\n'
            '<part-list><score-part id="P1"><part-name>Melody</part-name></score-part></part-list>\n'
            '<part id="P1">\n')
    for m in range(400):
        f.write(f'<measure number="{m + 1}">')
        if m == 0:
            f.write('<attributes><divisions>1</divisions><key><fifths>0</fifths></key>'
                    '<time><beats>4</beats><beat-type>4</beat-type></time>'
                    '<clef><sign>G</sign><line>2</line></clef></attributes>')
        for _, step, octave in notes[m * 4:(m + 1) * 4]:
            f.write(f'<note><pitch><step>{step}</step><octave>{octave}</octave></pitch>'
                    '<duration>1</duration><type>quarter</type></note>')
        f.write('</measure>\n')
    f.write('</part>\n</score-partwise>\n')
EOF

# Best of the runs, in seconds.
best() {
  local best_t="" t start end
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best_t" ] || [ "$(echo "$t < $best_t" | bc -l)" = 1 ]; then best_t=$t; fi
  done
  echo "$best_t"
}

sorvel=$(best "$convert" "$work/melody.txt" "$work/sorvel.pdf")
pdfinfo "$work/sorvel.pdf" | grep Pages
printf 'sorvel-convert: %.3f s (best of %d)\n' "$sorvel" "$runs"

mscore=$(command -v mscore3 || command -v musescore3 || true)
if [ -z "$mscore" ]; then
  echo "MuseScore 3 is not installed (Debian package musescore3): no comparison"
  exit 0
fi
ms=$(best "$mscore" -o "$work/musescore.pdf" "$work/melody.musicxml")
pdfinfo "$work/musescore.pdf" | grep Pages || true
printf 'MuseScore 3:    %.3f s (best of %d)\n' "$ms" "$runs"
printf 'ratio:          %.1f times faster\n' "$(echo "$ms / $sorvel" | bc -l)"
