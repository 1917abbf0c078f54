#!/bin/sh
# Fills a folder with a converted game and checks its page in a browser.
#
#   run_page_check.sh demo CMAKE TOOL SOURCE_DIR RUN_DIR
#       converts the bundled sample game with the tool (cmake/run_demo.cmake)
#   run_page_check.sh fixture FIXTURE SOURCE_DIR RUN_DIR
#       lets the fixture program write a small game with the shipped template
#
# With PAGE_SCREENSHOT=FILE.png in the environment the check also saves a
# full-page screenshot of the page there.
#
# Exits 77, which the test runner counts as skipped, when what the check needs
# is not installed: node, the packages of tests/page (npm ci there) or
# Chromium at /usr/bin/chromium.
set -eu

mode=$1
shift
case "$mode" in
  demo) source_dir=$3; run_dir=$4 ;;
  fixture) source_dir=$2; run_dir=$3 ;;
  *) echo "usage: run_page_check.sh demo|fixture ..." >&2; exit 2 ;;
esac
page_dir="$source_dir/tests/page"

skip() {
  echo "SKIPPED: $1"
  exit 77
}
command -v node >/dev/null 2>&1 || skip "node is not installed"
[ -d "$page_dir/node_modules/html-validate" ] && [ -d "$page_dir/node_modules/playwright-core" ] ||
  skip "the page check's packages are missing (run: npm ci --prefix $page_dir)"
[ -x /usr/bin/chromium ] || skip "Chromium is not installed at /usr/bin/chromium"

case "$mode" in
  demo)
    "$1" -DTOOL="$2" -DSOURCE_DIR="$source_dir" -DRUN_DIR="$run_dir" \
      -P "$source_dir/cmake/run_demo.cmake"
    ;;
  fixture)
    rm -rf "$run_dir"
    mkdir -p "$run_dir"
    cp "$source_dir/data/html_structure.txt" "$run_dir/"
    (cd "$run_dir" && "$1" </dev/null)
    rm "$run_dir/html_structure.txt"
    ;;
esac

exec node "$page_dir/check_page.mjs" "$run_dir" ${PAGE_SCREENSHOT:+--screenshot "$PAGE_SCREENSHOT"}
