#!/usr/bin/env bash
# Fetches the Debian source packages of the libraries the Windows build
# compiles itself (GLEW, FreeType, zlib, libpng) into <dir>, once: a package
# already unpacked there is kept. Uses a private apt configuration under <dir>,
# so the system's apt settings and lists are left as they are.
#
# usage: tools/fetch-windows-sources.sh <dir> <package>...
set -euo pipefail

dir=$1
shift
mkdir -p "$dir"
cd "$dir"

missing=()
for package in "$@"; do
  [ -e "$package.ready" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# The source side of the machine's own Debian archive and release.
archive=$(cat /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list.d/*.sources 2>/dev/null |
  sed -n 's/^URIs:[[:space:]]*//p' | head -n 1)
[ -n "$archive" ] || archive=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' \
  /etc/apt/sources.list 2>/dev/null | head -n 1)
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
[ -n "$archive" ] && [ -n "$release" ] || { echo "fetch-windows-sources: no Debian archive configured" >&2; exit 1; }

mkdir -p apt/lists/partial apt/archives/partial
echo "deb-src $archive $release main" > apt/sources.list
apt_options=(
  -o Dir::Etc::SourceList="$PWD/apt/sources.list"
  -o Dir::Etc::SourceParts=/dev/null
  -o Dir::State::Lists="$PWD/apt/lists"
  -o Dir::Cache::Archives="$PWD/apt/archives"
  -o Debug::NoLocking=1
  -o APT::Sandbox::User=root
)
[ -e apt/lists.ready ] || { apt-get "${apt_options[@]}" -qq update && touch apt/lists.ready; }

for package in "${missing[@]}"; do
  rm -rf "$package.download" && mkdir "$package.download"
  (cd "$package.download" && apt-get "${apt_options[@]}" -qq source --download-only "$package")
  # The upstream tarball holds the released sources (GLEW's has the generated
  # src/glew.c); Debian's own changes are not needed for a static build.
  tarball=$(ls "$package.download"/*.orig.tar.* | grep -v '\.asc$' | head -n 1)
  rm -rf "$package" && mkdir "$package"
  tar -xf "$tarball" -C "$package" --strip-components=1
  rm -rf "$package.download"
  touch "$package.ready"
done
