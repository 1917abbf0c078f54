// Checks the page of a converted game as a user would meet it, in Chromium,
// Firefox and WebKit: the page is valid HTML; every card shows the values of
// expected_pages.json, its rows without a value hidden and its look taken from
// its type; the index links to every cave; every picture loads once, at its
// natural size, from a link to its own file. At each window of the table
// below the full-size view shows the whole picture centred in the room its
// controls leave, every picture pixel on k x k device pixels (read back from a
// screenshot), the controls in the window and nothing scrolled. The view opens
// by click, touch, keyboard and address, and not on a click with a modifier
// key; it moves with buttons, keys and swipes, keeps the address on the cave
// shown, shows the cave's values on request and closes with Escape, Close and
// Back onto its card; printed, it is the only thing on its sheet; axe-core
// finds no fault with it open or closed.
//
//   node check_page.mjs FOLDER
//
// With PAGE_SCREENSHOT=FILE.png in the environment Chromium also saves a
// screenshot of the whole page there, with PAGE_VIEW_SCREENSHOT=FILE.png one
// of the first cave's view, and with PAGE_PHONE_SCREENSHOT=FILE.png one of
// that view on a phone.
//
// The browsers: Chromium at GROTTOPRINT_CHROMIUM, Firefox at GROTTOPRINT_FIREFOX
// (both driven by puppeteer-core), WebKit through WebKitWebDriver under
// xvfb-run (run_page_check.sh finds them). An engine that is missing is named
// as not checked, and fails the check in CI (CI set to true, 1, yes or on).
//
// Exit status: 0 when every check passed, else 1.
import { spawn } from "node:child_process";
import { readdir, readFile } from "node:fs/promises";
import http from "node:http";
import path from "node:path";

import axe from "axe-core";
import { HtmlValidate } from "html-validate";
import puppeteer from "puppeteer-core";

const PictureSize = [648, 360];
const AxeRules = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"];
const MiniBrowser = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
const MiniBrowserBar = 38; // the height of its toolbar above the page, in CSS pixels
// The windows the view is judged in: CSS pixels, device pixels per CSS pixel,
// the device pixels each picture pixel must cover (0: the picture as wide as
// the window, on a phone or in a window narrower than the picture) and whether
// the values fit beside the picture (else the Values button shows them). Odd
// sizes centre on whole device pixels; 1366 x 768 and 1365 x 767 sit where k
// changes with the scale.
const Windows = [
  { width: 1920, height: 1080, scale: 1, k: 2, beside: true }, { width: 1367, height: 769, scale: 1, k: 2 },
  { width: 1366, height: 768, scale: 1.25, k: 2, beside: true }, { width: 1366, height: 768, scale: 1.5, k: 3 },
  { width: 1366, height: 768, scale: 2, k: 4 }, { width: 1365, height: 767, scale: 2, k: 3, beside: true },
  { width: 1920, height: 1080, scale: 1.25, k: 3, beside: true }, { width: 1920, height: 1080, scale: 1.5, k: 4 },
  { width: 600, height: 500, scale: 1, k: 0 }, { width: 801, height: 601, scale: 1, k: 1 },
  { width: 390, height: 844, scale: 3, k: 0, touch: true }, { width: 844, height: 390, scale: 3, k: 3, touch: true }];
const [[Desktop, OddDesktop], Phone] = [Windows, Windows.at(-2)];

