#!/bin/sh
# The bash completion, run as bash runs it: each case sets the words of a command line and the
# word being completed, calls the completion function registered for the program, and compares
# the replies, sorted and one a line, with what the case expects.
# usage: completion.sh COMPLETION_FILE
completion=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
mkdir "$work/reports" "$work/runs" "$work/-dash"
: >"$work/report 1.txt"
: >"$work/report2.txt"
: >"$work/runs.txt"

cd "$work" && bash -c '
. "$1"
fail=0
# check NAME EXPECTED WORD...: completes the last WORD of the command line WORD...
check() {
	name=$1 expected=$2
	shift 2
	COMP_WORDS=("$@")
	COMP_CWORD=$(($# - 1))
	COMPREPLY=()
	function=$(complete -p "$1" 2>/dev/null | sed -n "s/.* -F \([^ ]*\) .*/\1/p")
	if [ -z "$function" ]; then
		echo "FAIL: $name: no completion for $1"
		fail=1
		return
	fi
	previous=
	[ $COMP_CWORD -gt 0 ] && previous=${COMP_WORDS[COMP_CWORD - 1]}
	"$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "$previous"
	got=$(printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort)
	want=$(printf "%b" "$expected")
	if [ "$got" != "$want" ]; then
		printf "FAIL: %s: %s\n  want: %s\n  got:  %s\n" "$name" "$*" "$want" "$got"
		fail=1
	fi
}
# The words bash hands over: with = among the word breaks, "--format=" is "--format" "=".
check "long option from its start" "--format=" report-table --fo
check "every option from --" "--help\n--line-buffered\n--version" token-classifier --
check "the programs all take the common ones" "--line-buffered" prover-time --li
check "a translator option" "--diagnostics" script-translator --d
check "an ambiguous start lists each" "--files0-from=\n--format=" report-table --f
check "the words of --format=" "csv\njson" report-table --format =
check "a word of --format= from its start" "json" report-table --format = j
check "an abbreviated option takes its words" "csv" report-table --form = c
check "the argument as the next word" "csv\njson" report-table --format ""
check "one word on its own, whole" "--format=csv" report-table --format=c
check "--files0-from= takes file names" "runs\nruns.txt" report-table --files0-from = run
check "operands are file names" "report 1.txt\nreport2.txt\nreports" report-table rep
check "after an option too" "report 1.txt\nreport2.txt\nreports" prover-time --line-buffered rep
check "after --, no option" "-dash" token-classifier -- -d
check "an option that takes no argument" "report 1.txt\nreport2.txt\nreports" report-table --all rep
recursive=$(_geoproof_tools_option report-table --recursive)
if [ -n "$recursive" ]; then
	check "--recursive takes directories" "reports" report-table --recursive rep
	check "and so does -r" "reports\nruns" report-table -r r
	check "also before other options" "reports" report-table -r --all rep
fi
exit $fail
' sh "$completion"
