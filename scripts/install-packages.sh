#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the dependency builds need.
# Safe to run again: it only asks apt when something is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config file
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  libz-mingw-w64-dev libstb-dev 7zip
  googletest libgtest-dev
  libcurl4-openssl-dev zlib1g-dev libssl-dev openssl
  wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
  nginx curl aria2 sqlite3 libsqlite3-dev time
  dpkg-dev locales procps mount osslsigncode patch
)

# Where the host executes 32-bit programs the shipped PE32 file runs under
# Debian's wine32 in a WoW64 prefix; elsewhere the 64-bit twin stands in.
if bash "$(dirname "$0")/host-runs-32bit"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update_i386=1
  fi
  packages+=(wine32:i386)
else
  echo "this host cannot execute 32-bit programs: the Windows tests run on the 64-bit twin"
fi

src_list=/etc/apt/sources.list.d/quorvane-deb-src.sources
need_update=0
if [ ! -f "$src_list" ]; then
  # Source packages (curl, 7zip) come from the same mirror the machine already uses.
  uris=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  uris=${uris:-http://deb.debian.org/debian}
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  cat > "$src_list" <<SRC
Types: deb-src
URIs: $uris
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ] || [ -n "${need_update_i386:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes the Windows locale (and so the ANSI code page 936) from the Unix
# locale, which must exist.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
