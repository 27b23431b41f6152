#!/usr/bin/env bash
# Installs the Debian packages that are missing for a purpose:
#   install-deps.sh build   the compiler, Qt 6, OpenGL, GoogleTest, Xvfb and test peers
#   install-deps.sh bench   the peer libraries the benchmarks compare against
#   install-deps.sh fuzz    clang and its libFuzzer and sanitizer runtimes
# Also generates the de_DE.UTF-8 locale, under which the model file tests check
# that numbers keep the point. Uses sudo when not run as root. Does nothing when
# everything is present.
set -euo pipefail

build_packages=(
  g++ cmake ninja-build make pkg-config ccache
  libgtest-dev libgmock-dev
  qt6-base-dev libqt6opengl6-dev qt6-image-formats-plugins
  libgl-dev libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev
  xvfb xauth fonts-liberation
  assimp-utils locales
  libopen3d-dev  # poissonrecon's screened Poisson; on a fresh machine 57 packages, 54 MiB to fetch, 260 MiB installed
  libboost-dev  # Boost.Container (header-only) for voxquad's polygons
)
bench_packages=(
  liblz4-dev libtinyobjloader-dev libassimp-dev libopenvdb-dev libosd-dev
  libmeshoptimizer-dev libcgal-dev
  libboost-iostreams-dev  # OpenVDB's headers and CMake module need Boost; its package does not pull it in
)
fuzz_packages=(clang-14 libclang-rt-14-dev)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  bench) wanted=("${build_packages[@]}" "${bench_packages[@]}") ;;
  fuzz) wanted=("${build_packages[@]}" "${fuzz_packages[@]}") ;;
  *) echo "usage: $0 [build|bench|fuzz]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The model file tests also run under a comma locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not generate de_DE.UTF-8" >&2
fi
