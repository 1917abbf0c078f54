// Checks the page of a converted game as a user would meet it: the page is
// valid HTML, and opened from its folder in headless Chromium and scrolled
// through it shows every picture of the folder, each loaded at its natural
// size of 648 x 360, and an index that links to every cave. At each window
// and display scale of the table below, the full-size view shows the whole
// picture with no control over it, every picture pixel on k x k device pixels
// (read back from a screenshot) where k is the largest whole number the
// window holds, or as large as fits on a phone. The view opens with a click,
// with the keyboard and from the page's address, which names the cave shown;
// it moves with buttons, keys and swipes, closes with Escape, Close and Back
// onto its card and the page's own address, downloads no picture twice, is
// printed alone, and axe-core finds no fault with it open or closed in the
// dark and the light scheme. With scripts off, each picture is a link to its file.
//
//   node check_page.mjs FOLDER [--screenshot FILE.png] [--view-screenshot FILE.png]
//                              [--phone-screenshot FILE.png]
//
// The browser is the Chromium that GROTTOPRINT_BROWSER names (run_page_check.sh
// finds it on the PATH).
//
// Exit status: 0 when every check passed, 1 when one failed, 2 on wrong use.
import { readdir, readFile } from "node:fs/promises";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { parseArgs } from "node:util";

import axe from "axe-core";
import { HtmlValidate } from "html-validate";
import { chromium } from "playwright-core";

const PictureSize = [648, 360];
// How long one picture may take to load once it is in view.
const PictureTimeoutMs = 10000;
// The accessibility rules axe-core applies to the page.
const AxeRules = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"];
// The windows the view is judged in: CSS pixels, device pixels per CSS pixel,
// and the device pixels each picture pixel must cover (0: the picture as wide
// as the window, on a phone or in a window narrower than the picture). A row
// with the scale and touch of the row before resizes that row's tab.
const Windows = [
  [1920, 1080, 1, 2], [1366, 768, 1, 2], [600, 500, 1, 0], [1920, 1080, 1.25, 3],
  [1536, 864, 1.25, 2], [1920, 1080, 1.5, 4], [1920, 1080, 2, 5],
  [390, 844, 3, 0, "phone"], [844, 390, 3, 3, "phone turned"]];

const shots = ["screenshot", "view-screenshot", "phone-screenshot"];
const options = (() => { try {
  return parseArgs({ allowPositionals: true,
    options: Object.fromEntries(shots.map((name) => [name, { type: "string" }])) });
} catch { return { positionals: [] }; } })();
if (options.positionals.length !== 1) {
  console.error(`usage: node check_page.mjs FOLDER ${shots.map((s) => `[--${s} FILE.png]`).join(" ")}`);
  process.exit(2);
}
const [screenshot, viewScreenshot, phoneScreenshot] = shots.map((name) => options.values[name]);
const folder = path.resolve(options.positionals[0]);
const names = await readdir(folder);
const pages = names.filter((name) => name.endsWith(".html"));
const pictures = names.filter((name) => name.endsWith(".bmp")).sort();
if (pages.length !== 1) {
  console.log(`FAIL: ${folder} holds ${pages.length} pages, expected one`);
  process.exit(1);
}
const page = path.join(folder, pages[0]);
const pageUrl = pathToFileURL(page).href;
const failures = [];
const fail = (failure) => failures.push(failure);

const report = await new HtmlValidate({ extends: ["html-validate:recommended"] }).validateFile(page);
for (const message of report.results.flatMap((result) => result.messages))
  fail(`${pages[0]}:${message.line}:${message.column}: ${message.message} (${message.ruleId})`);

const browser = await chromium.launch({ executablePath: process.env.GROTTOPRINT_BROWSER,
                                       args: ["--disable-gpu"] });

// Opens the page (at `address`, the page's own by default) in a tab of its
// own (a fresh cache), where a script error fails the check, and so does a
// picture downloaded twice once `done` is called.
async function open(width, height, { scale = 1, touch = false, address = pageUrl,
                                     javaScriptEnabled = true } = {}) {
  const tab = await browser.newPage({ viewport: { width, height }, deviceScaleFactor: scale,
    isMobile: touch, hasTouch: touch, javaScriptEnabled, colorScheme: "dark" });
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
  await tab.goto(address);
  return tab;
}

