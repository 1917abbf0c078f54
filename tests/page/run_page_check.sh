#!/bin/sh
# Converts a game with the tool, as the demo does, and checks its page in a
# browser.
#
#   run_page_check.sh CMAKE TOOL SOURCE_DIR GAME RUN_DIR
#
# GAME is the game file, relative to SOURCE_DIR. With PAGE_SCREENSHOT=FILE.png
# in the environment the check also saves a full-page screenshot there, with
# PAGE_VIEW_SCREENSHOT=FILE.png one of the first cave's full-size view, and
# with PAGE_PHONE_SCREENSHOT=FILE.png one of that view on a phone.
#
# Exits 77, which the test runner counts as skipped, when what the check needs
# is not installed: node, the packages of tests/page (npm ci there) or
# Chromium at /usr/bin/chromium. With CI=true a check that cannot run fails.
set -eu

source_dir=$3
page_dir="$source_dir/tests/page"

skip() {
  if [ "${CI:-}" = true ]; then
    echo "FAILED: $1; in CI every page check must run"
    exit 1
  fi
  echo "SKIPPED: $1"
  exit 77
}
command -v node >/dev/null 2>&1 || skip "node is not installed"
[ -d "$page_dir/node_modules/html-validate" ] && [ -d "$page_dir/node_modules/playwright-core" ] &&
  [ -d "$page_dir/node_modules/axe-core" ] ||
  skip "the page check's packages are missing (run: npm ci --prefix $page_dir)"
[ -x /usr/bin/chromium ] || skip "Chromium is not installed at /usr/bin/chromium"

"$1" -DTOOL="$2" -DSOURCE_DIR="$source_dir" -DGAME="$4" -DRUN_DIR="$5" \
  -P "$source_dir/cmake/run_demo.cmake"
exec node "$page_dir/check_page.mjs" "$5" ${PAGE_SCREENSHOT:+--screenshot "$PAGE_SCREENSHOT"} \
  ${PAGE_VIEW_SCREENSHOT:+--view-screenshot "$PAGE_VIEW_SCREENSHOT"} \
  ${PAGE_PHONE_SCREENSHOT:+--phone-screenshot "$PAGE_PHONE_SCREENSHOT"}
