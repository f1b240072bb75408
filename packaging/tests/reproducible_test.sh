#!/usr/bin/env bash
# The release is the same bytes when made again from the same commit in another clone at
# another path: the source archive, the amd64 package, the Windows zip and installer are made
# anew there and compared with the first release's (`scripts/release --check` compares all).
# usage: reproducible_test.sh SOURCE_DIR DIST_DIR WORK_DIR
set -u
src=$1 dist=$2 work=$3
[ -f "$dist/SHA256SUMS" ] || { echo "FAIL there is no first release in $dist"; exit 1; }
commit=$(git -C "$src" rev-parse HEAD) || exit 1
rm -rf "$work"
clone=$work/a/clone/at/another/depth/veldmark
git clone -q --no-checkout "$src" "$clone" && git -C "$clone" checkout -q --detach "$commit" || exit 1
bash "$clone/scripts/release" --only source,deb-amd64,windows --out "$work/dist" >"$work/release.log" 2>&1 \
    || { tail -30 "$work/release.log"; echo "FAIL the second release"; exit 1; }
failed=0 compared=0
echo "the first release's SHA256SUMS beside the second's:"
while read -r sum name; do
    first=$(awk -v n="$name" '$2 == n { print $1 }' "$dist/SHA256SUMS")
    compared=$((compared + 1))
    if [ "$first" = "$sum" ] && cmp -s "$dist/$name" "$work/dist/$name"; then
        printf 'ok   %-40s %s  %s\n' "$name" "${first:0:16}" "${sum:0:16}"
    else
        printf 'FAIL %-40s %s  %s (diffoscope %s %s)\n' "$name" "${first:0:16}" "${sum:0:16}" "$dist/$name" "$work/dist/$name"
        failed=1
    fi
done <"$work/dist/SHA256SUMS"
[ "$compared" -ge 4 ] || { echo "FAIL only $compared files were made again"; failed=1; }
exit "$failed"
