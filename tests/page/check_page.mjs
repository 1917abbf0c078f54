// Checks the page of a converted game as a user would meet it: the page is
// valid HTML, and opened from its folder in headless Chromium and scrolled
// through it shows every picture of the folder, each loaded at its natural
// size of 648 x 360. Its full-size view opens with a click or with Tab and
// Enter, shows the picture at a whole-number scale that the window holds,
// moves between caves, closes back onto the card, downloads no picture twice
// and has no accessibility fault that axe-core finds. With scripts off, each
// picture is a link to its file.
//
//   node check_page.mjs FOLDER [--screenshot FILE.png] [--view-screenshot FILE.png]
//
// Exit status: 0 when every check passed, 1 when one failed, 2 on wrong use.
import { mkdtemp, readdir, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";

import axe from "axe-core";
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
// The accessibility rules axe-core applies to the page with the view open.
const AxeRules = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"];

function parseArguments(argv) {
  const options = { folder: null, screenshot: null, viewScreenshot: null };
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === "--screenshot" && i + 1 < argv.length) options.screenshot = argv[++i];
    else if (argv[i] === "--view-screenshot" && i + 1 < argv.length) {
      options.viewScreenshot = argv[++i];
    }
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

// Runs `work` with a browser in a fresh profile, then closes it.
async function withBrowser(contextOptions, work) {
  const profile = await mkdtemp(path.join(tmpdir(), "grottoprint-chromium-"));
  let context = null;
  try {
    context = await chromium.launchPersistentContext(profile, {
      executablePath: ChromiumPath,
      headless: true,
      args: ChromiumFlags,
      viewport: Viewport,
      ...contextOptions,
    });
    return await work(context);
  } finally {
    if (context) await context.close();
    await rm(profile, { recursive: true, force: true });
  }
}

// Opens the page and reports what it shows.
async function inspect(context, page, screenshot) {
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
  await tab.close();
  return shown;
}

// What the page shows now: whether the view is open and, if so, its title and
// picture; which card holds the focus; and what each card says of its cave.
async function viewState(tab) {
  // A resize and the view's closing reach the page's script a frame later.
  await tab.evaluate(() => new Promise((resolve) =>
    requestAnimationFrame(() => requestAnimationFrame(resolve))));
  await tab.waitForFunction(() => {
    const picture = document.querySelector("dialog:modal img");
    return picture === null || picture.complete;
  }, null, { timeout: PictureTimeoutMs });
  return tab.evaluate(([width, height]) => {
    const cards = Array.from(document.querySelectorAll(".cave"), (card) => {
      const [number, name] = card.querySelectorAll("h2 span");
      return { card, title: `${number.textContent} ${name.textContent || "Unnamed cave"}`,
               source: card.querySelector("img").src };
    });
    const focused = document.activeElement && document.activeElement.closest(".cave");
    const state = { open: false, focusedCard: cards.findIndex((c) => c.card === focused),
                    cards: cards.map(({ title, source }) => ({ title, source })) };
    const view = document.querySelector("dialog:modal");
    const picture = view && view.querySelector("img");
    if (!picture) return state;
    const box = picture.getBoundingClientRect();
    return { ...state, open: true,
             title: view.querySelector("h2").textContent,
             source: picture.src,
             loaded: picture.naturalWidth === width && picture.naturalHeight === height,
             scale: box.width / picture.naturalWidth,
             scaleY: box.height / picture.naturalHeight,
             inWindow: box.left >= 0 && box.top >= 0 && box.right <= window.innerWidth &&
                       box.bottom <= window.innerHeight,
             rendering: getComputedStyle(picture).imageRendering };
  }, [PictureWidth, PictureHeight]);
}

// Checks that the view is open on card `index` at the whole-number `scale`,
// the largest the window holds, and fits the window.
function judgeView(state, index, scale, when) {
  if (!state.open) return [`${when}: the view is not open`];
  const card = state.cards[index];
  const failures = [];
  if (state.title !== card.title) {
    failures.push(`${when}: the view says "${state.title}", not "${card.title}"`);
  }
  if (state.source !== card.source) {
    failures.push(`${when}: the view shows ${state.source}, not ${card.source}`);
  }
  if (!state.loaded) failures.push(`${when}: the view's picture did not load at its natural size`);
  if (state.scale !== scale || state.scaleY !== scale) {
    failures.push(`${when}: the picture shows at ${state.scale} x ${state.scaleY}, not at ${scale}`);
  }
  if (!state.inWindow) failures.push(`${when}: the picture does not fit the window`);
  if (state.rendering !== "pixelated") {
    failures.push(`${when}: the picture is drawn with image-rendering ${state.rendering}`);
  }
  return failures;
}

function judgeClosed(state, index, when) {
  if (state.open) return [`${when}: the view is still open`];
  if (state.focusedCard === index) return [];
  const focused = state.focusedCard < 0 ? "on no card" : `on card ${state.focusedCard + 1}`;
  return [`${when}: the focus is ${focused}, not on card ${index + 1}`];
}

async function accessibilityFaults(tab) {
  await tab.addScriptTag({ content: axe.source });
  const result = await tab.evaluate(
      (tags) => axe.run(document, { runOnly: { type: "tag", values: tags } }), AxeRules);
  return result.violations.map((violation) =>
    `with the view open, axe: ${violation.id}: ${violation.help} ` +
    `(${violation.nodes.map((node) => node.target.join(" ")).join(", ")})`);
}

// The full-size view, with the mouse in a 1920 x 1080 window and with the
// keyboard in an 800 x 600 one. Logs every scale seen.
async function checkView(context, page, pictureCount, viewScreenshot) {
  const failures = [];
  const loads = new Map(); // picture loads of the current tab
  const openTab = async (width, height) => {
    const tab = await context.newPage();
    tab.setDefaultTimeout(PictureTimeoutMs);
    loads.clear();
    tab.on("pageerror", (error) => failures.push(`the page's script failed: ${error.message}`));
    tab.on("request", (request) => {
      const url = decodeURIComponent(request.url());
      if (url.endsWith(".bmp")) loads.set(url, (loads.get(url) || 0) + 1);
    });
    await tab.setViewportSize({ width, height });
    await tab.goto(pathToFileURL(page).href, { waitUntil: "load" });
    return tab;
  };
  const closeTab = async (tab) => {
    for (const [url, count] of loads) {
      if (count > 1) failures.push(`${url} was loaded ${count} times`);
    }
    await tab.close();
  };
  const scales = [];
  const expect = async (tab, index, scale, when) => {
    const state = await viewState(tab);
    scales.push(`${when}: ${state.open ? `${state.scale}x` : "closed"}`);
    failures.push(...judgeView(state, index, scale, when));
    // Assistive technology meets a modal dialog named after the cave.
    const title = state.cards[index].title;
    if (await tab.getByRole("dialog", { name: title, exact: true }).count() !== 1)
      failures.push(`${when}: no dialog named "${title}"`);
  };
  const last = pictureCount - 1;
  try {
    await walkThroughView(openTab, closeTab, expect, last, viewScreenshot, failures);
  } catch (error) {
    // A control that is missing or a view that never opened stops the walk.
    failures.push(`the view check stopped: ${error.message.split("\n")[0]}`);
  }
  return { failures, scales };
}

// The walk through the view, first with the mouse, then with the keyboard:
// `expect` judges the open view, `last` is the index of the last card.
async function walkThroughView(openTab, closeTab, expect, last, viewScreenshot, failures) {
  const mouse = await openTab(1920, 1080);
  await mouse.locator(".cave img").first().click();
  await expect(mouse, 0, 2, "1920 x 1080, clicked");
  if (viewScreenshot) await mouse.screenshot({ path: viewScreenshot });
  failures.push(...await accessibilityFaults(mouse));
  await mouse.emulateMedia({ media: "print" });
  const printed = await mouse.evaluate(() => [
    getComputedStyle(document.querySelector("dialog")).display,
    getComputedStyle(document.documentElement).overflow]);
  if (printed[0] !== "none" || printed[1] !== "visible") {
    failures.push("printed with the view open, the page is not printed as it stands");
  }
  await mouse.emulateMedia({ media: null });
  await mouse.setViewportSize({ width: 1944, height: 1080 });
  await expect(mouse, 0, 3, "1944 x 1080, resized");
  await mouse.setViewportSize({ width: 1296, height: 720 });
  await expect(mouse, 0, 2, "1296 x 720, resized");
  await mouse.getByRole("button", { name: "Previous" }).click();
  await expect(mouse, last, 2, "1296 x 720, Previous from the first cave");
  await mouse.getByRole("button", { name: "Close" }).click();
  failures.push(...judgeClosed(await viewState(mouse), last, "Close"));
  await closeTab(mouse);

  // Made smaller before the view is first opened.
  const keyboard = await openTab(1920, 1080);
  await keyboard.setViewportSize({ width: 800, height: 600 });
  await keyboard.keyboard.press("Tab");
  await keyboard.keyboard.press("Enter");
  await expect(keyboard, 0, 1, "800 x 600, Tab and Enter");
  if (last > 0) {
    await keyboard.keyboard.press("ArrowRight");
    await expect(keyboard, 1, 1, "800 x 600, Right");
  }
  await keyboard.keyboard.press("Escape");
  failures.push(...judgeClosed(await viewState(keyboard), Math.min(1, last), "Escape"));
  await closeTab(keyboard);
}

// With scripts off, every picture is a link to its own file.
async function checkWithoutScripts(context, page) {
  const tab = await context.newPage();
  await tab.goto(pathToFileURL(page).href, { waitUntil: "load" });
  const links = await tab.evaluate(() => Array.from(document.images, (image) => ({
    source: image.src, link: image.closest("a") && image.closest("a").href })));
  return links.filter(({ source, link }) => link !== source)
    .map(({ source, link }) => `without scripts, ${source} links to ${link}`);
}

function judge(shown, pictures) {
  const failures = [];
  // The view's script is the page's only one: a name or remark never runs.
  if (shown.scripts !== 1) {
    failures.push(`the page runs ${shown.scripts} script(s), not the view's one`);
  }
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
    console.error("usage: node check_page.mjs FOLDER [--screenshot FILE.png] " +
                  "[--view-screenshot FILE.png]");
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
  const screenshot = options.screenshot && path.resolve(options.screenshot);
  const viewScreenshot = options.viewScreenshot && path.resolve(options.viewScreenshot);
  const [shown, view] = await withBrowser({}, async (context) => {
    const shownThere = await inspect(context, page, screenshot);
    return [shownThere, await checkView(context, page, pictures.length, viewScreenshot)];
  });
  failures.push(...judge(shown, pictures), ...view.failures);
  failures.push(...await withBrowser({ javaScriptEnabled: false },
                                     (context) => checkWithoutScripts(context, page)));
  for (const failure of failures) console.log(`FAIL: ${failure}`);
  for (const scale of view.scales) console.log(`view at ${scale}`);
  console.log(`${pages[0]}: "${shown.title}", ${shown.images.length} picture(s) shown, ` +
              `${failures.length} problem(s)`);
  if (screenshot) console.log(`screenshot written to ${screenshot}`);
  if (viewScreenshot) console.log(`screenshot of the view written to ${viewScreenshot}`);
  return failures.length === 0 ? 0 : 1;
}

process.exitCode = await main();
