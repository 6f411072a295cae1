#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need, when any is missing.
# `install-deps.sh fuzz` installs instead what `make fuzz` needs: clang with libFuzzer and the sanitizers'
# runtime, and llvm's symbolizer for readable reports. Clang 19 is the first of Debian's clangs that compiles
# <expected> from Debian's libstdc++ 12.
# Idempotent and quiet when everything is present.
set -euo pipefail

case "${1:-}" in
fuzz)
  packages=(cmake make clang-19 libclang-rt-19-dev llvm-19)
  ;;
"")
  packages=(
    cmake make g++ googletest clang-format
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine64 xvfb fonts-wine imagemagick xdotool
    wixl msitools python3-openpyxl python3-pefile
  )
  ;;
*)
  echo "usage: $0 [fuzz]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
