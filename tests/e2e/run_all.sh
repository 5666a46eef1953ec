#!/usr/bin/env bash
# Runs every Wine end-to-end test (tests/e2e/test_*.sh).
set -euo pipefail
cd "$(dirname "$0")"
shopt -s nullglob
for t in test_*.sh; do
  echo "== $t"
  bash "$t"
done
