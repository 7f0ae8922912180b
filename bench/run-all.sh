#!/usr/bin/env bash
# Runs every benchmark already built in a build folder and prints their tables.
# Usage: bench/run-all.sh BUILD_FOLDER [NAME...]   (names like startup, preview; default all)
# Builds nothing. Exit status: 0 when every target was met, 1 otherwise.
set -u

if [[ $# -lt 1 || ! -d "$1" ]]; then
    echo "usage: $0 BUILD_FOLDER [startup|preview|listing|tile|workbench|memory|hostile|responsive|exit ...]" >&2
    exit 64
fi
build=$1
shift
names=("$@")
if [[ ${#names[@]} -eq 0 ]]; then
    names=(startup preview listing tile workbench memory hostile responsive exit)
fi

status=0
summary=()
for name in "${names[@]}"; do
    program="$build/bench/bench_$name"
    if [[ ! -x $program ]]; then
        summary+=("$name: not built ($program)")
        status=1
        continue
    fi
    "$program"
    rc=$?
    case $rc in
    0) summary+=("$name: targets met") ;;
    2) summary+=("$name: target MISSED"); status=1 ;;
    *) summary+=("$name: FAILED (exit $rc)"); status=1 ;;
    esac
done

echo
echo "== Summary =="
printf '%s\n' "${summary[@]}"
exit $status