// Reads back, from a screenshot, the device pixels that each picture pixel
// covers: `k` when each covers exactly k x k of them, with the same colour as
// in the picture file, else the picture's width in device pixels over 648.
const decoder = await browser.newPage();
async function devicePixels(tab, box, scale, index) {
  const data = (type, bytes) => `data:image/${type};base64,${bytes.toString("base64")}`;
  return decoder.evaluate(async ([shot, file, box, scale, [width, height]]) => {
    const [seen, original] = await Promise.all([shot, file].map(async (source) => {
      const image = await createImageBitmap(await (await fetch(source)).blob());
      const canvas = new OffscreenCanvas(image.width, image.height).getContext("2d");
      canvas.drawImage(image, 0, 0);
      return canvas.getImageData(0, 0, image.width, image.height);
    }));
    const [left, top, across, down] = [box.x, box.y, box.width, box.height].map(
      (css) => Math.round(css * scale * 100) / 100);
    const k = across / width;
    if (k % 1 || down !== k * height) return k;
    if (left % 1 || top % 1) return `${k} (off the device pixel grid, at ${left}, ${top})`;
    for (let y = 0; y < down; ++y) {
      for (let x = 0; x < across; ++x) {
        const at = 4 * ((top + y) * seen.width + left + x);
        const from = 4 * (Math.floor(y / k) * width + Math.floor(x / k));
        if ([0, 1, 2].some((c) => seen.data[at + c] !== original.data[from + c]))
          return `${k} (but the screen differs from the picture at ${x}, ${y})`;
      }
    }
    return k;
  }, [data("png", await tab.screenshot()),
      data("bmp", await readFile(path.join(folder, pictures[index]))), box, scale, PictureSize]);
}

// Judges the view after `when`: open on card `index` as a modal dialog named
// after the cave, at the page's address for that cave, the whole picture in
// the window with no control over it and `k` device pixels per picture pixel
// (0: as wide as the window), or, with no `k`, closed with the focus back on
// card `index` and the page's own address.
const scales = [];
async function expectView(tab, when, index, k) {
  // A resize and the view's closing reach the page's script a frame later.
  await tab.evaluate(() => new Promise((resolve) =>
    requestAnimationFrame(() => requestAnimationFrame(resolve))));
  await tab.waitForFunction(() => document.querySelector("dialog:modal img")?.complete !== false);
  const seen = await tab.evaluate(([index, open, address, [width, height]]) => {
    const card = document.querySelectorAll(".cave")[index];
    if (!card) return { faults: [`${location.href} shows no card ${index + 1}`] };
    const [number, name] = card.querySelectorAll("h2 span");
    const title = `${number.textContent} ${name.textContent || "Unnamed cave"}`;
    const view = document.querySelector("dialog:modal");
    const picture = view && view.querySelector("img");
    const cave = open ? `#cave-${index + 1}` : "";
    const faults = [location.href !== address + cave && `the address is ${location.href}`];
    if (!open) {
      return { faults: [...faults, picture ? "the view is still open" :
        !card.contains(document.activeElement) && `the focus is not on card ${index + 1}`] };
    }
    if (!picture) return { faults: ["the view is not open"] };
    const box = picture.getBoundingClientRect();
    const over = Array.from(view.querySelectorAll("h2, button, .view-values"), (control) =>
      [control.id, control.getBoundingClientRect()]).filter(([, r]) => r.width &&
      r.left < box.right && box.left < r.right && r.top < box.bottom && box.top < r.bottom);
    const small = Array.from(view.querySelectorAll("button"), (b) => b.getBoundingClientRect())
      .filter((r) => r.width && (r.width < 44 || r.height < 44));
    const heading = view.querySelector("h2").textContent;
    const rendering = getComputedStyle(picture).imageRendering;
    return { title, box: box.toJSON(), width: innerWidth, scale: devicePixelRatio, faults: [...faults,
      heading !== title && `the view says "${heading}", not "${title}"`,
      picture.src !== card.querySelector("img").src && `the view shows ${picture.src}`,
      (picture.naturalWidth !== width || picture.naturalHeight !== height) &&
        "the view's picture did not load at its natural size",
      Math.min(box.left, box.top, innerWidth - box.right, innerHeight - box.bottom) < -0.01 &&
        "the picture does not fit the window",
      over.length > 0 && `${over.map(([id]) => id).join(", ")} over the picture`,
      small.length > 0 && `${small.length} button(s) smaller than 44 x 44`,
      rendering !== "pixelated" && `the picture is drawn with image-rendering ${rendering}`] };
  }, [index, k !== undefined, pageUrl, PictureSize]);
  if (seen.title && await tab.getByRole("dialog", { name: seen.title, exact: true }).count() !== 1)
    seen.faults.push(`no dialog named "${seen.title}"`);
  if (seen.box) {
    const pixels = await devicePixels(tab, seen.box, seen.scale, index);
    const shown = `device pixels per picture pixel: ${+pixels.toFixed?.(3) || pixels}`;
    scales.push(`${when}: ${shown}`);
    if (k ? pixels !== k : Math.abs(seen.box.width - seen.width) > 0.01)
      seen.faults.push(`${shown}, expected ${k || "the window's width"}`);
  }
  for (const fault of seen.faults.filter(Boolean)) fail(`${when}: ${fault}`);
}

