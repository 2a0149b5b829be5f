#!/bin/sh
# Each page (links aside) formats without a single complaint from mandoc's linter and, where
# groff is installed, from groff with all warnings on, for print and for a terminal 120
# columns wide, as lintian renders pages (there tbl complains of a table that meets a page
# boundary of man's one long page: a .ne before each table keeps it whole).
# usage: lint.sh MAN_DIR MANDOC [GROFF]
man_dir=$1 mandoc=$2 groff=$3
if [ -z "$mandoc" ] || [ ! -x "$mandoc" ]; then
	echo "mandoc not installed (Debian package mandoc): pages not linted"
	exit 77
fi
fail=0
for page in "$man_dir"/*.1; do
	[ -L "$page" ] && continue
	out=$("$mandoc" -T lint -W style "$page" 2>&1) || { echo "FAIL: mandoc exit status $? on $page"; fail=1; }
	[ -z "$out" ] || { echo "$out"; fail=1; }
	if [ -n "$groff" ] && [ -x "$groff" ]; then
		for device in "" "-Tutf8 -rLL=120n"; do
			out=$("$groff" -man -t -ww -z $device "$page" 2>&1)
			[ -z "$out" ] || { echo "groff $device: $page:"; echo "$out"; fail=1; }
		done
	fi
done
exit $fail
