#!/usr/bin/env bash
# Builds the dependencies that Debian does not ship for MinGW, from Debian's own
# source packages, into a cache outside the work tree keyed by source version
# and by this script's contents, so a second run rebuilds nothing.
#   libcurl (static, Schannel TLS) for i686 and x86_64 MinGW
#   the LZMA SDK C sources (from the 7zip source package), compiled later by CMake
# Prints the cache folder's variables for CMake on its last lines (KEY=VALUE).
set -euo pipefail

cache=${QUORVANE_DEPS_CACHE:-$HOME/.cache/quorvane-deps}
recipe=$(sha256sum "$0" | cut -c1-12)
mkdir -p "$cache/src"

source_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ {print $2}' | sort -V | tail -n 1
}

fetch_source() { # package version -> prints the unpacked source folder
  local pkg=$1 ver=$2 dir="$cache/src/$1-$2"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq "$pkg=$ver" >/dev/null 2>&1) || {
      echo "apt-get source $pkg=$ver failed" >&2; exit 1; }
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

build_curl() { # triplet
  local triplet=$1 ver prefix src build
  ver=$(source_version curl)
  prefix="$cache/curl-$ver-$triplet-$recipe"
  if [ -f "$prefix/lib/libcurl.a" ]; then echo "$prefix"; return; fi
  src=$(fetch_source curl "$ver")
  build="$cache/build/curl-$triplet"
  rm -rf "$build" "$prefix" && mkdir -p "$build"
  echo "building libcurl $ver for $triplet (a few minutes)" >&2
  (
    cd "$build"
    "$src/configure" -q --host="$triplet" --prefix="$prefix" \
      --enable-static --disable-shared --with-schannel --with-zlib="/usr/$triplet" \
      --disable-ftp --disable-ldap --disable-ldaps --disable-rtsp \
      --disable-dict --disable-telnet --disable-tftp --disable-pop3 --disable-imap \
      --disable-smb --disable-smtp --disable-gopher --disable-mqtt --disable-manual \
      --disable-docs --without-brotli --without-zstd --without-libidn2 \
      --without-nghttp2 --without-librtmp --without-libssh2 --without-libpsl
    make -s -j"$(nproc)" -C lib
    make -s -C lib install
    make -s -C include install
  ) >"$cache/build/curl-$triplet.log" 2>&1 || {
    echo "libcurl build for $triplet failed; see $cache/build/curl-$triplet.log" >&2; exit 1; }
  rm -rf "$build"
  echo "$prefix"
}

lzma_sdk() {
  local ver src
  ver=$(source_version 7zip)
  src=$(fetch_source 7zip "$ver")
  [ -f "$src/C/7zArcIn.c" ] || { echo "no LZMA SDK C sources in $src" >&2; exit 1; }
  echo "$src/C"
}

lzma=$(lzma_sdk)
curl64=$(build_curl x86_64-w64-mingw32)
curl32=$(build_curl i686-w64-mingw32)
echo "LZMA_SDK_DIR=$lzma"
echo "CURL_WIN64_DIR=$curl64"
echo "CURL_WIN32_DIR=$curl32"