if (process.argv.length !== 3) throw new Error("usage: node check_page.mjs FOLDER");
// Where Chromium's screenshots go, if anywhere: the page, the view, the view on a phone.
const [screenshot, viewScreenshot, phoneScreenshot] = ["PAGE", "PAGE_VIEW", "PAGE_PHONE"].map((n) => process.env[`${n}_SCREENSHOT`]);
const folder = path.resolve(process.argv[2]);
const names = await readdir(folder);
const [pages, pictures] = [".html", ".bmp"].map((type) => names.filter((name) => name.endsWith(type)).sort());
const expected = JSON.parse(await readFile(new URL("expected_pages.json", import.meta.url)))[pages[0]];
if (pages.length !== 1 || !expected) throw new Error(`${folder} holds ${pages.length} pages, expected one of expected_pages.json`);
const caves = expected.caves.length;
const failures = [];
let engine = "";
// States an expectation: `seen` must equal `wanted` (as JSON), else it fails.
function expect(when, what, seen, wanted = true) {
  const [a, b] = [seen, wanted].map((value) => JSON.stringify(value));
  if (a !== b) failures.push(`${engine}${when}: ${what}: ${a}, expected ${b}`);
}
const report = await new HtmlValidate({ extends: ["html-validate:recommended"] }).validateFile(path.join(folder, pages[0]));
for (const m of report.results.flatMap((result) => result.messages)) expect(`${pages[0]}:${m.line}`, m.ruleId, m.message, "");

