#!/bin/sh
# The Debian package that `cpack -G DEB` builds, checked in one of two ways:
#   contents: it holds exactly the catalogue's programs in usr/bin, a compressed page and a
#     bash completion for each, the licence and changelog in usr/share/doc/geoproof-tools, and
#     declares its name, version, maintainer and the dependencies dpkg-shlibdeps found; unpacked
#     into a scratch root, every program does its catalogue sample and bash-completion finds
#     every program's completion there;
#   lintian: lintian reports no error and no warning on it.
# usage: package.sh contents|lintian CPACK BUILD_DIR BIN_DIR CATALOGUE_TSV VERSION [LINTIAN]
mode=$1 cpack=$2 build=$3 bin=$4 catalogue=$5 version=$6 lintian=$7
if [ "$mode" = lintian ] && { [ -z "$lintian" ] || [ ! -x "$lintian" ]; }; then
	echo "lintian not installed (Debian package lintian): package not linted"
	exit 77
fi
# field NAME: the catalogue's column NAME, one row a line, after the program's name and a tab
field() {
	awk -F '\t' -v name="$1" 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == name) column = i; next }
		{ print $1 "\t" $column }' "$catalogue"
}
programs=$(field program | cut -f1)
for prog in $programs; do
	if [ ! -x "$bin/$prog" ]; then
		echo "$prog is not built yet: package not checked"
		exit 77
	fi
done

work=$(mktemp -d "$build/package-test.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
	{ cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/*.deb)

if [ "$mode" = lintian ]; then
	"$lintian" --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail=1
	grep -E '^[EW]: ' "$work/lintian.log" && fail=1
	[ $fail = 0 ] || { cat "$work/lintian.log"; echo "FAIL: lintian"; }
	exit $fail
fi

[ "$(basename "$deb")" = "geoproof-tools_${version}_$(dpkg --print-architecture).deb" ] ||
	bad "package file named $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = geoproof-tools ] || bad "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || bad "Version: $(dpkg-deb -f "$deb" Version)"
# dpkg-shlibdeps gives each library the version the programs need; statically linked programs
# need none.
if readelf -d "$bin"/* | grep -q '(NEEDED)'; then
	dpkg-deb -f "$deb" Depends | grep -qE '(^|, )libc6 \(>= [0-9]' ||
		bad "Depends not computed by dpkg-shlibdeps: $(dpkg-deb -f "$deb" Depends)"
else
	[ -z "$(dpkg-deb -f "$deb" Depends)" ] ||
		bad "Depends of static programs: $(dpkg-deb -f "$deb" Depends)"
fi
dpkg-deb -f "$deb" Maintainer | grep -qE '^[^<]*[^< ] <[^@]+@[^@]+\.[^@.]+>$' ||
	bad "Maintainer: $(dpkg-deb -f "$deb" Maintainer)"

# Contents: the programs, executable, and nothing else in usr/bin; one page and one completion
# a program; every page compressed.
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' >"$work/contents"
expected=$(for prog in $programs; do echo "./usr/bin/$prog"; done | sort)
actual=$(grep -E ' \./usr/bin/.' "$work/contents" | awk '{ print $2 }' | sort)
[ "$actual" = "$expected" ] || bad "usr/bin holds:
$actual"
grep -E ' \./usr/share/man/.*[^/]$' "$work/contents" | grep -vE '\.[1-9]\.gz$' &&
	bad "uncompressed pages"
for prog in $programs; do
	grep -qE "^-rwxr-xr-x \./usr/bin/$prog\$" "$work/contents" || bad "$prog not an executable file"
	grep -qE " \./usr/share/man/man1/$prog\.1\.gz\$" "$work/contents" || bad "no page for $prog"
	grep -qE " \./usr/share/bash-completion/completions/$prog\$" "$work/contents" ||
		bad "no completion for $prog"
done

# A scratch root: every packaged program does its sample, every page and completion resolves.
root=$work/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x"; exit 1; }
field sample >"$work/samples"
field output >"$work/outputs"
field kind >"$work/kinds"
mkdir "$work/run"
for prog in $programs; do
	printf '%b' "$(grep "^$prog	" "$work/samples" | cut -f2-)" >"$work/sample"
	printf '%b' "$(grep "^$prog	" "$work/outputs" | cut -f2-)" >"$work/want"
	if grep -q "^$prog	comparison\$" "$work/kinds"; then  # its sample is a report in a run
		cp "$work/sample" "$work/run/r"
		"$root/usr/bin/$prog" run="$work/run" >"$work/got"
	else
		"$root/usr/bin/$prog" <"$work/sample" >"$work/got"
	fi
	status=$?
	[ "$status" = 0 ] && cmp -s "$work/got" "$work/want" ||
		bad "packaged $prog on its sample: status $status, output '$(cat "$work/got")'"
	page=$root/usr/share/man/man1/$prog.1.gz
	[ -f "$page" ] || bad "page of $prog does not resolve"
	# gzip -9n: no name, no time stamp, best compression (the flags, the time, the extra flags).
	[ "$(od -An -tx1 -N9 "$page" | tr -d ' \n')" = 1f8b08000000000002 ] ||
		bad "page of $prog not compressed with gzip -9n"
	[ -f "$root/usr/share/bash-completion/completions/$prog" ] ||
		bad "completion of $prog does not resolve"
done

doc=$root/usr/share/doc/geoproof-tools
head -n 1 "$doc/copyright" 2>/dev/null |
	grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
	bad "no machine-readable copyright file"
[ "$(od -An -tx1 -N9 "$doc/changelog.gz" | tr -d ' \n')" = 1f8b08000000000002 ] ||
	bad "changelog not compressed with gzip -9n"
gzip -dc "$doc/changelog.gz" | head -n 1 | grep -q "^geoproof-tools ($version) " ||
	bad "changelog's last entry is not for $version: $(gzip -dc "$doc/changelog.gz" | head -n 1)"

# bash-completion looks for a command's completion under each directory of XDG_DATA_DIRS.
loader=/usr/share/bash-completion/bash_completion
if [ -r "$loader" ]; then
	for prog in $programs; do
		XDG_DATA_DIRS=$root/usr/share bash -c '. "$1"; __load_completion "$2" &&
			complete -p "$2" | grep -q " -F _geoproof_tools "' sh "$loader" "$prog" ||
			bad "bash-completion does not load the completion of $prog"
	done
else
	echo "bash-completion not installed: its loading of the completions not checked"
fi
exit $fail
