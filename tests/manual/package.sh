#!/bin/sh
# The Debian package that `cpack -G DEB` builds holds exactly the suite's programs in
# usr/bin and a page for each in usr/share/man/man1, declares its name, version and run-time
# dependency, and unpacks into a scratch root from which every program runs.
# usage: package.sh CPACK BUILD_DIR BIN_DIR VERSION PROGRAM...
cpack=$1 build=$2 bin=$3 version=$4
shift 4
for prog in "$@"; do
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
[ "$(basename "$deb")" = "geoproof-tools_${version}_$(dpkg --print-architecture).deb" ] ||
	bad "package file named $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = geoproof-tools ] || bad "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || bad "Version: $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -qE '(^|, )libc6( |,|$)' ||
	bad "Depends does not name libc6: $(dpkg-deb -f "$deb" Depends)"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || bad "no Maintainer"

# Contents: the programs, executable, and nothing else in usr/bin; one page a program.
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' >"$work/contents"
expected=$(for prog in "$@"; do echo "./usr/bin/$prog"; done | sort)
actual=$(grep -E ' \./usr/bin/.' "$work/contents" | awk '{ print $2 }' | sort)
[ "$actual" = "$expected" ] || bad "usr/bin holds:
$actual"
for prog in "$@"; do
	grep -qE "^-rwxr-xr-x \./usr/bin/$prog\$" "$work/contents" || bad "$prog not an executable file"
	grep -qE " \./usr/share/man/man1/$prog\.1\$" "$work/contents" || bad "no page for $prog"
done

# A scratch root: every packaged program runs from it, and every page there resolves.
root=$work/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x"; exit 1; }
for prog in "$@"; do
	[ -f "$root/usr/share/man/man1/$prog.1" ] || bad "page of $prog does not resolve"
	[ "$prog" = report-compare ] && continue  # it reads runs, not standard input
	out=$("$root/usr/bin/$prog" </dev/null)
	status=$?
	want=
	[ "$prog" = proof-status ] && want=3
	[ "$prog" = report-table ] && want="$(echo "file,prover_time,prover_time_colon,\
clock_seconds,algebraic_steps,elimination_steps,total_steps,geometric_steps,proved_flag,\
proof_status,error_kind,runtime_error_flag,syntax_error_flag"; echo '-,,,,,,,,,3,,,')"
	[ "$status" = 0 ] && [ "$out" = "$want" ] ||
		bad "$prog on empty input: status $status, output '$out'"
done
out=$(printf 'Time spent by the prover is 12.5 seconds\n' | "$root/usr/bin/prover-time")
[ "$out" = 12.500000 ] || bad "packaged prover-time wrote '$out'"
exit $fail