// The folder, served to the browsers: /TAB/FILE, a fresh TAB for each tab
// (a fresh cache), counting the pictures each tab loads.
const loads = new Map();
const server = http.createServer(async (request, response) => {
  const [, tab, file = ""] = decodeURIComponent(new URL(request.url, "http://x").pathname).split("/");
  const key = `${engine}tab ${tab}: ${file}`;
  if (file.endsWith(".bmp")) loads.set(key, (loads.get(key) ?? 0) + 1);
  const body = await readFile(path.join(folder, path.basename(file))).catch(() => null);
  response.writeHead(body ? 200 : 404, { "cache-control": "max-age=600", "content-type": file.endsWith(".html") ? "text/html; charset=utf-8" : "image/bmp" }).end(body);
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
let tabs = 0;
const pageUrl = () => `http://127.0.0.1:${server.address().port}/${++tabs}/${encodeURIComponent(pages[0])}`;

// The three engines behind one adapter: open(window, address) gives a tab that
// evaluates a function in the page, clicks (with a modifier key, or by touch),
// presses keys, swipes, resizes, takes a screenshot (base64 PNG) and prints
// (a PDF, as latin1 text, where the engine can).
const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
async function puppeteerEngine(browser, executablePath, args) {
  const instance = await puppeteer.launch({ browser, executablePath, args, headless: true });
  return { close: () => instance.close(), can: { print: true, media: browser === "chrome", touch: true },
    async open(window, address) {
      const page = await instance.newPage();
      const size = (w) => ({ width: w.width, height: w.height, deviceScaleFactor: w.scale, isMobile: !!w.touch, hasTouch: !!w.touch });
      await page.setViewport(size(window));
      await page.goto(address);
      return { eval: (fn, ...values) => page.evaluate(fn, ...values), key: (key) => page.keyboard.press(key),
        resize: (w) => page.setViewport(size(w)), close: () => page.close(),
        shot: () => page.screenshot({ encoding: "base64" }),
        screenshotTo: browser === "chrome" ? (file, fullPage) => page.screenshot({ path: file, fullPage }) : undefined,
        print: async () => Buffer.from(await page.pdf()).toString("latin1"),
        media: (scheme) => page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]),
        async click(selector, { modifier, touch } = {}) {
          for (const step of [modifier ? () => page.keyboard.down(modifier) : null, () => page[touch ? "tap" : "click"](selector),
                              modifier ? () => page.keyboard.up(modifier) : null]) await step?.();
        },
        async swipe(across, x = across < 0 ? 300 : 90) { // comes to rest before it lifts, so no fling swallows the next tap
          for (const dx of [0, across / 2, across]) await page.touchscreen[dx ? "touchMove" : "touchStart"](x + dx, 450);
          await wait(100).then(() => page.touchscreen.touchEnd());
        } };
    } };
}
// WebKit: one WebKitWebDriver under xvfb-run for each display scale (GDK_SCALE
// takes whole numbers only), one window that each tab navigates anew.
async function webkitEngine() {
  const drivers = new Map();
  const Keys = { Escape: "\uE00C", ArrowLeft: "\uE012", ArrowRight: "\uE014", Home: "\uE011", End: "\uE010",
                 Tab: "\uE004", Enter: "\uE007", Control: "\uE009", Shift: "\uE008", Alt: "\uE00A", Meta: "\uE03D" };
  async function driver(scale) {
    const port = 4600 + drivers.size + (process.pid % 300) * 4;
    const child = spawn("xvfb-run", ["-a", "-s", "-screen 0 4200x3400x24", "WebKitWebDriver", `--port=${port}`],
                        { env: { ...process.env, GDK_SCALE: String(scale) }, detached: true, stdio: "ignore" });
    const call = (method, where, body) => fetch(`http://127.0.0.1:${port}${where}`, { method, body: body && JSON.stringify(body),
      headers: { "content-type": "application/json" } }).then((answer) => answer.json()).then(({ value }) =>
      (value?.error ? Promise.reject(new Error(`WebKitWebDriver: ${value.message}`)) : value));
    for (let tries = 0; await call("GET", "/status").then(() => false, () => tries++ < 50);) await wait(200);
    const { sessionId } = await call("POST", "/session", { capabilities: { alwaysMatch: {
      "webkitgtk:browserOptions": { binary: MiniBrowser, args: ["--automation"] } } } });
    return { child, session: (method, where, body) => call(method, `/session/${sessionId}${where}`, body) };
  }
  return { can: { print: false, media: false, touch: false, scale: (s) => s % 1 === 0, narrow: false },
    close: () => drivers.forEach((d) => process.kill(-d.child.pid)),
    async open(window, address) {
      const { session } = drivers.get(window.scale) ?? drivers.set(window.scale, await driver(window.scale)).get(window.scale);
      const evaluate = (fn, ...values) => session("POST", "/execute/async", { args: values, script:
        `const done = arguments[arguments.length - 1]; Promise.resolve().then(() => (${fn})(...Array.from(arguments)` +
        `.slice(0, -1))).then((value) => done([value]), (error) => done([null, String(error)]));` })
        .then(([value, error]) => (error ? Promise.reject(new Error(error)) : value));
      const act = (...actions) => session("POST", "/actions", { actions });
      const keys = (names, ticks) => ({ type: "key", id: "k", actions: names.flatMap((name) => [
        { type: "keyDown", value: Keys[name] }, ...Array(ticks).fill({ type: "pause" }), { type: "keyUp", value: Keys[name] }]) });
      const resize = (w) => session("POST", "/window/rect", { width: w.width, height: w.height + MiniBrowserBar });
      await resize(window).then(() => session("POST", "/url", { url: address }));
      return { eval: evaluate, resize, close: async () => {}, shot: () => session("GET", "/screenshot"),
        key: (name) => act(keys([name], 0)),
        async click(selector, { modifier } = {}) {
          const element = await session("POST", "/element", { using: "css selector", value: selector });
          await session("POST", "/execute/sync", { script: "arguments[0].scrollIntoView({ block: 'center' })", args: [element] });
          await act(keys(modifier ? [modifier] : [], 2), { type: "pointer", id: "p", parameters: { pointerType: "mouse" },
            actions: [{ type: "pointerMove", origin: element, x: 0, y: 0 }, { type: "pointerDown", button: 0 },
                      { type: "pointerUp", button: 0 }, { type: "pause" }] });
        } };
    } };
}
const Engines = {
  Chromium: () => puppeteerEngine("chrome", process.env.GROTTOPRINT_CHROMIUM, ["--disable-gpu", "--no-sandbox"]),
  Firefox: () => puppeteerEngine("firefox", process.env.GROTTOPRINT_FIREFOX, []), WebKit: webkitEngine };
const runs = (can, w) => (can.scale?.(w.scale) ?? true) && (can.narrow !== false || w.width >= 450);

