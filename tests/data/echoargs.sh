#!/bin/sh
# Writes its arguments one per line to the file named by VANTOR_ARGS_FILE.
# The file appears whole: written beside and then renamed.
out="$VANTOR_ARGS_FILE"
for arg in "$@"; do
    printf '%s\n' "$arg"
done > "$out.part" && mv "$out.part" "$out"
