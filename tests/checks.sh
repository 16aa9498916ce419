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
