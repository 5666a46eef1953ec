#!/usr/bin/env bash
# Everything: set-up, the three builds, host tests (sanitizers), the static check of the shipped
# exe, then the Wine end-to-end tests. Artifacts (screenshots, logs) land in artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
# Formatting of every tracked C++ file.
find src tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror
./scripts/build.sh
(cd build/host && ctest --output-on-failure -j "$(nproc)")
# The worker's threads under ThreadSanitizer.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINSTALLER_TSAN=ON >/dev/null
ninja -C build/tsan -j "$(nproc)" worker_tests
build/tsan/tests/host/worker_tests
./tests/static/check_exe.sh build/win32/src/resources/PrinterDriverSetup.exe
./tests/e2e/run_all.sh
echo "All tests passed."
