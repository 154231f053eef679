#!/bin/sh
# Usage: include_check_test.sh CHECK_INCLUDES
# Runs the include check on tiny source trees: one clean, then one per kind of problem.
set -eu
check="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# tree NAME FILE LINE [FILE LINE...]: a source tree whose files each hold one line.
tree() {
    root="$work/$1"
    shift
    while [ $# -gt 0 ]; do
        mkdir -p "$(dirname "$root/$1")"
        printf '%s\n' "$2" >"$root/$1"
        shift 2
    done
}
clean() {
    tree "$1" platform/text.h '#include <string>' common/files.h '#include "platform/text.h"' \
        copy/copy.h '#include "common/files.h"' gui/kit/window.h '#include <QString>' \
        cli/main.cpp '#include "copy/copy.h"'
}
# fails NAME PATTERN: the check rejects the tree and says PATTERN.
fails() {
    if out=$("$check" --root "$work/$1" 2>&1); then
        fail "$1 passed"
    fi
    echo "$out" | grep -q -- "$2" || fail "$1: $out"
}

clean ok
"$check" --root "$work/ok" >/dev/null || fail "clean tree: $("$check" --root "$work/ok")"

clean cycle
tree cycle aircraft/plane.h '#include "copy/copy.h"' copy/copy.h '#include "aircraft/plane.h"'
fails cycle 'aircraft/plane.h:1: cycle aircraft -> copy -> aircraft'

clean qt
tree qt common/files.h '#include <QString>'
fails qt 'common/files.h:1: <QString>: Qt in core folder'

clean os
tree os frame/demo.cpp '#include <unistd.h>'
fails os 'frame/demo.cpp:1: <unistd.h>: operating-system header'

clean up
tree up platform/text.h '#include "common/files.h"'
fails up 'platform/text.h:1: "common/files.h": upward include'

echo "include check: 5 passed, 0 failed"
