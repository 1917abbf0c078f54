// Checks the page of a converted game as a user would meet it: the page is
// valid HTML, and opened from its folder in headless Chromium and scrolled
// through it shows every picture of the folder, each loaded at its natural
// size of 648 x 360.
//
//   node check_page.mjs FOLDER [--screenshot FILE.png]
//
// Exit status: 0 when every check passed, 1 when one failed, 2 on wrong use.
import { mkdtemp, readdir, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";

import { HtmlValidate } from "html-validate";
import { chromium } from "playwright-core";

const ChromiumPath = "/usr/bin/chromium";
const ChromiumFlags = [
  "--headless",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];
const PictureWidth = 648;
const PictureHeight = 360;
const Viewport = { width: 1280, height: 800 };
// How long one picture may take to load once it is in view.
const PictureTimeoutMs = 10000;

function parseArguments(argv) {
  const options = { folder: null, screenshot: null };
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === "--screenshot" && i + 1 < argv.length) options.screenshot = argv[++i];
    else if (options.folder === null && !argv[i].startsWith("--")) options.folder = argv[i];
    else return null;
  }
  return options.folder === null ? null : options;
}

async function validate(page) {
  const validator = new HtmlValidate({ extends: ["html-validate:recommended"] });
  const report = await validator.validateFile(page);
  const failures = [];
  for (const result of report.results) {
    for (const message of result.messages) {
      failures.push(`${path.basename(page)}:${message.line}:${message.column}: ` +
                    `${message.message} (${message.ruleId})`);
    }
  }
  return failures;
}

// The page's pictures load as they come into view: scrolls each one into view
// in turn and waits until it has loaded or failed (or the time is up), so that
// every picture is judged, then goes back to the top.
async function scrollThroughPictures(tab) {
  await tab.evaluate(async (timeoutMs) => {
    for (const image of document.images) {
      image.scrollIntoView({ block: "center" });
      if (image.complete) continue;
      await new Promise((resolve) => {
        image.addEventListener("load", resolve, { once: true });
        image.addEventListener("error", resolve, { once: true });
        setTimeout(resolve, timeoutMs);
      });
    }
    window.scrollTo(0, 0);
  }, PictureTimeoutMs);
}

// Opens the page in a fresh browser profile and reports what it shows.
async function inspect(page, screenshot) {
  const profile = await mkdtemp(path.join(tmpdir(), "grottoprint-chromium-"));
  let context = null;
  try {
    context = await chromium.launchPersistentContext(profile, {
      executablePath: ChromiumPath,
      headless: true,
      args: ChromiumFlags,
      viewport: Viewport,
    });
    const tab = await context.newPage();
    await tab.goto(pathToFileURL(page).href, { waitUntil: "load" });
    await scrollThroughPictures(tab);
    const shown = await tab.evaluate(() => ({
      title: document.title,
      scripts: document.scripts.length,
      images: Array.from(document.images, (image) => ({
        source: image.getAttribute("src"),
        complete: image.complete,
        width: image.naturalWidth,
        height: image.naturalHeight,
        alt: image.alt,
      })),
    }));
    if (screenshot) await tab.screenshot({ path: screenshot, fullPage: true });
    return shown;
  } finally {
    if (context) await context.close();
    await rm(profile, { recursive: true, force: true });
  }
}

function judge(shown, pictures) {
  const failures = [];
  if (shown.scripts !== 0) failures.push(`the page runs ${shown.scripts} script(s)`);
  if (shown.images.length === 0) failures.push("the page shows no picture");
  if (shown.images.length !== pictures.length) {
    failures.push(`the page shows ${shown.images.length} picture(s), ` +
                  `the folder holds ${pictures.length}`);
  }
  for (const image of shown.images) {
    if (!image.complete || image.width !== PictureWidth || image.height !== PictureHeight) {
      failures.push(`picture "${image.source}" shows at ${image.width} x ${image.height}` +
                    `${image.complete ? "" : " (not loaded)"}`);
    }
    if (image.alt.trim() === "") failures.push(`picture "${image.source}" has no alt text`);
  }
  return failures;
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  if (options === null) {
    console.error("usage: node check_page.mjs FOLDER [--screenshot FILE.png]");
    return 2;
  }
  const folder = path.resolve(options.folder);
  const names = await readdir(folder);
  const pages = names.filter((name) => name.endsWith(".html")).sort();
  const pictures = names.filter((name) => name.endsWith(".bmp"));
  if (pages.length !== 1) {
    console.log(`FAIL: ${folder} holds ${pages.length} pages, expected one`);
    return 1;
  }
  const page = path.join(folder, pages[0]);
  const failures = await validate(page);
  const shown = await inspect(page, options.screenshot && path.resolve(options.screenshot));
  failures.push(...judge(shown, pictures));
  for (const failure of failures) console.log(`FAIL: ${failure}`);
  console.log(`${pages[0]}: "${shown.title}", ${shown.images.length} picture(s) shown, ` +
              `${failures.length} problem(s)`);
  if (options.screenshot) console.log(`screenshot written to ${path.resolve(options.screenshot)}`);
  return failures.length === 0 ? 0 : 1;
}

process.exitCode = await main();
