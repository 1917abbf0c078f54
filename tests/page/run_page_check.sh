#!/bin/sh
# Converts a game with the tool, as the demo does, and checks its page in
# Chromium, the browser found on the PATH.
#
#   run_page_check.sh CMAKE TOOL GAME RUN_DIR
#
# GAME is the game file, relative to the project. With PAGE_SCREENSHOT=FILE.png
# in the environment the check also saves a full-page screenshot there, with
# PAGE_VIEW_SCREENSHOT=FILE.png one of the first cave's full-size view, and
# with PAGE_PHONE_SCREENSHOT=FILE.png one of that view on a phone.
#
# Exits 77, which the test runner counts as skipped, when what the check needs
# is not installed: node, the packages of tests/page (npm ci there) or
# Chromium. In CI (CI set to true, in any case, or 1, yes, on) it fails instead.
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
for package in html-validate playwright-core axe-core; do
  [ -d "$page_dir/node_modules/$package" ] ||
    skip "the page check's packages are missing (run: npm ci --prefix $page_dir)"
done
GROTTOPRINT_BROWSER=$(command -v chromium) || skip "Chromium is not installed"
export GROTTOPRINT_BROWSER

"$1" -DTOOL="$2" -DGAME="$3" -DRUN_DIR="$4" -P "$page_dir/../../cmake/run_demo.cmake"
exec node "$page_dir/check_page.mjs" "$4" ${PAGE_SCREENSHOT:+--screenshot "$PAGE_SCREENSHOT"} \
  ${PAGE_VIEW_SCREENSHOT:+--view-screenshot "$PAGE_VIEW_SCREENSHOT"} \
  ${PAGE_PHONE_SCREENSHOT:+--phone-screenshot "$PAGE_PHONE_SCREENSHOT"}
