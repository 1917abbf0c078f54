// Checks the page of a converted game as a user would meet it: the page is
// valid HTML, and opened from its folder in headless Chromium and scrolled
// through it shows every picture of the folder, each loaded at its natural
// size of 648 x 360. Its full-size view opens with a click or with Tab and
// Enter, shows the picture at a whole-number scale that the window holds,
// moves between caves, closes back onto the card, downloads no picture twice,
// is not printed and has no accessibility fault that axe-core finds. With
// scripts off, each picture is a link to its file.
//
//   node check_page.mjs FOLDER [--screenshot FILE.png] [--view-screenshot FILE.png]
//
// The browser is the Chromium that GROTTOPRINT_BROWSER names (run_page_check.sh
// finds it on the PATH).
//
// Exit status: 0 when every check passed, 1 when one failed, 2 on wrong use.
import { readdir } from "node:fs/promises";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { parseArgs } from "node:util";

import axe from "axe-core";
import { HtmlValidate } from "html-validate";
import { chromium } from "playwright-core";

const PictureSize = [648, 360];
// How long one picture may take to load once it is in view.
const PictureTimeoutMs = 10000;
// The accessibility rules axe-core applies to the page with the view open.
const AxeRules = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"];

let options;
try {
  options = parseArgs({ allowPositionals: true, options: {
    screenshot: { type: "string" }, "view-screenshot": { type: "string" } } });
} catch {
  options = null;
}
if (options === null || options.positionals.length !== 1) {
  console.error("usage: node check_page.mjs FOLDER [--screenshot FILE.png] " +
                "[--view-screenshot FILE.png]");
  process.exit(2);
}
const { screenshot, "view-screenshot": viewScreenshot } = options.values;
const folder = path.resolve(options.positionals[0]);
const names = await readdir(folder);
const pages = names.filter((name) => name.endsWith(".html"));
const pictureCount = names.filter((name) => name.endsWith(".bmp")).length;
if (pages.length !== 1) {
  console.log(`FAIL: ${folder} holds ${pages.length} pages, expected one`);
  process.exit(1);
}
const page = path.join(folder, pages[0]);
const failures = [];
const fail = (failure) => failures.push(failure);

const validator = new HtmlValidate({ extends: ["html-validate:recommended"] });
const report = await validator.validateFile(page);
for (const message of report.results.flatMap((result) => result.messages)) {
  fail(`${pages[0]}:${message.line}:${message.column}: ${message.message} (${message.ruleId})`);
}

const browser = await chromium.launch({ executablePath: process.env.GROTTOPRINT_BROWSER,
                                       args: ["--disable-gpu"] });

// Opens the page in a tab of its own (a fresh cache), where a script error
// fails the check, and so does a picture downloaded twice once `done` is called.
async function open(width, height, javaScriptEnabled = true) {
  const tab = await browser.newPage({ viewport: { width, height }, javaScriptEnabled });
  tab.setDefaultTimeout(PictureTimeoutMs);
  tab.on("pageerror", (error) => fail(`the page's script failed: ${error.message}`));
  const loads = new Map();
  tab.on("request", (request) => {
    // The file, whatever query a second download might add to its address.
    const file = decodeURIComponent(new URL(request.url()).pathname);
    if (file.endsWith(".bmp")) loads.set(file, (loads.get(file) || 0) + 1);
  });
  tab.done = async () => {
    for (const [file, count] of loads) if (count > 1) fail(`${file} was loaded ${count} times`);
    await tab.close();
  };
  await tab.goto(pathToFileURL(page).href);
  return tab;
}

// Judges the view after `when`: open on card `index` at the whole-number
// `scale` (the largest the window holds) as a modal dialog named after the
// cave, or, with no scale, closed with the focus back on card `index`.
const scales = [];
async function expectView(tab, when, index, scale = 0) {
  // A resize and the view's closing reach the page's script a frame later.
  await tab.evaluate(() => new Promise((resolve) =>
    requestAnimationFrame(() => requestAnimationFrame(resolve))));
  await tab.waitForFunction(() => document.querySelector("dialog:modal img")?.complete !== false);
  const seen = await tab.evaluate(([index, scale, [width, height]]) => {
    const card = document.querySelectorAll(".cave")[index];
    const [number, name] = card.querySelectorAll("h2 span");
    const title = `${number.textContent} ${name.textContent || "Unnamed cave"}`;
    const source = card.querySelector("img").src;
    const view = document.querySelector("dialog:modal");
    const picture = view && view.querySelector("img");
    if (!scale) {
      return { faults: [picture ? "the view is still open" :
        !card.contains(document.activeElement) && `the focus is not on card ${index + 1}`] };
    }
    if (!picture) return { faults: ["the view is not open"] };
    const box = picture.getBoundingClientRect();
    const [across, down] = [box.width / width, box.height / height];
    const shown = across === down ? `${across}x` : `${across}x across, ${down}x down`;
    const heading = view.querySelector("h2").textContent;
    const rendering = getComputedStyle(picture).imageRendering;
    return { title, shown, faults: [
      heading !== title && `the view says "${heading}", not "${title}"`,
      picture.src !== source && `the view shows ${picture.src}, not ${source}`,
      (picture.naturalWidth !== width || picture.naturalHeight !== height) &&
        "the view's picture did not load at its natural size",
      shown !== `${scale}x` && `the picture shows at ${shown}, not at ${scale}x`,
      (box.left < 0 || box.top < 0 || box.right > innerWidth || box.bottom > innerHeight) &&
        "the picture does not fit the window",
      rendering !== "pixelated" && `the picture is drawn with image-rendering ${rendering}`] };
  }, [index, scale, PictureSize]);
  if (scale) scales.push(`view at ${when}: ${seen.shown || "closed"}`);
  if (seen.title && await tab.getByRole("dialog", { name: seen.title, exact: true }).count() !== 1)
    seen.faults.push(`no dialog named "${seen.title}"`);
  for (const fault of seen.faults.filter(Boolean)) fail(`${when}: ${fault}`);
}

