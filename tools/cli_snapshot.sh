#!/usr/bin/env bash
# Runs the command-line tool over a fixed list of requests on the shipped
# value sets and prints, for each, the command, its exit status, its standard
# output and its standard error. Two builds that print the same snapshot
# behave the same for the README's examples and for every calculator the
# tool can solve:
#
#   tools/cli_snapshot.sh OLD/bin/ohmtrim-cli > old.txt
#   tools/cli_snapshot.sh NEW/bin/ohmtrim-cli > new.txt
#   diff old.txt new.txt
#
# A usage error (exit status 64) is recorded by its first line only: the
# text after it (usage summary or hint) is not part of the contract.
set -uo pipefail

cli=${1:?usage: tools/cli_snapshot.sh PATH/TO/ohmtrim-cli [DATA_DIR]}
data=${2:-$(cd "$(dirname "$0")/../data" && pwd)}

run() {
    local out err status
    out=$(mktemp) err=$(mktemp)
    "$cli" --dir "$data" "$@" >"$out" 2>"$err"
    status=$?
    printf '$ ohmtrim-cli %s\n' "$*"
    printf 'exit %d\n' "$status"
    printf -- '--- stdout\n'
    cat "$out"
    printf -- '--- stderr\n'
    if [ "$status" -eq 64 ]; then
        head -n 1 "$err"
    else
        cat "$err"
    fi
    printf '\n'
    rm -f "$out" "$err"
}

# Both output forms of one request.
both() {
    run "$@"
    run --json "$@"
}

# ---- the README's examples and the informational commands -------------------
run nearest E24 4800
run --json solve 3 --sets E12,E24 --target 4700
run solve 8 --sets E12,E12 --u1 12 --u2 5 --rmin 1000 --rmax 20000
run solve 13 --sets E12,E12,E12 --u1 10 --u2 6 --u3 3 --u4 0 --rmin 1000 --rmax 100000
run --json solve 14 --sets E24,E24,E24,E24 --u1 12 --u2 6 --u3 3.3 --u4 0 --rmin 1000 --rmax 100000
run --json solve 17 --sets E24,E24,E24 --case1 4,10,0,0 --case2 2,0,0,10 --rmin 900 --rmax 1100
both sets
run --reltol 0.01 sets
both values E12
run --json values e96so
for r in 4800 1 0.5 1e7 2e7 10000 1e15 1e-15; do
    both nearest E24 "$r"
done
both nearest E12SO 100000000

# ---- entries 1 to 7: one wanted resistance ------------------------------------
for t in 4700 1234.5 1 0.3 99999 1e6 3.3e7 1e15; do
    both solve 1 --sets E12 --target "$t"
    both solve 1 --sets E24SO --target "$t"
done
for entry in 2 3; do
    for sets in E12,E12 E12,E24 E24SO,E96 E96SO,E96SO; do
        for t in 4700 1234.5 10 0.5 68000 2.2e7 1e12; do
            both solve "$entry" --sets "$sets" --target "$t"
        done
    done
done
for entry in 4 5 6 7; do
    for sets in E12,E12,E12 E6,E24,E12 E24SO,E24SO,E24SO E96,E48,E96; do
        for t in 4700 1234.5 10 0.5 68000 2.2e7; do
            both solve "$entry" --sets "$sets" --target "$t"
        done
    done
done
run --reltol 0 solve 5 --sets E96,E96,E96 --target 12345.6
run --reltol 0.05 --json solve 6 --sets E12,E12,E12 --target 777

