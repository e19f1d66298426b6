#!/usr/bin/env bash
# Gathers the seed inputs of every fuzz target into fuzz/corpus/<target>/: the
# project's test files, files the fuzz build's orla-cli writes (movements, custom
# and hand-diagram tournaments, PBN exports) and the small text seeds of
# fuzz/seeds/. Usage: fuzz/corpus.sh BUILD_DIR (the folder holding src/cli/orla-cli).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:?usage: fuzz/corpus.sh BUILD_DIR}"
cli="$build/src/cli/orla-cli"
corpus="$root/fuzz/corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for t in tournamentfile movementfile players pbn handtext typedtext request; do mkdir -p "$corpus/$t"; done

# Files the tests keep.
cp "$root"/tests/data/*/*.otr "$work"/ 2>/dev/null || true
for f in "$root"/tests/data/*/input.otr; do cp "$f" "$corpus/tournamentfile/$(basename "$(dirname "$f")").otr"; done
for f in "$root"/tests/data/*/*.pbn; do cp "$f" "$corpus/pbn/$(basename "$(dirname "$f")")-$(basename "$f")"; done
cp "$root"/tests/data/ratinglist/Players.opd "$corpus/players/ratinglist.opd"
cp "$root"/fuzz/seeds/typedtext/* "$corpus/typedtext/"
cp "$root"/fuzz/seeds/handtext/* "$corpus/handtext/"
cp "$root"/fuzz/seeds/pbn/* "$corpus/pbn/"
cp "$root"/fuzz/seeds/request/* "$corpus/request/"
cp "$root"/fuzz/seeds/movementfile/* "$corpus/movementfile/"

# Files orla-cli writes, as the tests have it write them.
export ORLA_PROGRAM_FOLDER="$work"
run() { ORLA_PROGRAM_FOLDER="$work" ASAN_OPTIONS=detect_leaks=0 "$cli" "$@" >/dev/null; }
run movement --type mitchell --pairs 14 --boards-per-round 2 --export-ocm "$corpus/movementfile/mitchell14.ocm"
run movement --type howell --pairs 8 --boards-per-round 2 --export-ocm "$corpus/movementfile/howell8.ocm"
run movement --type mitchell --pairs 6 --boards-per-round 3 --export-ocm "$corpus/movementfile/mitchell6.ocm"
run new "$corpus/tournamentfile/custom.otr" --movement custom --pairs 14 --boards-per-round 2 \
    --ocm "$corpus/movementfile/mitchell14.ocm" --hands --rating --name "Custom"
run new "$corpus/tournamentfile/howell-imp.otr" --movement howell --pairs 8 --boards-per-round 2 --calc imp --masters
run new "$corpus/tournamentfile/mitchell-hands.otr" --movement mitchell --pairs 10 --boards-per-round 3 --hands
cp "$corpus/tournamentfile/mitchell-hands.otr" "$work/dealt.otr"
run hands "$work/dealt.otr" --import-pbn "$root/fuzz/seeds/pbn/deals.pbn"
run hands "$work/dealt.otr" --export-pbn "$corpus/pbn/mitchell-export.pbn"
cp "$work/dealt.otr" "$corpus/tournamentfile/mitchell-dealt.otr"
# A file of the old format (no marker): 2 pairs, 1 board, 1 round, then the
# names and the one result, with the rating and penalty tails.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
{
    printf "$(le32 2)$(le32 1)$(le32 1)$(le32 1)$(le32 1)$(le32 1)$(le32 0)"
    printf '%-64s' "Old format"
    printf '%-32s' North1 North2 East1 East2
    printf "$(le32 1109917696)"                                  # 42.0
    printf "$(le32 -1)$(le32 0)$(le32 0)"                         # rating mode, increments
    printf "$(le32 0)$(le32 0)$(le32 -1)"                         # penalties, valid board
    printf "$(le32 -1)$(le32 -1)$(le32 -1)"                       # options
} >"$corpus/tournamentfile/oldformat.otr"
run players add "Kovač Ana" 1200
run players add "Novak Marko" -35
cp "$work/Players.opd" "$corpus/players/written.opd"
echo "corpus gathered in $corpus"