// Reads back, from a screenshot, the device pixels that each picture pixel
// covers: `k` when each covers exactly k x k of them, with the same colour as
// in the picture file, else the picture's width in device pixels over 648.
async function devicePixels(shot, box, scale, index) {
  const data = (type, bytes) => `data:image/${type};base64,${bytes.toString("base64")}`;
  return decoder.eval(async ([shot, file, box, scale, [width, height]]) => {
    const [seen, original] = await Promise.all([shot, file].map(async (source) => {
      const image = await createImageBitmap(await (await fetch(source)).blob());
      const canvas = new OffscreenCanvas(image.width, image.height).getContext("2d");
      canvas.drawImage(image, 0, 0);
      return canvas.getImageData(0, 0, image.width, image.height);
    }));
    const [left, top, across, down] = box.map((css) => Math.round(css * scale * 100) / 100);
    const k = across / width;
    if (k % 1 || down !== k * height) return +k.toFixed(3);
    if (left % 1 || top % 1) return `${k} (off the device pixel grid, at ${left}, ${top})`;
    // The first place the screen differs from the picture, its box moved by
    // (dx, dy): Firefox draws the view a device pixel below its box after a
    // page scroll that ends between device pixels.
    const differs = ([dx, dy]) => {
      for (let i = 0, x = 0, y = 0; y < down; x = ++i % across, y = Math.floor(i / across)) {
        const [at, from] = [4 * ((top + dy + y) * seen.width + left + dx + x), 4 * (Math.floor(y / k) * width + Math.floor(x / k))];
        if ([0, 1, 2].some((c) => seen.data[at + c] !== original.data[from + c])) return [x, y];
      }
    };
    const at = differs([0, 0]);
    return !at || [[0, 1], [0, -1], [1, 0], [-1, 0]].some((move) => !differs(move)) ? k
      : `${k} (but the screen differs from the picture at ${at})`;
  }, [data("png", Buffer.from(shot, "base64")), data("bmp", await readFile(path.join(folder, pictures[index]))),
      box, scale, PictureSize]);
}