# ---- entries 8 to 12: voltage dividers ----------------------------------------
divider_cases=(
    "--u1 12 --u2 5 --rmin 1000 --rmax 20000"
    "--u1 12 --u2 5 --u3 0 --rmin 1000 --rmax 20000"
    "--u1 0 --u2 3.3 --u3 5 --rmin 10000 --rmax 100000"
    "--u1 24 --u2 1.25 --u3 0 --rmin 1e3 --rmax 1e6"
    "--u1 5 --u2 4.99 --u3 0 --rmin 100 --rmax 1e7"
    "--u1 10 --u2 5 --rmin 1 --rmax 150"
    "--u1 10 --u2 5 --rmin 1e9 --rmax 1e10"
    "--u1 10 --u2 5 --rmin 1000 --rmax 1000"
    "--u1 10 --u2 10 --rmin 1000 --rmax 2000"
    "--u1 10 --u2 5 --rmin 0 --rmax 1000"
)
for c in "${divider_cases[@]}"; do
    # shellcheck disable=SC2086 # the options are meant to split
    both solve 8 --sets E12,E24 $c
    both solve 9 --sets E12,E12,E24 $c
    for entry in 10 11 12; do
        both solve "$entry" --sets E12,E12,E12,E12 $c
    done
done
run --reltol 0 --json solve 8 --sets E96,E96 --u1 12 --u2 5 --rmin 1000 --rmax 20000
run --reltol 0 --json solve 9 --sets E24,E24,E24 --u1 12 --u2 5 --rmin 1000 --rmax 20000
run --json solve 12 --sets E24SO,E24SO,E24SO,E24SO --u1 12 --u2 5 --rmin 1000 --rmax 20000

# ---- entries 13 to 16: node-voltage chains -------------------------------------
node_cases=(
    "--u1 10 --u2 6 --u3 3 --u4 0 --rmin 1000 --rmax 100000"
    "--u1 0 --u2 2 --u3 5 --u4 9 --rmin 1e4 --rmax 1e6"
    "--u1 5 --u2 3.3 --u3 1.2 --u4 -5 --rmin 100 --rmax 1e5"
    "--u1 10 --u2 6 --u3 3 --u4 0 --rmin 1 --rmax 10"
    "--u1 10 --u2 6 --u3 3 --u4 0 --rmin 1e9 --rmax 1e10"
    "--u1 10 --u2 6 --u3 0 --u4 0 --rmin 1000 --rmax 100000"
    "--u1 10 --u2 6 --u3 3 --u4 0 --rmin 1000 --rmax 1000"
)
one_node_cases=(
    "--u1 10 --u3 3 --u4 0 --rmin 1000 --rmax 100000"
    "--u1 10 --u2 6 --u4 0 --rmin 1000 --rmax 100000"
    "--u1 10 --u2 6 --u3 0 --u4 0 --rmin 1000 --rmax 100000"
    "--u1 10 --u3 3 --u4 0 --rmin 1e9 --rmax 1e10"
)
for c in "${node_cases[@]}"; do
    # shellcheck disable=SC2086 # the options are meant to split
    both solve 13 --sets E12,E24,E12 $c
    both solve 14 --sets E12,E12,E12,E12 $c
    both solve 15 --sets E12,E12,E12,E12,E12 $c
    both solve 16 --sets E12,E12,E12,E12,E12,E12 $c
done
for c in "${one_node_cases[@]}"; do
    # shellcheck disable=SC2086 # the options are meant to split
    both solve 13 --sets E12,E24,E12 $c
    both solve 14 --sets E12,E12,E12,E12 $c
done
both solve 13 --sets E12,E12,E12 --u1 12abc --u2 6 --u4 0 --rmin 1000 --rmax 100000
run solve 13 --sets E12,E12,E12 --u1 " 10 " --u2 " 6 " --u4 0 --rmin 1000 --rmax 100000
run solve 13 --sets E12,E12,E12 --u1 10 --u4 0 --rmin 1000 --rmax 100000
run solve 15 --sets E12,E12,E12,E12,E12 --u1 10 --u3 3 --u4 0 --rmin 1000 --rmax 100000
run solve 14 --sets E12,E12,E12,E12 --u1 10 --u2 6 --rmin 1000 --rmax 100000

