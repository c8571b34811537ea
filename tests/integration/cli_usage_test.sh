#!/usr/bin/env bash
# The command line: help and version answer with exit code 0 on stdout; a
# malformed command line gives exit code 2 with the reason and the usage on
# stderr, and touches nothing.
source "$(dirname "$0")/lib/common.sh"
QUORVEL=$1
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK/out"
cd "$WORK"
touch image.img

# expected exit code | what must be printed (extended regular expression) |
# the arguments
CASES=(
  "0|^Usage: quorvel scan SOURCE|--help"
  "0|^Usage: quorvel scan SOURCE|scan -h"
  "0|^quorvel [0-9]+\.[0-9]+|--version"
  "2|no command given|"
  "2|unknown command 'rescue'|rescue image.img -o out"
  "2|no SOURCE given|scan -o out"
  "2|no output folder given|scan image.img"
  "2|-o needs a folder|scan image.img -o"
  "2|unknown option '--fast'|scan image.img -o out --fast"
  "2|more than one SOURCE|scan image.img image.img -o out"
)

for row in "${CASES[@]}"; do
  IFS='|' read -r want_rc pattern args <<<"$row"
  read -r -a argv <<<"$args"
  rc=0
  "$QUORVEL" "${argv[@]}" >stdout.txt 2>stderr.txt || rc=$?
  [ "$rc" = "$want_rc" ] || fail "quorvel $args: exit code $rc, not $want_rc"
  if [ "$want_rc" = 0 ]; then
    grep -Eq "$pattern" stdout.txt || fail "quorvel $args: stdout lacks '$pattern'"
    [ ! -s stderr.txt ] || fail "quorvel $args: wrote to stderr: $(cat stderr.txt)"
  else
    grep -Eq "^quorvel: .*$pattern" stderr.txt || fail "quorvel $args: stderr lacks '$pattern': $(cat stderr.txt)"
    grep -q '^Usage: quorvel scan SOURCE' stderr.txt || fail "quorvel $args: no usage on stderr"
    [ ! -s stdout.txt ] || fail "quorvel $args: wrote to stdout: $(cat stdout.txt)"
  fi
  [ -z "$(ls -A out)" ] || fail "quorvel $args: wrote into the output folder"
  echo "ok: quorvel $args -> $want_rc"
done
