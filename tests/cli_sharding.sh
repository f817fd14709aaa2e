#!/bin/sh
# The README's recipe for a corpus larger than one machine, run on this machine alone: GNU parallel
# cuts the sorted list of files in two and runs zorvika-cli on both halves at once (two job slots of
# the local login ":" where the README names two hosts); the halves' JSON Lines, joined in order,
# must be exactly what one run over each folder prints.
# Usage: cli_sharding.sh ZORVIKA_CLI FOLDER...   (a folder that does not exist is passed over)
set -eu
cli=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compared=0
for folder in "$@"; do
    [ -d "$folder" ] || continue
    find "$folder" -type f -print0 | LC_ALL=C sort -z > "$work/files"
    parallel -a "$work/files" --pipepart --recend '\0' --block -1 --keep-order -S 2/: \
        --joblog "$work/jobs" "$cli list --json --null --files-from -" > "$work/sharded"
    "$cli" list --json -r "$folder" > "$work/whole"
    jobs=$(($(wc -l < "$work/jobs") - 1))
    documents=$(wc -l < "$work/whole")
    if [ "$jobs" -ne 2 ] || [ "$documents" -lt 10 ] || ! cmp -s "$work/sharded" "$work/whole"; then
        echo "FAILED: $folder: $jobs shards, $documents documents in one run; the shards' output differs"
        exit 1
    fi
    echo "$folder: $documents documents, two shards joined = one run"
    compared=$((compared + 1))
done
[ "$compared" -gt 0 ]
