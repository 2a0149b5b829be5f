#!/bin/sh
# Every program has a page in section 1, under its own name (a family's other members
# as relative links to the shared page), the page names the program in its NAME section
# and has the sections a reader looks for; no page exists for a program the suite lacks.
# usage: pages.sh MAN_DIR PROGRAM...
man_dir=$1; shift
fail=0
bad() { echo "FAIL: $*"; fail=1; }

section() { # section PAGE TITLE: the lines of one section, escapes for minus undone
	sed -n "/^\.SH \"*$2\"*\$/,/^\.SH/p" "$1" | sed '1d;$d' | sed 's/\\-/-/g'
}

for prog in "$@"; do
	page=$man_dir/$prog.1
	if [ ! -e "$page" ]; then bad "$prog: no page $prog.1"; continue; fi
	if [ -L "$page" ]; then
		case $(readlink "$page") in
		*/*) bad "$prog: link $(readlink "$page") leaves the man directory" ;;
		esac
	fi
	section "$page" NAME | tr ',' ' ' | grep -qE "(^| )$prog( |\$)" ||
		bad "$prog: not named in the NAME section of $(basename "$(readlink -f "$page")")"
	for title in SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES; do
		[ -n "$(section "$page" "$title")" ] || bad "$prog: no $title section"
	done
	for text in '--help' '--version' "write error"; do
		sed 's/\\-/-/g' "$page" | grep -q -- "$text" ||
			bad "$prog: page does not mention $text"
	done
done

for page in "$man_dir"/*.1; do
	name=$(basename "$page" .1)
	case " $* " in
	*" $name "*) ;;
	*) bad "$name.1: no such program in the suite" ;;
	esac
done
exit $fail
