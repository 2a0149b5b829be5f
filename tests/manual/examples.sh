#!/bin/sh
# Each page's EXAMPLES show the same lines, empty ones included, under man-db (man -l), groff
# and mandoc: man-db squeezes a run of empty lines into one, which an example must not rely on.
# usage: examples.sh MAN_DIR MAN GROFF MANDOC
man_dir=$1 man=$2 groff=$3 mandoc=$4
for tool in "$man" "$groff" "$mandoc"; do
	if [ -z "$tool" ] || [ ! -x "$tool" ]; then
		echo "man-db, groff or mandoc not installed: examples not compared"
		exit 77
	fi
done
export LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_FORMATTING= MANPAGER=cat PAGER=cat
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
# examples: the EXAMPLES section of a rendered page on standard input, formatting dropped, up
# to the next section's heading (the empty line before it, the same in all three, included);
# a section that runs to the page's end, whose empty lines differ, shows as an error
examples() {
	sed 's/.\x08//g; s/\x1b\[[0-9;]*m//g' | awk '
		/^[^ ]/ && inside { if ($0 !~ /^[A-Z][A-Z ]*$/) print "(EXAMPLES is the last section)"; exit }
		$0 == "EXAMPLES" { inside = 1; next }
		inside'
}
fail=0
for page in "$man_dir"/*.1; do
	[ -L "$page" ] && continue
	"$man" -l "$page" 2>/dev/null | examples >"$work/man-db"
	"$groff" -man -t -Tutf8 -P-cbou "$page" 2>/dev/null | examples >"$work/groff"
	"$mandoc" -T utf8 "$page" | examples >"$work/mandoc"
	[ -s "$work/groff" ] || { echo "FAIL: $(basename "$page"): no EXAMPLES"; fail=1; continue; }
	grep -qx '(EXAMPLES is the last section)' "$work/groff" &&
		{ echo "FAIL: $(basename "$page"): a section must follow EXAMPLES, so that its end is the same"; fail=1; }
	for other in man-db mandoc; do
		if ! cmp -s "$work/groff" "$work/$other"; then
			echo "FAIL: $(basename "$page"): EXAMPLES under groff and $other differ:"
			diff "$work/groff" "$work/$other"
			fail=1
		fi
	done
done
exit $fail
