#!/bin/sh
# Each program's page, as mandoc renders it, shows in its SYNOPSIS every form of the command
# line that the catalogue gives (and so --help prints), and in its OPTIONS every option the
# program takes, as --help names it (-x, --name=ARG): page and program cannot drift apart.
# usage: synopsis.sh MAN_DIR CATALOGUE_TSV MANDOC
man_dir=$1 catalogue=$2 mandoc=$3
if [ -z "$mandoc" ] || [ ! -x "$mandoc" ]; then
	echo "mandoc not installed (Debian package mandoc): pages not compared with the catalogue"
	exit 77
fi
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
# section TITLE: the lines of one section of the rendered page in $work/page, blanks squeezed
section() {
	awk -v title="$1" '/^[^ ]/ { inside = ($0 == title); next } inside' "$work/page" |
		sed 's/^ *//; s/  */ /g'
}
fail=0
# Each row: program, then its usage forms (\n between them) and its options (blanks between them).
awk -F '\t' 'NR == 1 { for (i = 1; i <= NF; i++) column[$i] = i; next }
	{ print $1 "\t" $column["usage"] "\t" $column["options"] }' "$catalogue" >"$work/rows"
while IFS='	' read -r prog usage options; do
	"$mandoc" -T ascii -O width=200 "$man_dir/$prog.1" 2>/dev/null | sed 's/.\x08//g' >"$work/page"
	section SYNOPSIS >"$work/synopsis"
	section OPTIONS >"$work/options"
	printf '%b\n' "$usage" | while IFS= read -r form; do
		grep -qxF -- "$prog $form" "$work/synopsis" ||
			{ echo "FAIL: $prog.1: SYNOPSIS lacks '$prog $form'"; echo fail >>"$work/failed"; }
	done
	for entry in $options; do
		shown=--${entry#?,}
		shown=${shown%%:*}
		case $entry in ?,*) shown="-${entry%%,*}, $shown" ;; esac
		grep -q -- "^$shown\( \|\$\)" "$work/options" ||
			{ echo "FAIL: $prog.1: OPTIONS lacks '$shown'"; fail=1; }
	done
done <"$work/rows"
[ -e "$work/failed" ] && fail=1
exit $fail
