#!/usr/bin/env bash
# The hack's description for XScreenSaver's settings: well-formed XML, and every option it may
# put on veldmark's command line is one the program names in its --help.
# Exit 77 (skipped) when xmllint is not installed.
# usage: hack_xml_test.sh XML VELDMARK   (the description as the build writes it)
set -u
xml=$1
veldmark=$2
command -v xmllint >/dev/null || { echo "skipped: xmllint is not installed (libxml2-utils)"; exit 77; }
failed=0
xmllint --noout "$xml" || { echo "FAIL $xml is not well-formed"; failed=1; }
help=$("$veldmark" --help)
for option in $(xmllint --xpath '//@arg | //@arg-set | //@arg-unset' "$xml" | sed -E 's/ *arg(-set|-unset)?="([^"]*)"/\2\n/g'); do
    if grep -q -- "${option%% *}" <<<"$help"; then
        echo "ok   $option"
    else
        echo "FAIL $option is not one of veldmark's options"; failed=1
    fi
done
exit "$failed"
