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
