#!/bin/sh
# Converts games with the tool, as the demo does, each in a folder of its own,
# and checks their pages in one browser engine: Chromium, Firefox or WebKit
# (Debian's chromium, firefox-esr, and webkit2gtk-driver under xvfb-run),
# found on the PATH.
#
#   run_page_check.sh CMAKE TOOL ENGINE RUN_DIR GAME...
#
# Each GAME is a game file, relative to the project; the first is judged in
# every window (see check_page.mjs). PAGE_SCREENSHOT and the like, in the
# environment, save screenshots.
#
# Exits 77, which the test runner counts as skipped, when what the check needs
# is not installed: node, the packages of tests/page (npm ci there) or the
# engine. In CI (CI set to true, in any case, or 1, yes, on) it fails instead.
set -eu
page_dir=$(cd "$(dirname "$0")" && pwd)
cmake=$1 tool=$2 engine=$3 run_dir=$4
shift 4

skip() {
  case $(printf %s "${CI:-}" | tr '[:upper:]' '[:lower:]') in
  true | 1 | yes | on) echo "FAILED: $1; in CI every page check must run" && exit 1 ;;
  esac
  echo "SKIPPED: $1"
  exit 77
}
command -v node >/dev/null 2>&1 || skip "node is not installed"
[ -d "$page_dir/node_modules/puppeteer-core" ] || skip "the page check's packages are missing (run: npm ci --prefix $page_dir)"
case $engine in
Chromium) GROTTOPRINT_CHROMIUM=$(command -v chromium) || skip "Chromium is not installed" ;;
Firefox) GROTTOPRINT_FIREFOX=$(command -v firefox-esr || command -v firefox) || skip "Firefox is not installed" ;;
WebKit) command -v WebKitWebDriver >/dev/null && command -v xvfb-run >/dev/null || skip "WebKit's driver or xvfb-run is not installed" ;;
esac
export GROTTOPRINT_CHROMIUM GROTTOPRINT_FIREFOX

folders=""
for game; do
  folder=$run_dir/$(basename "$game" .bd)
  "$cmake" -DTOOL="$tool" -DGAME="$game" -DRUN_DIR="$folder" -P "$page_dir/../../cmake/run_demo.cmake" >/dev/null
  folders="$folders $folder"
done
# shellcheck disable=SC2086 # the folders' names hold no blanks
exec node "$page_dir/check_page.mjs" "$engine" $folders