# ---- entries 17 to 23: star circuits -------------------------------------------
star_cases=(
    "--case1 4,10,0,0 --case2 2,0,0,10 --rmin 900 --rmax 1100"
    "--case1 8.324,12,0,5 --case2 2.173,0,3.3,12 --rmin 1e3 --rmax 1e4"
    "--case1 -5,0,12,-12 --case2 1,5,0,-3 --rmin 100 --rmax 5000"
    "--case1 4,10,0,0 --case2 8,20,0,0 --rmin 900 --rmax 1100"
    "--case1 4,10,4,0 --case2 2,0,2,10 --rmin 900 --rmax 1100"
    "--case1 4,10,0,0 --case2 2,0,0,10 --rmin 1100 --rmax 900"
    "--case1 4,10,0,0 --case2 2,0,0,10 --rmin 1e-14 --rmax 1e-13"
    "--case1 4,10,0,0 --case2 2,0,0,10 --rmin 1e8 --rmax 1e9"
)
star_sets=(E12,E12,E12 E12,E12,E12,E12 E12,E12,E12,E12 E12,E12,E12,E12,E12
           E12,E12,E12,E12,E12 E12,E12,E12,E12,E12 E12,E12,E12,E12,E12,E12)
for c in "${star_cases[@]}"; do
    for entry in 17 18 19 20 21 22 23; do
        # shellcheck disable=SC2086 # the options are meant to split
        both solve "$entry" --sets "${star_sets[entry - 17]}" $c
    done
done
run --json solve 20 --sets E24,E96,E96,E96,E96 --case1 4,10,0,0 --case2 2,0,0,10 --rmin 900 --rmax 1100

# ---- failures the user can cause ----------------------------------------------
both solve 3 --sets E12,E12 --target 4k7
both solve 3 --sets E12,E12 --target ""
both solve 3 --sets E12,E12 --target 1.1e15
both solve 3 --sets E12,E12 --target 0
both solve 3 --sets E12,E12 --target -5
both solve 8 --sets E12,E12 --u1 12 --u2 x --rmin 1000 --rmax 20000
both solve 8 --sets E12,E12 --u1 12 --u2 5 --rmin 1k --rmax 20000
both nearest E24 4k7
both nearest E24 ""
run solve 3 --sets E7,E12 --target 4700
run solve 3 --sets E12 --target 4700
run solve 3 --sets E12,E12
run solve 3 --sets E12,E12 --target 1 --u1 4
run solve 8 --sets E12,E12 --u1 12 --u2 5 --rmax 20000
run solve 8 --sets E12,E12 --u1 12 --u1 5 --rmin 1 --rmax 20000
run solve 13 --sets E12,E12,E12
run solve 17 --sets E12,E12,E12 --case1 4,10,0 --case2 2,0,0,10 --rmin 900 --rmax 1100
run solve 17 --sets E12,E12,E12 --case1 4,10V,0,0 --case2 2,0,0,10 --rmin 900 --rmax 1100
run solve 17 --sets E12,E12,E12 --case1 4,10,0,0 --case2 2,0,0,10 --rmin "" --rmax 1100
run solve 17 --sets E12,E12,E12 --case1 4,10,0,0 --rmin 900 --rmax 1100
# A dialog's number of 63 characters is read whole; one of 64 is refused,
# never cut (cut to 63, these would read as 0).
zeros61=$(printf '0%.0s' {1..61})
run solve 13 --sets E12,E12,E12 --u1 10 --u2 6 --u4 0 --rmin "1000.${zeros61:3}" --rmax 100000
run solve 13 --sets E12,E12,E12 --u1 10 --u2 6 --u4 0 --rmin "0.${zeros61}1" --rmax 100000
run solve 17 --sets E12,E12,E12 --case1 4,10,0,0 --case2 2,0,0,10 --rmin "0.${zeros61}1" --rmax 1100
run solve 17 --sets E12,E12,E12 --case1 "0.${zeros61}1,10,0,0" --case2 2,0,0,10 --rmin 900 --rmax 1100
run solve 24 --sets E12 --target 1
run solve x --sets E12 --target 1
run solve 3 --target 1
run nearest E7 10
run nearest E24
run values E7
run values
run sets extra
run --reltol x sets
run frobnicate
run
