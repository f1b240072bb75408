#!/usr/bin/env bash
# Makes the release once for the package tests (scripts/release into WORK_DIR/dist). Exit 77
# (skipped) when the packaging tools are not installed: bash scripts/install-deps release.
# usage: make_release.sh SOURCE_DIR WORK_DIR
set -u
src=$1 work=$2
for tool in dpkg-buildpackage dh lintian aarch64-linux-gnu-g++ x86_64-w64-mingw32-g++-posix makensis zip; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (bash scripts/install-deps release)"; exit 77; }
done
[ -e /usr/lib/aarch64-linux-gnu/libSDL2.so ] || { echo "skipped: the arm64 libraries are not installed"; exit 77; }
git -C "$src" rev-parse -q --verify HEAD >/dev/null || { echo "skipped: $src is not a git checkout"; exit 77; }
rm -rf "$work" && mkdir -p "$work"
bash "$src/scripts/release" --out "$work/dist" --work "$work/build"
