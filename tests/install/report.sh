# Counts and prints the checks of an install test; sourced by each of them.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "PASS: $*"
}
