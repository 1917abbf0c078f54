#!/bin/sh
# Converts a game with the tool, as the demo does, and checks its page in
# Chromium, Firefox and WebKit (Debian's chromium, firefox-esr, and
# webkit2gtk-driver under xvfb-run), found on the PATH.
#
#   run_page_check.sh CMAKE TOOL GAME RUN_DIR
#
# GAME is the game file, relative to the project. PAGE_SCREENSHOT and the
# like, in the environment, save screenshots (see check_page.mjs).
#
# Exits 77, which the test runner counts as skipped, when what the check needs
# is not installed: node, the packages of tests/page (npm ci there) or
# Chromium, which also reads the screenshots back. In CI (CI set to true, in
# any case, or 1, yes, on) it fails instead. Without Firefox or WebKit the
# check says which engine it did not check, and fails in CI.
set -eu
page_dir=$(cd "$(dirname "$0")" && pwd)

skip() {
  case $(printf %s "${CI:-}" | tr '[:upper:]' '[:lower:]') in
  true | 1 | yes | on) echo "FAILED: $1; in CI every page check must run" && exit 1 ;;
  esac
  echo "SKIPPED: $1"
  exit 77
}
command -v node >/dev/null 2>&1 || skip "node is not installed"
[ -d "$page_dir/node_modules/puppeteer-core" ] || skip "the page check's packages are missing (run: npm ci --prefix $page_dir)"
GROTTOPRINT_CHROMIUM=$(command -v chromium) || skip "Chromium is not installed"
GROTTOPRINT_FIREFOX=$(command -v firefox-esr || command -v firefox || true)
export GROTTOPRINT_CHROMIUM GROTTOPRINT_FIREFOX

"$1" -DTOOL="$2" -DGAME="$3" -DRUN_DIR="$4" -P "$page_dir/../../cmake/run_demo.cmake"
exec node "$page_dir/check_page.mjs" "$4"