// A sideways swipe by touch over the view, `across` CSS pixels long, that
// comes to rest before it lifts: a flick would leave headless Chromium in a
// fling that swallows the next tap.
async function swipe(tab, across) {
  const touch = await tab.context().newCDPSession(tab);
  const [x, y] = [across < 0 ? 300 : 90, 450];
  for (const [type, dx] of [["touchStart", 0], ["touchMove", across / 2], ["touchMove", across],
                            ["touchMove", across], ["touchEnd"]]) {
    if (dx === across) await tab.waitForTimeout(100);
    await touch.send("Input.dispatchTouchEvent",
                     { type, touchPoints: dx === undefined ? [] : [{ x: x + dx, y }] });
  }
}

// Runs axe-core on the page as it stands, in both colour schemes.
async function checkAxe(tab, when) {
  await tab.addScriptTag({ content: axe.source });
  for (const colorScheme of ["dark", "light"]) {
    await tab.emulateMedia({ colorScheme });
    const [result, ink] = await tab.evaluate(async (tags) => [await axe.run(document,
      { runOnly: { type: "tag", values: tags } }), getComputedStyle(document.body).color], AxeRules);
    // Light ink on a dark page, or dark ink on a light one.
    const light = ink.match(/\d+/g).slice(0, 3).reduce((sum, value) => sum + +value, 0) > 382;
    if (light !== (colorScheme === "dark")) fail(`${when}: in the ${colorScheme} scheme the ink is ${ink}`);
    for (const { id, help, nodes } of result.violations)
      fail(`${when}, ${colorScheme}: axe: ${id}: ${help} (${nodes.map((n) => n.target).join(", ")})`);
  }
  await tab.emulateMedia({ colorScheme: "dark" });
}