// All that the page shows, read in the page: the game's facts; each card's
// title, badges, rows (a row without a value is hidden), remark, pictures and
// the look its type gives it (0: the colour of --accent on its top edge, 1:
// that of --intermission); the index; the view with the values it shows, its
// controls and picture with their boxes; the address and the focus.
function look() {
  const shown = (element) => !!element && element.getClientRects().length > 0;
  const text = (element) => (shown(element) ? element.textContent : null);
  const box = (element) => { const r = element.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };
  const pairs = (rows, name, value) => Array.from(rows, (row) => shown(row) &&
    [row.querySelector(name).textContent, row.querySelector(value).textContent]).filter(Boolean);
  const values = (part) => ({ values: pairs(part.querySelectorAll("tr"), "th", "td"), remark: text(part.querySelector(".remark")) });
  const tone = (card, name) => { // the colour a custom property gives the card, through a swatch in it
    const swatch = Object.assign(card.appendChild(document.createElement("i")), { style: `color: var(${name})` });
    return [getComputedStyle(swatch).color, swatch.remove()][0];
  };
  const cards = Array.from(document.querySelectorAll(".cave"), (card) => {
    const [type, level] = Array.from(card.querySelectorAll(".badge"), text);
    return { name: card.querySelector("h2 span:last-child").textContent, type, level: level?.replace("Level ", "") ?? null,
      ...values(card), look: [tone(card, "--accent"), tone(card, "--intermission")].indexOf(getComputedStyle(card).borderTopColor),
      title: card.querySelector("h2").textContent, pictures: Array.from(card.getElementsByTagName("img"), (image) =>
        [image.getAttribute("src"), image.closest("a")?.getAttribute("href"), image.naturalWidth, image.naturalHeight, !!image.alt.trim()]) };
  });
  const [view, panel] = [document.querySelector("dialog"), document.querySelector(".view-values")];
  const picture = view?.open && view.querySelector("img");
  return { address: location.href, scripts: document.scripts.length, cards,
    facts: pairs(document.querySelectorAll(".facts div"), "dt", "dd"),
    index: Array.from(document.querySelectorAll("nav a"), (link) => [link.getAttribute("href").replace(/.*#/, "#"), link.textContent]),
    focus: document.activeElement?.closest(".cave")?.id ?? null,
    open: !!view?.open, modal: !!view?.matches(":modal"), heading: view?.open ? view.querySelector("h2").textContent : null,
    picture: picture && { src: decodeURIComponent(picture.src).split("/").pop(), box: box(picture), size: [picture.naturalWidth, picture.naturalHeight],
      rendering: getComputedStyle(picture).imageRendering, bar: box(view.querySelector(".view-bar")),
      side: view.classList.contains("view-side"), window: [innerWidth, innerHeight], scale: devicePixelRatio,
      scrolled: [view.scrollLeft, view.scrollTop], asked: view.querySelector("#view-more[aria-expanded=true]:not([hidden])") !== null,
      controls: Array.from(view.querySelectorAll("h2, button, .view-values"), (control) => shown(control) &&
        [control.id || "title", box(control)]).filter(Boolean), panel: shown(panel) ? values(panel) : null } };
}

// Judges the view: open on cave `index` with `k` device pixels per picture
// pixel (0: as wide as the window), or, with no `k`, closed with the focus on
// card `index`; `values` names how the cave's values show: "beside", "asked"
// (below or over the picture) or hidden.
async function expectView(tab, when, index, k, values) {
  await tab.eval(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(() => {
    const picture = document.querySelector("dialog img"); // resizes and closing reach the page a frame later
    return !picture || picture.complete ? resolve() : picture.addEventListener("load", resolve, { once: true });
  }))));
  const [seen, cave, open] = [await tab.eval(look), expected.caves[index], k !== undefined];
  const { address, picture: p } = seen;
  expect(when, "the address", address.replace(/.*\//, ""), encodeURIComponent(pages[0]) + (open ? `#cave-${index + 1}` : ""));
  expect(when, "the view open, modal, and its title", [seen.open, seen.modal, seen.heading],
         open ? [true, true, seen.cards[index].title.replace(/ $/, " Unnamed cave")] : [false, false, null]);
  if (!open || !p) return open || expect(when, "the focus", seen.focus, `cave-${index + 1}`);
  expect(when, "the picture, its size and rendering", [p.src, p.size, p.rendering], [pictures[index], PictureSize, "pixelated"]);
  const [[W, H], [left, top, right, bottom]] = [p.window, p.box];
  const room = p.side ? [p.bar[2], 0, W, H] : [0, p.bar[3], W, H];
  const over = (r) => r[0] < right && left < r[2] && r[1] < bottom && top < r[3];
  expect(when, "controls outside the window or over the picture", p.controls.filter(([id, r]) =>
    r[0] < -0.01 || r[1] < -0.01 || r[2] > W + 0.01 || r[3] > H + 0.01 || (over(r) && !(id === "view-values" && p.asked)))
    .map(([id]) => id), []);
  expect(when, "the view scrolled", p.scrolled, [0, 0]);
  expect(when, "the values shown", p.panel && [p.panel.values, p.panel.remark, p.asked ? "asked" : "beside"],
         values ? [Object.entries(cave.values), cave.remark, values] : null);
  const panel = p.controls.find(([id, r]) => id === "view-values" && !over(r))?.[1] ?? p.box;
  const group = [Math.min(left, panel[0]), top, Math.max(right, panel[2]), Math.max(bottom, panel[3])];
  expect(when, "device pixels off centre in the room", [0, 1].map((i) => { const d = (group[i] - room[i] -
    (room[i + 2] - group[i + 2])) * p.scale; return Math.abs(d) <= 2 ? 0 : Math.round(d); }), [0, 0]);
  if (!k) return expect(when, "the picture as wide as the room", Math.round(right - left), Math.round(room[2] - room[0]));
  expect(when, "device pixels per picture pixel, by its box", +((right - left) * p.scale / PictureSize[0]).toFixed(3), k);
  // Read back from the screen once for each size of window a tab has.
  if ((tab.read ??= new Set()).has(`${W} ${H}`) || p.controls.some(([id, r]) => id === "view-values" && over(r))) return;
  tab.read.add(`${W} ${H}`);
  const pixels = await devicePixels(await tab.shot(), [left, top, right - left, bottom - top], p.scale, index);
  expect(when, "device pixels per picture pixel, read back", pixels, k);
}

const first = ".cave img";
// axe-core finds no fault, in both schemes where the engine can emulate them;
// printed, the page shows `images` pictures (1: the view, alone on one sheet).
async function expectAxeAndPrint(tab, when, can, images) {
  await tab.eval((source) => document.head.appendChild(document.createElement("script")).append(source), axe.source);
  for (const scheme of can.media ? ["dark", "light"] : ["the browser's"]) {
    if (can.media) await tab.media(scheme);
    const [faults, ink, light] = await tab.eval(async (tags) => [(await axe.run(document, { runOnly: { type: "tag",
      values: tags } })).violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target).join(", ")})`),
      getComputedStyle(document.body).color, matchMedia("(prefers-color-scheme: light)").matches], AxeRules);
    expect(`${when}, ${scheme} scheme`, "axe", faults, []);
    expect(`${when}, ${scheme} scheme`, "light ink", ink.match(/\d+/g).slice(0, 3).reduce((a, b) => a + +b, 0) > 382, !light);
  }
  if (!can.print) return;
  const pdf = await tab.print();
  expect(when, "pictures printed", (pdf.match(/\/Subtype\s*\/Image/g) ?? []).length, images);
  if (images === 1 && /\/Count \d+/.test(pdf)) expect(when, "sheets printed", /\/Count (\d+)/.exec(pdf)[1], "1");
}

// Takes each step (a function of the tab) and judges the view after it.
const walk = async (tab, steps) => {
  for (const [step, when, ...view] of steps) await step(tab).then(() => expectView(tab, when, ...view)); };
const click = (selector, options) => (tab) => tab.click(selector, options);
const press = (...keys) => async (tab) => { for (const key of keys) await tab.key(key); };

// The scenarios, each run in every engine: open(window, address) opens a tab.
const Scenarios = {
  async "the cards"(open, can) {
    const tab = await open(Desktop);
    await tab.eval(async () => { // each picture loads as it comes into view
      for (const image of document.images)
        await new Promise((resolve) => { image.onload = image.onerror = resolve; image.scrollIntoView();
                                         return image.complete ? resolve() : setTimeout(resolve, 10000); });
      scrollTo(0, 0);
    });
    const seen = await tab.eval(look);
    expect("the page", "its facts and scripts", [seen.facts, seen.scripts], [Object.entries(expected.facts), 1]);
    expect("the page", "the index", seen.index, expected.caves.map((c, i) => [`#cave-${i + 1}`, `${i + 1} ${c.name || "Unnamed cave"}`]));
    expect("the page", "each card: name, type, level, values, remark, look, picture (file, link, size, alt)",
      seen.cards.map((c) => [c.name, c.type, c.level, c.values, c.remark, ["Cave", "Intermission"][c.look], c.pictures]),
      expected.caves.map((c, i) => [c.name, c.type, c.level, Object.entries(c.values), c.remark, c.type,
                                    [[pictures[i], pictures[i], ...PictureSize, true]]]));
    if (screenshot) await tab.screenshotTo?.(screenshot, true);
    await expectAxeAndPrint(tab, "the view closed", can, caves);
  },
  async "the view in every window"(open, can) {
    for (const w of Windows.filter((w) => runs(can, w))) {
      const [when, touch] = [`${w.width} x ${w.height} at ${w.scale}`, w.touch && can.touch];
      const tab = await open(w);
      await walk(tab, [[click(first, { touch }), when, 0, w.k, w.beside && "beside"]]);
      if (w === Phone && phoneScreenshot) await tab.screenshotTo?.(phoneScreenshot);
      await walk(tab, w.beside ? [] : [[click("#view-more", { touch }), `${when}, Values`, 0, w.k, "asked"],
        [press("Escape"), `${when}, Values and Escape`, 0, w.k], [press("Escape"), `${when}, Escape`, 0]]);
    }
  },
  async "moving between caves, Close and Back"(open, can) {
    const tab = await open(Desktop);
    await walk(tab, [[click(first), "a click", 0, 2, "beside"]]);
    expect("the view", "Previous and Next shown", (await tab.eval(look)).picture.controls.filter(([id]) =>
      /previous|next/.test(id)).length, caves > 1 ? 2 : 0);
    if (viewScreenshot) await tab.screenshotTo?.(viewScreenshot);
    await expectAxeAndPrint(tab, "the view open", can, 1);
    const top = await tab.eval(() => scrollY);
    await walk(tab, [...(caves > 1 ? [[click("#view-previous"), "Previous", caves - 1, 2, "beside"],
      [click("#view-next"), "Next", 0, 2, "beside"], [click("#view-next"), "Next", 1, 2, "beside"]] : []),
    [click("#view-close"), "Close", 1 % caves], [click(first), "a click", 0, 2, "beside"],
    [press("ArrowRight"), "ArrowRight", 1 % caves, 2, "beside"], [press("End"), "End", caves - 1, 2, "beside"],
    [press("Home"), "Home", 0, 2, "beside"], [press("ArrowLeft"), "ArrowLeft", caves - 1, 2, "beside"],
    [press("ArrowRight"), "ArrowRight", 0, 2, "beside"], [(tab) => tab.eval(() => history.back()), "Back", 0]]);
    expect("Back", "the page's scroll position", await tab.eval(() => scrollY), top);
  },
  async "keyboard, address and a window that shrinks"(open) {
    await walk(await open(Windows[9]), [[press("Tab", "Enter"), "Tab and Enter", 0, 1]]);
    await walk(await open(Desktop, `${pageUrl()}#cave-${caves}`), [[async () => {}, "an address", caves - 1, 2, "beside"],
      [press("Escape"), "an address, Escape", caves - 1], [click(first), "a click", 0, 2, "beside"],
      [(tab) => tab.resize(OddDesktop), "shrunk to 1367 x 769", 0, 2]]);
  },
  async "clicks with a modifier key"(open) {
    const tab = await open(Desktop);
    // The browser's own way with such a click (a new tab, a download) is
    // stopped after the page has had its say.
    await tab.eval(() => addEventListener("click", (event) => { window.taken = event.defaultPrevented; event.preventDefault(); }));
    for (const modifier of ["Control", "Shift", "Alt", "Meta", ""]) {
      await tab.click(first, { modifier });
      const [taken, seen] = [await tab.eval(() => window.taken), await tab.eval(look)];
      expect(`a click with ${modifier || "no modifier key"}`, "the view opened", [taken, seen.open], [!modifier, !modifier]);
    }
  },
  async "swipes"(open, can) {
    if (can.touch) await walk(await open(Phone), [[click(first, { touch: true }), "a tap", 0, 0],
      [(tab) => tab.swipe(-150), "swiped left", 1 % caves, 0], [(tab) => tab.swipe(150), "swiped right", 0, 0]]);
  },
};

const inCI = /^(true|1|yes|on)$/i.test(process.env.CI ?? "");
const notChecked = [];
const chromium = await Engines.Chromium();
const decoder = await chromium.open({ width: 100, height: 100, scale: 1 }, "about:blank");
for (const [name, start] of Object.entries(Engines)) {
  engine = `${name}: `;
  const instance = name === "Chromium" ? chromium : await start().catch((error) => {
    (inCI ? failures : notChecked).push(`${name}: it could not start: ${error.message.split("\n")[0]}`);
  });
  for (const [title, scenario] of instance ? Object.entries(Scenarios) : []) {
    const opened = [];
    const open = async (window, address = pageUrl()) => opened[opened.push(await instance.open(window, address)) - 1];
    await scenario(open, instance.can).catch((error) => expect(title, "the check stopped", error.message.split("\n")[0], null));
    for (const tab of opened) await tab.close();
  }
  if (instance && instance !== chromium) await instance.close();
}
await chromium.close();
server.close();
engine = "";
for (const [where, count] of loads) expect(where, "loaded", count, 1);
console.log([...failures.map((f) => `FAIL: ${f}\n`), ...notChecked.map((n) => `NOT CHECKED: ${n}\n`)].join(""));
console.log(`${pages[0]}: ${caves} cave(s) in ${3 - notChecked.length} engine(s), ${failures.length} problem(s)`);
process.exitCode = failures.length === 0 ? 0 : 1;
