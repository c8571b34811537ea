#!/usr/bin/env bash
# Runs one fuzz target for a while on a working copy of its seed corpus.
# Usage: fuzz/run.sh TARGET SECONDS [BUILD_DIR]
# TARGET is a name such as ntfs_file_record (the _fuzzer suffix may be left off).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz/run.sh TARGET SECONDS [BUILD_DIR]}
seconds=${2:?usage: fuzz/run.sh TARGET SECONDS [BUILD_DIR]}
out=${3:-$repo/build-fuzz}
target=${target%_fuzzer}
binary="$out/${target}_fuzzer"
[ -x "$binary" ] || "$repo/fuzz/build.sh" "$out"
work="$repo/fuzz/corpus-work/$target"
mkdir -p "$work" "$out/findings/$target"
seeds="$repo/fuzz/corpus/$target"
# Diagnostic lines of the volume code go to standard output; keep them quiet.
exec "$binary" -max_total_time="$seconds" -close_fd_mask=1 -print_final_stats=1 \
  -artifact_prefix="$out/findings/$target/" -rss_limit_mb=2048 -timeout=10 "$work" "$seeds"
