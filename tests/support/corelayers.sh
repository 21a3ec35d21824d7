#!/bin/sh
# The folders of core/ include one another in one direction: fails, naming the
# loop, when an include goes back up.
set -eu
core=${1:?usage: corelayers.sh CORE_DIR}
cd "$core/.."
grep -rHo '#include "core/[a-z]*/' core |
    sed -E 's#^core/([a-z]+)/[^:]*:\#include "core/([a-z]+)/#\1 \2#' |
    awk '$1 != $2' | sort -u | tsort >/dev/null
