#!/usr/bin/env bash
# tessivar-bench as a command-line tool: each row is an exit code, the stream and a text that
# must appear in it, and the arguments (a row's OUT names a file for standard output).
set -uo pipefail
bench=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

failed=0 passed=0
run() {  # run CODE STREAM TEXT OUT ARGS...
  local code=$1 stream=$2 text=$3 out=$4
  shift 4
  "$bench" "$@" >"${out:-$tmp/out}" 2>"$tmp/err"
  local rc=$?
  local seen
  seen=$(cat "$tmp/$stream" 2>/dev/null)
  if [ "$rc" -ne "$code" ] || [[ "$seen" != *"$text"* ]]; then
    echo "FAIL: tessivar-bench $* (>${out:-stdout}): exit $rc, want $code; $stream lacks \"$text\":"
    sed 's/^/  | /' "$tmp/out" "$tmp/err" | head -8
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
}

ok=(--vars 3 --subjects 50 --replications 1)
run 0 out "usage: tessivar-bench --vars N"         "" --help
run 2 err "missing --vars, --subjects, --replications" ""
run 2 err "missing --replications"                 "" --vars 3 --subjects 50
run 2 err "unknown option --frobnicate"            "" "${ok[@]}" --frobnicate
run 2 err "unknown option --frobnicate"            "" --frobnicate "${ok[@]}"
run 2 err "unknown argument frobnicate"            "" "${ok[@]}" frobnicate
run 2 err "missing value after --vars"             "" --vars
run 2 err "--dump needs a file name"               "" "${ok[@]}" --dump ""
run 2 err "--vars needs a whole number, not \"3x\"" "" --vars 3x --subjects 50 --replications 1
run 2 err "--subjects needs a whole number"        "" --vars 3 --subjects "" --replications 1
run 0 out "3 variables, 50 subjects"               "" --vars " 3" --subjects 50 --replications 1
run 0 out "3 variables, 50 subjects"               "" --vars "3 " --subjects 50 --replications 1
run 2 err "--vars must be 3-200"                   "" --vars 201 --subjects 500 --replications 1
run 2 err "--subjects must be more than --vars"    "" --vars 60 --subjects 60 --replications 1
run 2 err "--isa must be baseline, avx2 or avx512" "" "${ok[@]}" --isa sse
run 0 out "kernels: baseline"                      "" "${ok[@]}" --isa baseline
run 1 err "cannot write to standard output: No space left on device" /dev/full "${ok[@]}"
run 1 err "cannot write to standard output: No space left on device" /dev/full --help
run 1 err "cannot write /dev/full: No space left on device"   "" "${ok[@]}" --dump /dev/full
run 1 err "cannot write $tmp/none/dump"            "" "${ok[@]}" --dump "$tmp/none/dump"
run 0 out "peak memory"                            "" "${ok[@]}" --dump "$tmp/dump"
if [ "$(head -n1 "$tmp/dump")" != "3 50 1" ] || [ "$(wc -l <"$tmp/dump")" -ne $((1 + 50 + 3 + 3)) ]; then
  echo "FAIL: the dump's first line or number of lines"
  failed=$((failed + 1))
else
  passed=$((passed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
