#!/usr/bin/env bash
# The manual pages against the programs' own --help: every option a program lists has an entry
# in its page and every entry is an option the program lists; veldmark-render's page has a
# section for each command whose heading is the command's usage line, word for word; both pages
# carry the programs' version and format without a warning.
# Exit 77 (skipped) when groff is not installed.
# usage: manual_pages_test.sh VELDMARK VELDMARK_PAGE VELDMARK_RENDER VELDMARK_RENDER_PAGE
set -u
veldmark=$1 veldmark_page=$2 render=$3 render_page=$4
command -v groff >/dev/null || { echo "skipped: groff is not installed"; exit 77; }
failed=0
ok() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failed=1; }

# The first option of each .TP entry in a page, or of the entries under one .SS heading: the
# entry's own name, not the aliases that follow it (--root, -root).
page_options() {  # page_options PAGE [COMMAND]
    awk -v command="${2:-}" '
        function plain(s) { gsub(/\\-/, "-", s); gsub(/"/, "", s); return s }
        /^\.S[HS] / {
            if (command == "") { inside = 1; next }
            split(plain(substr($0, 5)), words, " "); inside = ($1 == ".SS" && words[1] == command); next
        }
        !inside { next }
        after_tp && /^\.B[IR]? / {
            n = split(plain($0), words, /[ ,]+/)
            for (i = 2; i <= n; i++) if (words[i] ~ /^(--?[a-z][a-z-]*|\/[a-z])$/) { print words[i]; break }
        }
        { after_tp = ($0 == ".TP") }' "$1" | sort -u
}

# The options a --help text lists: its entry lines start with two spaces and the option.
help_options() { sed -nE 's/^  ((--?|\/)[a-z][a-z-]*).*/\1/p' | sort -u; }

compare() {  # compare WHAT HELP_OPTIONS PAGE_OPTIONS
    local missing extra
    missing=$(comm -23 <(echo "$2") <(echo "$3") | tr '\n' ' ')
    extra=$(comm -13 <(echo "$2") <(echo "$3") | tr '\n' ' ')
    if [ -z "$missing$extra" ]; then
        ok "$1: the page describes the same options as --help ($(echo $2))"
    else
        fail "$1: --help lists but the page lacks: ${missing:-none}; the page describes but --help lacks: ${extra:-none}"
    fi
}

formats_cleanly() {  # formats_cleanly PAGE
    local warnings
    warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$1" 2>&1)
    [ -z "$warnings" ] && ok "$(basename "$1") formats without a warning" || fail "$(basename "$1"): $warnings"
}

version_matches() {  # version_matches PAGE PROGRAM
    local version page_version
    version=$("$2" --version | awk '{print $2}')
    page_version=$(sed -nE 's/^\.TH .* "Veldmark ([^"]*)".*/\1/p' "$1")
    [ -n "$version" ] && [ "$version" = "$page_version" ] \
        && ok "$(basename "$1") is of version $version" \
        || fail "$(basename "$1") says version '$page_version', $(basename "$2") --version '$version'"
}

echo "== veldmark"
help=$("$veldmark" --help)
# veldmark's --help and --version are named on its usage line only.
usage_extras=$(sed -n 's/^usage: //p' <<<"$help" | grep -oE -- '--(help|version)')
compare veldmark "$( { help_options <<<"$help"; echo "$usage_extras"; } | sort -u)" "$(page_options "$veldmark_page")"
formats_cleanly "$veldmark_page"
version_matches "$veldmark_page" "$veldmark"

echo "== veldmark-render"
commands=$("$render" --help | sed -nE '/^commands:/,/^$/ s/^  ([a-z]+) .*/\1/p' | sort)
page_commands=$(sed -nE 's/^\.SS "([a-z]+) .*/\1/p' "$render_page" | sort)
[ -n "$commands" ] && [ "$commands" = "$page_commands" ] \
    && ok "the page has a section for each command ($(echo $commands))" \
    || fail "commands in --help: $(echo $commands); sections in the page: $(echo $page_commands)"
for command in $commands; do
    help=$("$render" "$command" --help)
    usage=$(sed -n '1s/^usage: veldmark-render //p' <<<"$help")
    heading=$(sed -nE "s/^\.SS \"($command .*)\"\$/\1/p" "$render_page" | sed 's/\\-/-/g')
    [ "$usage" = "$heading" ] && ok "$command: the section's heading is the usage line" \
        || fail "$command: usage '$usage', heading '$heading'"
    compare "$command" "$(help_options <<<"$help")" "$(page_options "$render_page" "$command")"
done
formats_cleanly "$render_page"
version_matches "$render_page" "$render"
exit "$failed"
