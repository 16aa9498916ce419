# Counted checks for the shell tests, sourced by them.
passed=0
failed=0
# check NAME COMMAND...: passes when the command succeeds.
check() {
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL $name"; failed=$((failed + 1)); fi
}
# summary TEST: prints the counts; fails when any check failed.
summary() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
# equal NAME EXPECTED GOT: passes when the two texts are the same.
equal() {
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else
    printf 'FAIL %s:\n  expected: %q\n  got:      %q\n' "$1" "$2" "$3"; failed=$((failed + 1)); fi
}
# run NAME STATUS EXPECTED_STDOUT EXPECTED_STDERR COMMAND...: runs the
# command, its outputs in $work/out and $work/err, with the caller's
# standard input, and checks its exit status and both outputs.
run() {
  local name=$1 status=$2 out=$3 err=$4
  shift 4
  timeout 60 "$@" >"${work:?}/out" 2>"$work/err"
  local got=$?
  equal "$name: status" "$status" "$got"
  equal "$name: standard output" "$out" "$(cat "$work/out")"
  equal "$name: standard error" "$err" "$(cat "$work/err")"
}
