#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, build, run every test
#                   (the Release build users get, with warnings as errors,
#                   then ASan+UBSan)
#   ./dev.sh package  install what is missing, build the Debian package
#                   (build-package/ohmtrim_<version>_<arch>.deb)
#   ./dev.sh bench  Release build; the fast searches against the plain ones,
#                   written as a table to build-bench/fast_searches.md
#                   (several minutes: the plain searches take up to 20 s)
#   ./dev.sh soak   the fast-search tests with many more random cases
#                   (OHMTRIM_SOAK=<factor>, 20 by default)
set -euo pipefail
cd "$(dirname "$0")"

# What building the programs needs (libqt6svg6 draws the window icon);
# the tests and checks need the rest; the package is made with the tools of
# PACKAGING (dpkg-shlibdeps finds the package's dependencies).
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libcli11-dev qt6-base-dev libqt6svg6
                fonts-liberation2 fonts-dejavu-core)
PACKAGES=("${BUILD_PACKAGES[@]}" libgtest-dev libbenchmark-dev clang-format)
PACKAGING=(dpkg-dev file)

install_missing() { # packages (default: PACKAGES)
    local wanted=("$@") missing=()
    [ $# -gt 0 ] || wanted=("${PACKAGES[@]}")
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "dev.sh: installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

jobs() { nproc 2>/dev/null || echo 2; }

build() { # dir, extra cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$(jobs)"
}

check_format() {
    # Every C++ source of the project, found without git (a tarball or a
    # fresh machine may not have it).
    local files
    mapfile -t files < <(find app bench circuits cli colourcode fuzz platform schematics search \
        settings tests valuesets windows -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
    if [ ${#files[@]} -eq 0 ]; then
        echo "dev.sh: no sources found to check the format of"
        exit 1
    fi
    if ! clang-format --dry-run -Werror "${files[@]}"; then
        echo "dev.sh: code is not formatted (run clang-format -i on the files above)"
        exit 1
    fi
}

run_tests() { # dir
    (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j "$(jobs)")
}

case "${1:-}" in
run)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release -DOHMTRIM_TESTS=OFF
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "dev.sh: no display found. The desktop program needs one: run this from a desktop"
        echo "session, or under a virtual display (xvfb-run ./dev.sh run). Meanwhile, the"
        echo "command-line tool on the shipped value sets:"
        ./build/bin/ohmtrim-cli sets
        ./build/bin/ohmtrim-cli nearest E24 4800
        exit 0
    fi
    exec ./build/bin/ohmtrim
    ;;
test)
    install_missing
    check_format
    # The same optimisation as "run": some warnings only show at -O3.
    build build -DCMAKE_BUILD_TYPE=Release -DOHMTRIM_WERROR=ON -DOHMTRIM_BENCH=ON
    run_tests build
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DOHMTRIM_WERROR=ON -DOHMTRIM_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    echo "dev.sh: all tests passed (Release and sanitizer builds)"
    ;;
package)
    install_missing "${BUILD_PACKAGES[@]}" "${PACKAGING[@]}"
    # Warnings do not stop a package build: a later compiler may find new ones.
    build build-package -DCMAKE_BUILD_TYPE=Release -DOHMTRIM_TESTS=OFF -DOHMTRIM_WERROR=OFF
    (cd build-package && cpack -G DEB)
    ;;
bench)
    install_missing
    build build-bench -DCMAKE_BUILD_TYPE=Release -DOHMTRIM_GUI=OFF -DOHMTRIM_TESTS=OFF \
        -DOHMTRIM_BENCH=ON
    OHMTRIM_FAST_TABLE=build-bench/fast_searches.md ./build-bench/bin/ohmtrim_bench \
        --benchmark_filter="${2:-^Fast/}|^Fast/Summary$" --benchmark_counters_tabular=true
    echo "dev.sh: table written to build-bench/fast_searches.md"
    ;;
soak)
    install_missing
    # The build of "test", so that neither rebuilds everything for the other.
    build build -DCMAKE_BUILD_TYPE=Release -DOHMTRIM_WERROR=ON -DOHMTRIM_BENCH=ON
    OHMTRIM_SOAK="${OHMTRIM_SOAK:-20}" ./build/bin/ohmtrim_core_tests \
        --gtest_filter='FastSearches.*:FastNearTies.*:PairTable*'
    ;;
*)
    echo "usage: ./dev.sh run | ./dev.sh test | ./dev.sh package | ./dev.sh bench [filter] | ./dev.sh soak" >&2
    exit 64
    ;;
esac
