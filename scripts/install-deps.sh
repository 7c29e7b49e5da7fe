#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's packages only.
# Idempotent: installs what is missing, rebuilds the cross-built libjpeg-turbo only
# when its cache folder for the current version is missing.
set -euo pipefail

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

PACKAGES=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine64 xvfb xauth
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  libjpeg62-turbo-dev nasm dpkg-dev
  zlib1g-dev libz-mingw-w64-dev
  fonts-wqy-microhei imagemagick x11-apps xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# libjpeg-turbo cross-built for both MinGW targets, from Debian's source package.
CACHE="${KORAVENT_DEPS:-/var/cache/koravent-deps}"
version=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev | sed 's/^[0-9]*://')
root="$CACHE/libjpeg-turbo-$version"
need=0
for t in x86_64-w64-mingw32 i686-w64-mingw32; do
  [ -f "$root/$t/lib/libjpeg.a" ] || need=1
done
if [ "$need" -eq 1 ]; then
  src_list=/etc/apt/sources.list.d/koravent-deb-src.sources
  if ! apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1; then
    uri=$(grep -h -m1 -E '^URIs:.*/debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2}')
    [ -n "$uri" ] || uri=http://deb.debian.org/debian
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$uri" \
      | $SUDO tee "$src_list" >/dev/null
    $SUDO apt-get update -qq
  fi
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get source -qq "libjpeg-turbo=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev)" >/dev/null 2>&1 \
     || (cd "$work" && apt-get source -qq libjpeg-turbo >/dev/null))
  srcdir=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  here=$(cd "$(dirname "$0")/.." && pwd)
  for t in x86_64-w64-mingw32 i686-w64-mingw32; do
    arch=${t%%-*}
    echo "install-deps: building libjpeg-turbo $version for $t"
    cmake -S "$srcdir" -B "$work/build-$t" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_TURBOJPEG=OFF -DCMAKE_INSTALL_PREFIX="$root/$t" >/dev/null
    cmake --build "$work/build-$t" >/dev/null
    $SUDO cmake --install "$work/build-$t" >/dev/null
  done
fi
$SUDO ln -sfn "$root" "$CACHE/libjpeg-turbo"
echo "install-deps: ready (libjpeg-turbo for MinGW in $root)"
