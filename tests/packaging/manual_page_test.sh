#!/usr/bin/env bash
# The manual page formats without warnings and documents every option that
# the program's --help lists.
set -euo pipefail
page=$1
program=$2

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  echo "manual page warnings:"; echo "$warnings"; exit 1
fi
text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null)
status=0
for option in $(QT_QPA_PLATFORM=offscreen "$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  if ! grep -q -- "$option" <<<"$text"; then
    echo "the manual page does not mention $option"
    status=1
  fi
done
exit $status