let shown = { title: "", images: 0 };
try {
  // With scripts off, every picture is a link to its own file.
  const plain = await open(1280, 800, false);
  const links = await plain.evaluate(() =>
    Array.from(document.images, (image) => [image.src, image.closest("a")?.href]));
  for (const [source, link] of links) {
    if (link !== source) fail(`without scripts, ${source} links to ${link}`);
  }
  await plain.done();

  // The overview: each picture loads as it comes into view, so each is
  // scrolled into view in turn and waited for (or the time is up).
  const mouse = await open(1280, 800);
  shown = await mouse.evaluate(async ([[width, height], timeoutMs]) => {
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
    return { title: document.title, scripts: document.scripts.length,
             images: document.images.length, faults: Array.from(document.images, (image) => [
      (!image.complete || image.naturalWidth !== width || image.naturalHeight !== height) &&
        `picture "${image.getAttribute("src")}" shows at ${image.naturalWidth} x ` +
        `${image.naturalHeight}${image.complete ? "" : " (not loaded)"}`,
      !image.alt.trim() && `picture "${image.getAttribute("src")}" has no alt text`]).flat() };
  }, [PictureSize, PictureTimeoutMs]);
  shown.faults.filter(Boolean).forEach(fail);
  // The view's script is the page's only one: a name or remark never runs.
  if (shown.scripts !== 1) fail(`the page runs ${shown.scripts} script(s), not the view's one`);
  if (shown.images === 0 || shown.images !== pictureCount) {
    fail(`the page shows ${shown.images} picture(s), the folder holds ${pictureCount}`);
  }
  if (screenshot) await mouse.screenshot({ path: screenshot, fullPage: true });

  // The view by mouse, the window made larger before its first opening.
  await mouse.setViewportSize({ width: 1920, height: 1080 });
  await mouse.locator(".cave img").first().click();
  await expectView(mouse, "1920 x 1080, clicked", 0, 2);
  if (viewScreenshot) await mouse.screenshot({ path: viewScreenshot });
  await mouse.addScriptTag({ content: axe.source });
  const axeResult = await mouse.evaluate(
      (tags) => axe.run(document, { runOnly: { type: "tag", values: tags } }), AxeRules);
  for (const { id, help, nodes } of axeResult.violations) {
    fail(`with the view open, axe: ${id}: ${help} (${nodes.map((n) => n.target).join(", ")})`);
  }
  await mouse.emulateMedia({ media: "print" });
  if (await mouse.evaluate(() => getComputedStyle(document.querySelector("dialog")).display !==
      "none" || getComputedStyle(document.documentElement).overflow !== "visible")) {
    fail("printed with the view open, the page is not printed as it stands");
  }
  await mouse.emulateMedia({ media: null });
  await mouse.setViewportSize({ width: 1944, height: 1080 });
  await expectView(mouse, "1944 x 1080, resized", 0, 3);
  await mouse.setViewportSize({ width: 1296, height: 720 });
  await expectView(mouse, "1296 x 720, resized", 0, 2);
  await mouse.getByRole("button", { name: "Previous" }).click();
  await expectView(mouse, "1296 x 720, Previous from the first cave", pictureCount - 1, 2);
  await mouse.getByRole("button", { name: "Close" }).click();
  await expectView(mouse, "Close", pictureCount - 1);
  await mouse.done();

  // The view by keyboard, the window made smaller before its first opening.
  const keyboard = await open(1920, 1080);
  await keyboard.setViewportSize({ width: 800, height: 600 });
  await keyboard.keyboard.press("Tab");
  await keyboard.keyboard.press("Enter");
  await expectView(keyboard, "800 x 600, Tab and Enter", 0, 1);
  const next = Math.min(1, pictureCount - 1);
  await keyboard.keyboard.press("ArrowRight");
  await expectView(keyboard, "800 x 600, Right", next, 1);
  await keyboard.keyboard.press("Escape");
  await expectView(keyboard, "Escape", next);
  await keyboard.done();
} catch (error) {
  // A control that is missing or a view that never opened stops the walk.
  fail(`the check stopped: ${error.message.split("\n")[0]}`);
} finally {
  await browser.close();
}

for (const failure of failures) console.log(`FAIL: ${failure}`);
for (const scale of scales) console.log(scale);
console.log(`${pages[0]}: "${shown.title}", ${shown.images} picture(s) shown, ` +
            `${failures.length} problem(s)`);
process.exitCode = failures.length === 0 ? 0 : 1;
