#!/usr/bin/env bash
# A Debian package as a user installs it: lintian finds nothing, it holds exactly the files
# listed below, its dependencies are the libraries its programs link (and its version the
# project's); the arm64 package's veldmark-render, run under qemu-aarch64, draws a sample of the
# drive with the recorded hashes. Exit 77 (skipped) when lintian or qemu is missing.
# usage: deb_test.sh amd64|arm64 DIST_DIR VERSION HASH_LIST WORK_DIR
set -u
arch=$1 dist=$2 version=$3 list=$4 work=$5
deb=$dist/veldmark_${version}_$arch.deb
failed=0
ok() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failed=1; }
expect() { local what=$1; shift; if "$@"; then ok "$what"; else fail "$what"; fi; }
command -v lintian >/dev/null || { echo "skipped: lintian is not installed"; exit 77; }
[ -f "$deb" ] || { echo "FAIL there is no $deb"; exit 1; }
rm -rf "$work" && mkdir -p "$work"

echo "== lintian"
lintian --fail-on error,warning --info --pedantic "$deb" >"$work/lintian.txt" 2>&1
status=$?
sed 's/^/     /' "$work/lintian.txt"
expect "lintian finds no error and no warning in $(basename "$deb")" [ "$status" = 0 ]

echo "== contents"
# Every path, its kind and mode; the hack is a link to the program in /usr/bin.
cat >"$work/expected" <<LIST
drwxr-xr-x ./
drwxr-xr-x ./usr/
drwxr-xr-x ./usr/bin/
-rwxr-xr-x ./usr/bin/veldmark
-rwxr-xr-x ./usr/bin/veldmark-render
drwxr-xr-x ./usr/libexec/
drwxr-xr-x ./usr/libexec/xscreensaver/
lrwxrwxrwx ./usr/libexec/xscreensaver/veldmark -> ../../bin/veldmark
drwxr-xr-x ./usr/share/
drwxr-xr-x ./usr/share/applications/
drwxr-xr-x ./usr/share/applications/screensavers/
-rw-r--r-- ./usr/share/applications/screensavers/veldmark.desktop
drwxr-xr-x ./usr/share/doc/
drwxr-xr-x ./usr/share/doc/veldmark/
-rw-r--r-- ./usr/share/doc/veldmark/changelog.gz
-rw-r--r-- ./usr/share/doc/veldmark/copyright
drwxr-xr-x ./usr/share/man/
drwxr-xr-x ./usr/share/man/man6/
-rw-r--r-- ./usr/share/man/man6/veldmark-render.6.gz
-rw-r--r-- ./usr/share/man/man6/veldmark.6.gz
drwxr-xr-x ./usr/share/xscreensaver/
drwxr-xr-x ./usr/share/xscreensaver/config/
-rw-r--r-- ./usr/share/xscreensaver/config/veldmark.xml
LIST
dpkg-deb -c "$deb" | awk '{ $2 = $3 = $4 = $5 = ""; print }' | tr -s ' ' | sort >"$work/contents"
sort "$work/expected" >"$work/expected.sorted"
if cmp -s "$work/expected.sorted" "$work/contents"; then
    ok "the package holds the programs, the hack, its description, the desktop entry, the manual pages, copyright and changelog"
else
    diff "$work/expected.sorted" "$work/contents" | sed 's/^/     /'
    fail "the package's files are not the listed ones (< listed, > in the package)"
fi
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
expect "every file belongs to root ($owners)" [ "$owners" = root/root ]

field() { dpkg-deb -f "$deb" "$1"; }
expect "its version is the project's, $version ($(field Version))" [ "$(field Version)" = "$version" ]
expect "it is built for $arch ($(field Architecture))" [ "$(field Architecture)" = "$arch" ]
depends=$(field Depends)
echo "     Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | sort)
expect "it depends on exactly the libraries its programs link" \
    [ "$(echo $names)" = "libc6 libgcc-s1 libpng16-16 libsdl2-2.0-0 libstdc++6 libx11-6 libxext6 libxrandr2" ]

dpkg-deb -x "$deb" "$work/root"
desktop=$work/root/usr/share/applications/screensavers/veldmark.desktop
expect "the desktop entry runs the installed hack" grep -qx 'Exec=/usr/libexec/xscreensaver/veldmark --root' "$desktop"
expect "the hack's description names version $version" \
    grep -q "Veldmark $version," "$work/root/usr/share/xscreensaver/config/veldmark.xml"
expect "the changelog's newest entry is $version" \
    sh -c "zcat '$work/root/usr/share/doc/veldmark/changelog.gz' | head -1 | grep -q '^veldmark ($version)'"
for page in veldmark veldmark-render; do
    expect "the manual page $page.6 is of version $version" \
        sh -c "zcat '$work/root/usr/share/man/man6/$page.6.gz' | grep -q '^.TH .*\"Veldmark $version\"'"
done
binary_arch=$(file -b "$work/root/usr/bin/veldmark-render")
case "$arch" in amd64) machine=x86-64 ;; arm64) machine=aarch64 ;; esac
stripped_for() { [[ "$binary_arch" == *"ELF 64-bit"*"$1"*", stripped"* ]]; }
expect "veldmark-render is a stripped $machine program" stripped_for "$machine"

run=()
if [ "$arch" = arm64 ]; then
    echo "== the arm64 programs under qemu-aarch64"
    if ! command -v qemu-aarch64 >/dev/null || [ ! -e /lib/ld-linux-aarch64.so.1 ]; then
        echo "skipped: qemu-user or the arm64 C library (libc6:arm64) is not installed"
        [ "$failed" = 0 ] && exit 77 || exit 1
    fi
    # The arm64 libraries come from the system's multiarch folders, which qemu finds by itself.
    run=(qemu-aarch64)
fi
expect "veldmark-render --version prints $version" \
    [ "$("${run[@]}" "$work/root/usr/bin/veldmark-render" --version)" = "veldmark-render $version" ]
expect "veldmark --version prints $version" \
    [ "$("${run[@]}" "$work/root/usr/bin/veldmark" --version)" = "veldmark $version" ]
if [ "$arch" = arm64 ]; then
    # Every 50th frame of the drive, from the first: about 140 frames over the whole day.
    every=50
    last=$(tail -1 "$list" | cut -d, -f1)
    count=$(( (last - 1) / every + 1 ))
    awk -F, -v every="$every" '($1 - 1) % every == 0' "$list" >"$work/hashes.expected"
    "${run[@]}" "$work/root/usr/bin/veldmark-render" hashes --count "$count" --every "$every" \
        --out "$work/hashes.txt" 2>"$work/hashes.log"
    if cmp -s "$work/hashes.expected" "$work/hashes.txt"; then
        ok "all $count sampled frames of the arm64 build hash as recorded"
    else
        differ=$(diff "$work/hashes.expected" "$work/hashes.txt" | grep -c '^>')
        fail "$differ of $count sampled frames of the arm64 build differ from the recorded hashes"
    fi
fi
exit "$failed"
