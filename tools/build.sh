#!/usr/bin/env bash
# One entry for building, running and testing on a Debian 12 machine.
#   tools/build.sh run    install what is missing, build the program only, start it (working folder run/)
#   tools/build.sh test   install what is missing, build, run every test (what CI runs)
#   tools/build.sh build  install what is missing and build
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
mode=${1:-build}
build=${GP_BUILD_DIR:-$here/build}
jobs=$(nproc)

install_missing() {
  local missing=()
  while read -r pkg; do
    [ -z "$pkg" ] || [[ "$pkg" == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done < tools/packages.txt
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# The configure step shows its progress (the first one looks for every package and takes a
# while). "run" builds only the program and its data files; the tests, benchmarks and fuzzers
# are built by "build" and "test".
configure_and_build() {
  local targets=("$@")
  echo "Configuring in $build ..."
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$build" -j "$jobs" --target "${targets[@]}"
  else
    cmake --build "$build" -j "$jobs"
  fi
}

# The fuzz targets are built with clang in a tree of their own and run side by side,
# all together within a few minutes; a finding fails the run.
run_fuzzers() {
  [ -f fuzz/CMakeLists.txt ] || return 0
  local fbuild=${build}-fuzz
  CC=clang CXX=clang++ cmake -S . -B "$fbuild" -G Ninja -DGP_BUILD_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$fbuild" -j "$jobs"
  local seconds=${GP_FUZZ_SECONDS:-60}
  local pids=() names=()
  for target in "$fbuild"/bin/fuzz_*; do
    [ -x "$target" ] || continue
    local name corpus
    name=$(basename "$target")
    corpus=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$fbuild/$name-" "$corpus" >"$fbuild/$name.log" 2>&1 &
    pids+=($!); names+=("$name")
  done
  local failed=0
  for i in "${!pids[@]}"; do
    if wait "${pids[$i]}"; then
      echo "fuzz: ${names[$i]} ran ${seconds}s without a finding"
    else
      echo "fuzz: ${names[$i]} FOUND A FAULT:"; tail -n 40 "$fbuild/${names[$i]}.log"; failed=1
    fi
  done
  return $failed
}

run_tests() {
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  chmod 700 "$XDG_RUNTIME_DIR"
  run_fuzzers
  local pgdir
  pgdir=$(mktemp -d /tmp/gp-pg-XXXXXX)
  eval "$(tools/pg-test-server.sh start "$pgdir")"
  trap 'tools/pg-test-server.sh stop "'"$pgdir"'"' EXIT
  # The zone of the program's users: its daylight-saving gaps catch dates handled as instants.
  export TZ=${GP_TEST_TZ:-Europe/Madrid}
  ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 600
}

install_missing
case "$mode" in
build) configure_and_build ;;
test) configure_and_build && run_tests ;;
run)
  configure_and_build gestion-proyectos gp_data_files
  mkdir -p run
  cd run
  exec "$build/bin/gestion-proyectos" "${@:2}"
  ;;
*) echo "usage: $0 run|test|build" >&2; exit 2 ;;
esac