let shown = { title: "", images: 0 };
try {
  // With scripts off, every picture is a link to its own file.
  const plain = await open(1280, 800, { javaScriptEnabled: false });
  const links = await plain.evaluate(() =>
    Array.from(document.images, (image) => [image.src, image.closest("a")?.href]));
  for (const [source, link] of links) if (link !== source) fail(`without scripts, ${source} links to ${link}`);
  await plain.done();

  // The overview: each picture loads as it comes into view, so each is
  // scrolled into view in turn and waited for (or the time is up). The index
  // at the top names every cave and links to its address.
  const mouse = await open(1280, 800);
  shown = await mouse.evaluate(async ([[width, height], timeoutMs, address]) => {
    const index = Array.from(document.querySelectorAll("nav a"), (link, i) => {
      const [number, name] = document.querySelectorAll(".cave")[i]?.querySelectorAll("h2 span") ?? [];
      return link.href === `${address}#cave-${i + 1}` && name &&
        link.textContent === `${number.textContent} ` + (name.textContent || "Unnamed cave");
    });
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
      !image.alt.trim() && `picture "${image.getAttribute("src")}" has no alt text`]).flat()
      .concat(index.length !== document.images.length || index.includes(false) ?
        [`the index does not link to each cave in turn: ${index}`] : []) };
  }, [PictureSize, PictureTimeoutMs, pageUrl]);
  shown.faults.filter(Boolean).forEach(fail);
  // The view's script is the page's only one: a name or remark never runs.
  if (shown.scripts !== 1) fail(`the page runs ${shown.scripts} script(s), not the view's one`);
  if (shown.images === 0 || shown.images !== pictures.length)
    fail(`the page shows ${shown.images} picture(s), the folder holds ${pictures.length}`);
  if (screenshot) await mouse.screenshot({ path: screenshot, fullPage: true });
  await checkAxe(mouse, "with the view closed");
  const expectPrinted = async (tab, when, parts) => {
    await tab.emulateMedia({ media: "print" });
    const shows = await tab.evaluate(() => Array.from(document.querySelectorAll("nav, main, dialog"),
      (part) => getComputedStyle(part).display !== "none" && part.tagName.toLowerCase())
      .filter(Boolean).join(" "));
    await tab.emulateMedia({ media: null });
    if (shows !== parts) fail(`printed ${when}, the page shows: ${shows}`);
  };
  await expectPrinted(mouse, "with the view closed", "main");

  // The windows of the table, each opened on the first cave with a click.
  let tab = mouse;
  let last = [];
  for (const [width, height, scale, k, touch] of Windows) {
    const when = `${touch || "window"} ${width} x ${height} at ${scale}`;
    if (last[0] === scale && last[1] === touch) {
      await tab.setViewportSize({ width, height });
    } else {
      if (tab !== mouse) await tab.done();
      tab = await open(width, height, { scale, touch: !!touch });
      await tab.locator(".cave img").first()[touch ? "tap" : "click"]();
    }
    last = [scale, touch];
    await expectView(tab, when, 0, k);
    if (width === 1920 && scale === 1) {
      if (viewScreenshot) await tab.screenshot({ path: viewScreenshot });
      await checkAxe(tab, "with the view open");
      await expectPrinted(tab, "with the view open", "dialog");
      await tab.getByRole("button", { name: "Previous" }).click();
      await expectView(tab, "Previous from the first cave", pictures.length - 1, 2);
      await tab.getByRole("button", { name: "Close" }).click();
      await expectView(tab, "Close", pictures.length - 1);
      await tab.locator(".cave img").first().click();
    }
    if (touch === "phone") {
      if (phoneScreenshot) await tab.screenshot({ path: phoneScreenshot });
      const top = await tab.evaluate(() => scrollY);
      await swipe(tab, -150);
      await expectView(tab, "swiped left", Math.min(1, pictures.length - 1), k);
      await swipe(tab, 150);
      await expectView(tab, "swiped right", 0, k);
      await tab.getByRole("button", { name: "Values" }).tap();
      await expectView(tab, "Values", 0, k);
      if (!await tab.locator("dialog td").first().isVisible()) fail("Values shows no values");
      await tab.goBack();
      await expectView(tab, "Back", 0);
      if (await tab.evaluate(() => scrollY) !== top) fail("Back moved the page");
      await tab.locator(".cave img").first().tap();
    }
  }
  await tab.done();
  await mouse.done();

  // By keyboard: Tab reaches the index, whose first link opens the view.
  const keyboard = await open(1920, 1080);
  await keyboard.setViewportSize({ width: 800, height: 600 });
  for (const key of ["Tab", "Enter"]) await keyboard.keyboard.press(key);
  await expectView(keyboard, "800 x 600, Tab and Enter", 0, 1);
  for (const [key, index] of [["ArrowRight", Math.min(1, pictures.length - 1)],
                              ["End", pictures.length - 1], ["Home", 0]]) {
    await keyboard.keyboard.press(key);
    await expectView(keyboard, `800 x 600, ${key}`, index, 1);
  }
  await keyboard.keyboard.press("Escape");
  await expectView(keyboard, "Escape", 0);
  await keyboard.done();

  // From an address, in a new tab: the view opens on that cave and, closed,
  // leaves the page with its own address.
  const linked = await open(1366, 768, { address: `${pageUrl}#cave-${pictures.length}` });
  await expectView(linked, `a new tab at cave-${pictures.length}`, pictures.length - 1, 2);
  await linked.keyboard.press("Escape");
  await expectView(linked, "Escape in the new tab", pictures.length - 1);
  await linked.done();
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
