#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test:
# unit and end-to-end tests natively and under AddressSanitizer + UBSan,
# a short run of each fuzz target, and the Windows program's tests under
# wine. Ends with one line "Total: N passed, M failed".
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
passed=0
failed=0
failures=()

bash scripts/install-deps.sh test || { echo "installing the test dependencies failed" >&2; exit 1; }
if [ -x scripts/install-windows-test-deps.sh ] || [ -f scripts/install-windows-test-deps.sh ]; then
  bash scripts/install-windows-test-deps.sh || { echo "installing the Windows test dependencies failed" >&2; exit 1; }
fi

# record NAME PASSED FAILED
record() {
  passed=$((passed + $2))
  failed=$((failed + $3))
  [ "$3" -eq 0 ] || failures+=("$1: $3 failed")
}

# run_ctest NAME BUILD_DIR CMAKE_ARGS...
run_ctest() {
  local name=$1 dir=$2; shift 2
  echo "=== $name: build ==="
  if ! cmake -S "$top" -B "$dir" "$@" >/dev/null || ! cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1; then
    tail -40 "$dir.build.log" 2>/dev/null
    record "$name build" 0 1
    return
  fi
  echo "=== $name: tests ==="
  local log="$dir/ctest.log"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" 2>&1 | tee "$log")
  local total fails
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
  fails=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)
  if [ -z "$total" ]; then
    record "$name tests" 0 1
  else
    record "$name tests" $((total - fails)) "$fails"
  fi
}

run_ctest "native" "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_ctest "sanitizers" "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON

if [ -f fuzz/run.sh ]; then
  echo "=== fuzz targets, a short run each ==="
  for source in fuzz/*_fuzzer.cpp; do
    target=$(basename "$source" _fuzzer.cpp)
    if bash fuzz/run.sh "$target" "${QUORVEL_FUZZ_SECONDS:-60}" >"$top/build-fuzz-$target.log" 2>&1; then
      tail -3 "$top/build-fuzz-$target.log"
      record "fuzz $target" 1 0
    else
      tail -40 "$top/build-fuzz-$target.log"
      record "fuzz $target" 0 1
    fi
  done
fi

if [ -f scripts/windows-tests.sh ]; then
  echo "=== Windows program under wine ==="
  log="$top/windows-tests.log"
  bash scripts/windows-tests.sh 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -1)
  win_passed=0
  win_failed=0
  if [ -n "$line" ]; then
    win_passed=$(echo "$line" | cut -d' ' -f1)
    win_failed=$(echo "$line" | cut -d' ' -f3)
  fi
  # A run that failed without counting a failure still fails.
  if [ "$status" -ne 0 ] && [ "$win_failed" -eq 0 ]; then win_failed=1; fi
  record "windows" "$win_passed" "$win_failed"
fi

echo
for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
