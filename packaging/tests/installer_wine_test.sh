#!/usr/bin/env bash
# The Windows installer as a Windows user meets it, under Wine on a virtual X display: a silent
# install (/S /CURRENT) puts veldmark.scr in the system folder with its version resource, the
# uninstaller under "Add or remove programs" and Veldmark as the current screensaver; the
# installed saver runs full screen and ends on a key; the silent uninstall takes all of it away.
# Exit 77 (skipped) when Wine or the X tools are missing.
# usage: installer_wine_test.sh SOURCE_DIR SETUP_EXE VERSION WORK_DIR
set -u
src=$(cd "$1" && pwd)
setup=$2 version=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
SHOTS="$work/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
. "$src/app/win32/tests/wine_common.sh"
need "$wine" Xvfb xdotool import convert x86_64-w64-mingw32-windres
[ -f "$setup" ] || { fail "there is no $setup"; finish; exit 1; }

start_wine "$work/wineprefix" "$work/wineboot.log"

system=$WINEPREFIX/drive_c/windows/system32
programs="$WINEPREFIX/drive_c/Program Files/Veldmark"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veldmark'
desktop_key='HKCU\Control Panel\Desktop'
reg_value() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = $2 = ""; sub(/^ +/, ""); print }'; }
has_key() { "$wine" reg query "$1" >/dev/null 2>&1; }
not() { ! "$@"; }

echo "== silent install"
"$wine" "$setup" /S /CURRENT >"$work/install.log" 2>&1
code=$?
expect "the silent install exits 0 (got $code)" [ "$code" = 0 ]
expect "veldmark.scr is in the system folder" [ -f "$system/veldmark.scr" ]
expect "veldmark.exe, README.txt, LICENSE.txt and the uninstaller are in Program Files\\Veldmark" \
    [ -f "$programs/veldmark.exe" -a -f "$programs/README.txt" -a -f "$programs/LICENSE.txt" -a -f "$programs/uninstall.exe" ]
expect "the uninstaller is registered under Add or remove programs" has_key "$uninstall_key"
expect "its entry is named Veldmark ($(reg_value "$uninstall_key" DisplayName))" [ "$(reg_value "$uninstall_key" DisplayName)" = Veldmark ]
expect "its entry is of version $version ($(reg_value "$uninstall_key" DisplayVersion))" \
    [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ]
expect "its uninstall command is the installed uninstaller" \
    [ "$(reg_value "$uninstall_key" UninstallString)" = '"C:\Program Files\Veldmark\uninstall.exe"' ]
saver=$(reg_value "$desktop_key" SCRNSAVE.EXE)
expect "/CURRENT makes Veldmark the current screensaver ($saver)" [ "${saver,,}" = 'c:\windows\system32\veldmark.scr' ]

# What Explorer's Properties show: the version resource of the installed file.
x86_64-w64-mingw32-windres -i "$system/veldmark.scr" -O rc >"$work/resources.rc" 2>&1
for value in '"ProductName", "Veldmark"' "\"ProductVersion\", \"$version\"" "\"FileVersion\", \"$version\"" \
             '"FileDescription", "Veldmark screensaver' '"CompanyName", "The Veldmark authors"'; do
    expect "the installed veldmark.scr shows $value" grep -qF "VALUE $value" "$work/resources.rc"
done

echo "== the installed screensaver"
xdotool mousemove 400 300
"$wine" 'C:\windows\system32\veldmark.scr' /s >/dev/null 2>&1 & PID=$!
if wid=$(wait_window '^Veldmark$' 30 "$PID"); then
    sleep 3
    shot fullscreen
    expect "/s fills the screen with the drive" [ "$(colours "$SHOTS/fullscreen.png")" -gt 8 ]
    xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key a
    wait_exit "$PID" 20
    expect "a key ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "the installed veldmark.scr /s showed no window"; kill "$PID" 2>/dev/null
fi

echo "== silent uninstall"
"$wine" 'C:\Program Files\Veldmark\uninstall.exe' /S >"$work/uninstall.log" 2>&1
code=$?
expect "the silent uninstall exits 0 (got $code)" [ "$code" = 0 ]
# The uninstaller runs on from a copy of itself in the temporary folder: wait for it.
for i in $(seq 60); do
    [ -e "$system/veldmark.scr" ] || [ -e "$programs" ] || break
    sleep 0.5
done
expect "veldmark.scr is gone from the system folder" [ ! -e "$system/veldmark.scr" ]
expect "Program Files\\Veldmark is gone" [ ! -e "$programs" ]
expect "the Add or remove programs entry is gone" not has_key "$uninstall_key"
expect "the screensaver setting no longer names veldmark.scr" [ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ]
finish
