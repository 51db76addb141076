#!/usr/bin/env bash
# package_test.sh SOURCE_DIR BUILD_DIR: builds the Debian package from the programs of BUILD_DIR,
# extracts it into a temporary root and checks its control fields, its files and lintian's verdict.
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

deb=$("$source_dir/scripts/package.sh" "$build_dir" "$work")
[[ ${deb##*/} =~ ^zavrik_[0-9]+\.[0-9]+\.[0-9]+_amd64\.deb$ ]] || fail "unexpected file name ${deb##*/}"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zavrik ] || fail "Package is '$(field Package)'"
depends=$(field Depends)
for dependency in libfbclient2 libtiff6 libcairo2 libc6 libstdc++6 libfontconfig1 libfreetype6 libharfbuzz0b; do
  [[ ", $depends," == *", $dependency"[\ ,]* ]] || fail "Depends lacks $dependency: $depends"
done
[[ $(field Recommends) == *fonts-liberation2* ]] || fail "Recommends lacks the fonts: $(field Recommends)"

root=$work/root
dpkg -x "$deb" "$root"
for program in zavrik zavrik-tool; do
  [ -x "$root/usr/bin/$program" ] || fail "/usr/bin/$program missing"
  page=$root/usr/share/man/man1/$program.1.gz
  [ -f "$page" ] || fail "manual page $program.1.gz missing"
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
    zcat "$page" | grep -q "^\.SH \"\?$section\"\?\$" || fail "$program.1 has no $section section"
  done
done
[ -f "$root/usr/share/doc/zavrik/copyright" ] || fail "copyright file missing"
[ -z "$(find "$root" -path "$root/usr" -prune -o -mindepth 1 -print)" ] || fail "files outside /usr"

# The installed program runs: without arguments it prints its usage line.
set +e
usage=$("$root/usr/bin/zavrik")
rc=$?
set -e
[ $rc -eq 1 ] && [ "${usage%$'\r'}" = "Usage: zavrik <DatabasePath> <ReportName> <ID>" ] ||
  fail "the installed zavrik answered '$usage' (exit $rc)"

# Lintian: no errors (warnings and notes are listed for the reader).
lintian --fail-on error "$deb" || fail "lintian reports errors"
echo "package_test: ${deb##*/} is sound"
