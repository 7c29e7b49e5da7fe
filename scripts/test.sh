#!/usr/bin/env bash
# Installs what is missing, builds all targets (Linux native, Linux with sanitizers,
# Windows x86_64, Windows i686) and runs every test in one CTest run: native and
# sanitizer tests directly, Windows tests under wine64 inside Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in native asan win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# One CTest run over the three builds whose tests run here (win32 cannot run on this kernel).
cat > build/CTestTestfile.cmake <<'CTEST'
subdirs("native")
subdirs("asan")
subdirs("win64")
CTEST
ctest --test-dir build --output-on-failure -j2 "$@"
