#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds, and then runs the program ("run") or every test ("test").
set -euo pipefail

mode="${1:-run}"
shift || true
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev libturbojpeg0-dev libxml2-dev libgtest-dev
          libbenchmark-dev fonts-dejavu-core libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good libavcodec-dev libavformat-dev qt6-serialport-dev
          poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc)"
case "$mode" in
  run)
    cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TESTS=OFF
    cmake --build "$here/build/release" -j "$jobs"
    exec "$here/build/release/app/vantorel" "$@"
    ;;
  test)
    # The benchmarks are built too, so they keep compiling; they are run by hand in a Release build.
    cmake -S "$here" -B "$here/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_SANITIZE=ON -DVANTOREL_BENCH=ON
    cmake --build "$here/build/test" -j "$jobs"
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    cd "$here/build/test"
    ctest --output-on-failure -j "$jobs"
    # Each test executable once whole as well: no test may lean on what the tests before it left behind.
    pids=() exes=()
    for exe in tests/*/test_*; do
      [[ -f $exe && -x $exe ]] || continue
      "$exe" --gtest_brief=1 > "$exe.whole.log" 2>&1 &
      pids+=($!) exes+=("$exe")
    done
    failed=0
    for i in "${!pids[@]}"; do
      if ! wait "${pids[$i]}"; then
        echo "run whole, ${exes[$i]} failed:" >&2
        tail -n 60 "${exes[$i]}.whole.log" >&2
        failed=1
      fi
    done
    exit "$failed"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
