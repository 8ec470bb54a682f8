#!/usr/bin/env bash
# The user guide beside the program opens: every page renders with ink on it
# (not blank, not a black box), and the program's screenshots are embedded.
# Argument: the folder of kelvane.exe.
set -euo pipefail
dir="${1:?usage: help_pdf_test.sh FOLDER_OF_KELVANE_EXE}"
pdf="$dir/kelvane.pdf"
[ -f "$dir/kelvane.exe" ] || { echo "no kelvane.exe in $dir"; exit 1; }
[ -s "$pdf" ] || { echo "no kelvane.pdf beside kelvane.exe in $dir"; exit 1; }

pages=$(pdfinfo "$pdf" | sed -nE 's/^Pages: +([0-9]+)$/\1/p')
[ "${pages:-0}" -ge 2 ] || { echo "kelvane.pdf has ${pages:-no} pages"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pdftoppm -r 40 -gray "$pdf" "$work/page"
rendered=$(find "$work" -name 'page-*.pgm' | wc -l)
[ "$rendered" -eq "$pages" ] || { echo "rendered $rendered of $pages pages"; exit 1; }

# Share of dark pixels per page: a blank page has none, a page of text a
# few percent, a failed rendering or a black box far more. The cover has the
# title and the contents, so it must show clearly more than a stray line.
python3 - "$work"/page-*.pgm <<'PY'
import sys
bad = False
for name in sys.argv[1:]:
    data = open(name, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maxval
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    dark = sum(1 for p in pixels if p < 128) / len(pixels)
    print(f"{name.rsplit('/', 1)[-1]}: {dark:.2%} dark")
    least = 0.005 if name.endswith('-1.pgm') or name.endswith('-01.pgm') else 0.0005
    if not least < dark < 0.5:
        bad = True
sys.exit(1 if bad else 0)
PY

# Every picture the guide's source shows is in the PDF.
source="$(cd "$(dirname "$0")/../.." && pwd)/docs/help/kelvane.html"
wanted=$(perl -0pe 's/<!--.*?-->//gs' "$source" | grep -oE '<img [^>]*src="[^"]+"' | sort -u | wc -l)
images=$(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image"' | wc -l)
[ "$wanted" -ge 1 ] && [ "$images" -eq "$wanted" ] ||
  { echo "kelvane.pdf holds $images pictures, its source shows $wanted"; exit 1; }
echo "kelvane.pdf: $pages pages, $images screenshots"
