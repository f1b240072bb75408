#!/usr/bin/env bash
# Builds the web site for the browser tests (scripts/build-web, incremental), or skips with
# exit code 77 when emscripten is missing: the tests install nothing themselves.
set -euo pipefail
root=$1 jobs=${2:-2}
if ! command -v emcmake >/dev/null || ! command -v em++ >/dev/null; then
    echo "SKIP: emscripten is missing (apt-get install emscripten; scripts/install-deps test does it)"
    exit 77
fi
"$root/scripts/build-web" --jobs "$jobs"
