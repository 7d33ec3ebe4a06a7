#!/usr/bin/env bash
# Set-up, build, run and test from a fresh Debian 12 machine.
#   scripts/lexicrawl.sh run [URL [OPTIONS]]   install what is missing, build, crawl URL
#                                   (any other words go to lexicrawl-cli as they are)
#   scripts/lexicrawl.sh gui [URL|PROJECT]     install what is missing, build, open the window
#   scripts/lexicrawl.sh test        install what is missing, build everything, run every test
#   scripts/lexicrawl.sh build       install what is missing and build everything
#   scripts/lexicrawl.sh package     build everything and the Debian package build/lexicrawl_*.deb
# run and gui build only their program and its run-time files.
# Each step skips work that is already done, so running it twice is cheap.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build="${LEXICRAWL_BUILD_DIR:-$root/build}"

say() { printf '==> %s\n' "$*" >&2; }
die() { printf 'lexicrawl.sh: %s\n' "$*" >&2; exit 1; }

# install_packages LIST...: install what the named package lists in scripts/ ask for.
install_packages() {
  local wanted=() missing=() list
  for list in "${@:-debian-packages.txt}"; do
    mapfile -t -O "${#wanted[@]}" wanted < <(grep -v '^\s*#' "$here/$list" | sed '/^\s*$/d')
  done
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "Installing Debian packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || die "these packages are missing and there is no sudo to install them: ${missing[*]}"
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq || die "apt-get update failed"
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || die "apt-get install failed for: ${missing[*]}"
}

# What running needs: the programs' run-time files (empty.db, Languages/) and
# the dictionary packages; each command adds its program.
runtime_targets=(lexicrawl_runtime_files lexicrawl_dictionaries)

# build_project [TARGET...]: configure once, then build the targets named, or
# everything (tests and benchmarks too) when none is.
build_project() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    say "Configuring in $build"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXICRAWL_BUILD_GUI=ON >/dev/null \
      || die "cmake configure failed"
  fi
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  say "Building${1:+ $*}"
  cmake --build "$build" --parallel "$(nproc)" "${targets[@]}" || die "build failed"
}

package_project() {
  build_project lexicrawl_installed_files
  say "Packing the Debian package"
  (cd "$build" && cpack -G DEB >/dev/null) || die "cpack failed"
  ls "$build"/lexicrawl_*.deb
}

cmd="${1:-run}"
shift || true
case "$cmd" in
  build)
    install_packages; build_project ;;
  run)
    install_packages; build_project lexicrawl-cli "${runtime_targets[@]}"
    say "Running lexicrawl-cli"
    if [ $# -eq 0 ]; then
      exec "$build/bin/lexicrawl-cli" --version
    elif [[ "$1" == http* ]]; then
      exec "$build/bin/lexicrawl-cli" crawl "$@"
    else
      exec "$build/bin/lexicrawl-cli" "$@"
    fi ;;
  gui)
    install_packages; build_project lexicrawl "${runtime_targets[@]}"
    say "Opening the window"
    exec "$build/bin/lexicrawl" "$@" ;;
  test)
    install_packages debian-packages.txt debian-test-packages.txt; build_project
    say "Running the tests"
    cd "$build"
    exec ctest --output-on-failure --parallel "$(nproc)" --timeout 300 ;;
  package)
    install_packages; package_project ;;
  *)
    die "unknown command '$cmd' (use run, gui, test, build or package)" ;;
esac
