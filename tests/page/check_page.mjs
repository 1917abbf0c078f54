// Checks the pages of converted games as a user would meet them, in one
// browser engine: each page is valid HTML; every card shows the values of
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
//   node check_page.mjs ENGINE FOLDER...
//
// ENGINE is Chromium, Firefox or WebKit (see engines.mjs); each FOLDER holds
// one converted game. The engine starts once; the first game is judged in
// every window of the table, each game in the steps its number of caves
// makes a difference to. The checks stop after the first scenario that fails.
//
// With PAGE_SCREENSHOT=FILE.png in the environment Chromium also saves a
// screenshot of the first game's whole page there, with
// PAGE_VIEW_SCREENSHOT=FILE.png one of its first cave's view, and with
// PAGE_PHONE_SCREENSHOT=FILE.png one of that view on a phone. An engine that
// is missing is named as not checked, and fails the check in CI (CI set to
// true, 1, yes or on).
//
// Exit status: 0 when every check passed, 77 when the engine could not start
// (outside CI), else 1.
import { readdir, readFile } from "node:fs/promises";
import http from "node:http";
import path from "node:path";

import axe from "axe-core";
import { HtmlValidate } from "html-validate";
import { PNG } from "pngjs";

import { Engines, wait } from "./engines.mjs";
import { printed } from "./printed.mjs";

const PictureSize = [648, 360];
const AxeRules = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"];
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
// Windows with page zoom: the window's size in CSS pixels at zoom 1.
const ZoomedWindows = [{ width: 1366, height: 768, scale: 1, zoom: 1.25, k: 1, beside: true },
  { width: 1920, height: 1080, scale: 1, zoom: 1.5, k: 2, beside: true }, { width: 1366, height: 768, scale: 2, zoom: 1.1, k: 3, beside: true },
  { width: 1366, height: 768, scale: 2, zoom: 0.9, k: 4 }];

const [engineName, ...folders] = process.argv.slice(2);
if (!Engines[engineName] || folders.length === 0) throw new Error("usage: node check_page.mjs Chromium|Firefox|WebKit FOLDER...");
// Where Chromium's screenshots go, if anywhere: the page, the view, the view on a phone.
const [screenshot, viewScreenshot, phoneScreenshot] = ["PAGE", "PAGE_VIEW", "PAGE_PHONE"].map((n) => process.env[`${n}_SCREENSHOT`]);
const allExpected = JSON.parse(await readFile(new URL("expected_pages.json", import.meta.url)));
// Each game: its folder, page, pictures (sorted, as the caves) and what its page must show.
const games = await Promise.all(folders.map(async (folder) => {
  const names = await readdir(folder);
  const [pages, pictures] = [".html", ".bmp"].map((type) => names.filter((name) => name.endsWith(type)).sort());
  const expected = allExpected[pages[0]];
  if (pages.length !== 1 || !expected) throw new Error(`${folder} holds ${pages.length} pages, expected one of expected_pages.json`);
  return { folder: path.resolve(folder), page: pages[0], pictures, expected, caves: expected.caves.length };
}));
const failures = [];
let where = ""; // the engine and game at work
// States an expectation: `seen` must equal `wanted` (as JSON), else it fails.
function expect(when, what, seen, wanted = true) {
  const [a, b] = [seen, wanted].map((value) => JSON.stringify(value));
  if (a !== b) failures.push(`${where}${when}: ${what}: ${a}, expected ${b}`);
}

// The folders, served to the browser: /GAME/TAB/FILE, a fresh TAB for each tab
// (a fresh cache), counting the pictures each tab loads.
const loads = new Map();
const server = http.createServer(async (request, response) => {
  const [, game, tab, file = ""] = decodeURIComponent(new URL(request.url, "http://x").pathname).split("/");
  const key = `${engineName}: ${game} tab ${tab}: ${file}`;
  if (file.endsWith(".bmp")) loads.set(key, (loads.get(key) ?? 0) + 1);
  const body = await readFile(path.join(games[game]?.folder ?? "/nonexistent", path.basename(file))).catch(() => null);
  response.writeHead(body ? 200 : 404, { "cache-control": "max-age=600", "content-type": file.endsWith(".html") ? "text/html; charset=utf-8" : "image/bmp" }).end(body);
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
let tabs = 0;
const pageUrl = (game) => `http://127.0.0.1:${server.address().port}/${games.indexOf(game)}/${++tabs}/${encodeURIComponent(game.page)}`;
const runs = (can, w) => (can.scale?.(w.scale) ?? true) && (can.narrow !== false || w.width >= 450);

// The picture file's pixels, red, green and blue from the top left: a 24-bit
// BMP whose rows run from the bottom up, each padded to four bytes.
async function bitmap(file) {
  const bytes = await readFile(file);
  const [offset, [width, height]] = [bytes.readUInt32LE(10), PictureSize];
  const [row, pixels] = [Math.ceil((width * 3) / 4) * 4, new Uint8Array(width * height * 3)];
  for (let i = 0; i < pixels.length; i++) {
    const [x, y, c] = [Math.floor(i / 3) % width, Math.floor(i / 3 / width), i % 3];
    pixels[i] = bytes[offset + (height - 1 - y) * row + 3 * x + 2 - c];
  }
  return pixels;
}

// Reads back, from a screenshot, the device pixels that each picture pixel
// covers: `k` when each covers exactly k x k of them, with the same colour as
// in the picture file, else the picture's width in device pixels over 648.
async function devicePixels(shot, box, scale, file) {
  const [seen, original] = [PNG.sync.read(Buffer.from(shot, "base64")), await bitmap(file)];
  const [left, top, wide, high] = box.map((css) => Math.round(css * scale * 100) / 100);
  // A box within a thousandth of k x k device pixels a picture pixel is read back pixel by pixel.
  const k = +(wide / PictureSize[0]).toFixed(3);
  const [across, down] = PictureSize.map((size) => k * size);
  if (k % 1 || Math.abs(high - down) > 0.5) return k;
  if (left % 1 || top % 1) return `${k} (off the device pixel grid, at ${left}, ${top})`;
  // The first place the screen differs from the picture, its box moved by
  // (dx, dy): Firefox draws the view a device pixel below its box after a
  // page scroll that ends between device pixels.
  const differs = ([dx, dy]) => {
    for (let y = 0; y < down; y++)
      for (let x = 0; x < across; x++) {
        const at = 4 * ((top + dy + y) * seen.width + left + dx + x);
        const from = 3 * (Math.floor(y / k) * PictureSize[0] + Math.floor(x / k));
        if (seen.data[at] !== original[from] || seen.data[at + 1] !== original[from + 1] || seen.data[at + 2] !== original[from + 2])
          return [x, y];
      }
  };
  const at = differs([0, 0]);
  return !at || [[0, 1], [0, -1], [1, 0], [-1, 0]].some((move) => !differs(move)) ? k
    : `${k} (but the screen differs from the picture at ${at})`;
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
        [image.getAttribute("src"), image.closest("a")?.getAttribute("href")].map(decodeURIComponent)
          .concat(image.naturalWidth, image.naturalHeight, image.alt)) };
  });
  const [view, panel] = [document.querySelector("dialog"), document.querySelector(".view-values")];
  const picture = view?.open && view.querySelector("img");
  return { address: location.href, scripts: document.scripts.length, cards,
    facts: pairs(document.querySelectorAll(".facts div"), "dt", "dd"),
    index: Array.from(document.querySelectorAll("nav a"), (link) => [link.getAttribute("href").replace(/.*#/, "#"), link.textContent]),
    focus: document.activeElement?.closest(".cave, dialog")?.id ?? null,
    open: !!view?.open, modal: !!view?.matches(":modal"), heading: view?.open ? view.querySelector("h2").textContent : null,
    picture: picture && { src: decodeURIComponent(picture.src).split("/").pop(), alt: picture.alt, box: box(picture),
      size: [picture.naturalWidth, picture.naturalHeight],
      rendering: getComputedStyle(picture).imageRendering, bar: box(view.querySelector(".view-bar")),
      side: view.classList.contains("view-side"), window: [innerWidth, innerHeight], scale: devicePixelRatio,
      scrolled: [view.scrollLeft, view.scrollTop], asked: view.querySelector("#view-more[aria-expanded=true]:not([hidden])") !== null,
      controls: Array.from(view.querySelectorAll("h2, button, .view-values"), (control) => shown(control) &&
        [control.id || "title", box(control)]).filter(Boolean), panel: shown(panel) ? values(panel) : null } };
}

// What shows the focus, where the focused element matches :focus-visible: the
// outline of that element or of its card, the colour behind the outline (the
// page's, or the view's bar over it), and whether the outline keeps clear of
// the picture it may hold.
function focusRing() {
  const [focused, rgb] = [document.activeElement, (colour) => colour.match(/[\d.]+/g).map(Number)];
  const ringed = [focused, focused.closest(".cave")].find((e) => e && getComputedStyle(e).outlineStyle !== "none" &&
    parseFloat(getComputedStyle(e).outlineWidth) >= 2);
  if (!focused.matches(":focus-visible") || !ringed) return null;
  const [style, page, bar] = [getComputedStyle(ringed), rgb(getComputedStyle(document.body).backgroundColor), focused.closest(".view-bar")];
  const [r, g, b, a = 1] = bar ? rgb(getComputedStyle(bar).backgroundColor) : page;
  const picture = ringed.querySelector("img");
  return { ring: rgb(style.outlineColor).slice(0, 3), behind: [r, g, b].map((c, i) => a * c + (1 - a) * page[i]),
           clear: !picture || parseFloat(style.outlineOffset) >= 0 };
}
// The contrast of two colours, as the accessibility guidelines reckon it.
const contrast = (...colours) => {
  const [light, dark] = colours.map((rgb) => rgb.map((c) => (c /= 255) <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4)
    .reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0) + 0.05).sort((a, b) => b - a);
  return light / dark;
};
async function expectRing(tab, when, can) {
  if (!can.keyboardFocus) return;
  for (const scheme of can.media ? ["dark", "light"] : ["the browser's"]) {
    if (can.media) await tab.media(scheme);
    const seen = await tab.eval(focusRing);
    expect(`${when}, ${scheme} scheme`, "the focus shown, clear of the picture, at 3 : 1 or more",
           seen && [seen.clear, contrast(seen.ring, seen.behind) >= 3], [true, true]);
  }
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
  const { game } = tab;
  const [seen, cave, open] = [await tab.eval(look), game.expected.caves[index], k !== undefined];
  const { address, picture: p } = seen;
  expect(when, "the address", address.replace(/.*\//, ""), encodeURIComponent(game.page) + (open ? `#cave-${index + 1}` : ""));
  expect(when, "the view open, modal, and its title", [seen.open, seen.modal, seen.heading],
         open ? [true, true, seen.cards[index].title.replace(/ $/, " Unnamed cave")] : [false, false, null]);
  if (!open || !p) return open || expect(when, "the focus", seen.focus, `cave-${index + 1}`);
  expect(when, "the picture, its text, size and rendering, and the focus", [p.src, p.alt, p.size, p.rendering, seen.focus],
         [game.pictures[index], seen.cards[index].pictures[0][4], PictureSize, "pixelated", "cave-view"]);
  const [[W, H], [left, top, right, bottom], scale] = [p.window, p.box, p.scale * (tab.window.zoom ?? 1)];
  const room = p.side ? [p.bar[2], 0, W, H] : [0, p.bar[3], W, H];
  const over = (r) => r[0] < right && left < r[2] && r[1] < bottom && top < r[3];
  expect(when, "controls outside the window or over the picture", p.controls.filter(([id, r]) =>
    r[0] < -0.01 || r[1] < -0.01 || r[2] > W + 0.01 || r[3] > H + 0.01 || (over(r) && !(id === "view-values" && p.asked)))
    .map(([id]) => id), []);
  expect(when, "the view scrolled", p.scrolled, [0, 0]);
  expect(when, "the values shown", p.panel && [p.panel.values, p.panel.remark, p.asked ? "asked" : "beside"],
         values ? [Object.entries(cave.values), cave.remark, values] : null);
  const panel = p.controls.find(([id, r]) => id === "view-values" && !over(r))?.[1] ?? p.box;
  // Values below the picture are centred with it; beside it, the picture alone is centred up and down.
  const group = [Math.min(left, panel[0]), top, Math.max(right, panel[2]), panel[1] >= bottom ? panel[3] : bottom];
  expect(when, "device pixels off centre in the room", [0, 1].map((i) => { const d = (group[i] - room[i] -
    (room[i + 2] - group[i + 2])) * scale; return Math.abs(d) <= Math.max(2, scale) ? 0 : Math.round(d); }), [0, 0]);
  if (!k) return expect(when, "the picture as wide as the room", Math.round(right - left), Math.round(room[2] - room[0]));
  expect(when, "device pixels per picture pixel, by its box", +((right - left) * scale / PictureSize[0]).toFixed(3), k);
  // Read back from the screen once for each size of window a tab has.
  if ((tab.read ??= new Set()).has(`${W} ${H}`) || p.controls.some(([id, r]) => id === "view-values" && over(r))) return;
  tab.read.add(`${W} ${H}`);
  // The screenshot covers the picture and a CSS pixel around it, on whole
  // device pixels at every scale: its corner and size multiples of 4 CSS pixels.
  const [x, y, across, down] = [left, top, right + 1, bottom + 1].map((css, i) => (i < 2 ? Math.floor((css - 1) / 4) * 4 : Math.ceil(css / 4) * 4));
  const clip = across <= W && down <= H ? { x: Math.max(0, x), y: Math.max(0, y), width: across - Math.max(0, x), height: down - Math.max(0, y) } : undefined;
  const corner = clip ? [clip.x, clip.y] : [0, 0];
  const [shot, clipped] = await tab.shot(clip);
  const pixels = await devicePixels(shot, [left - (clipped ? corner[0] : 0), top - (clipped ? corner[1] : 0), right - left, bottom - top],
                                    scale, path.join(game.folder, game.pictures[index]));
  expect(when, "device pixels per picture pixel, read back", pixels, k);
}

const first = ".cave img";
// axe-core finds no fault, in both schemes where the engine can emulate them.
async function expectAxe(tab, when, can) {
  await tab.eval((source) => document.head.appendChild(document.createElement("script")).append(source), axe.source);
  for (const scheme of can.media ? ["dark", "light"] : ["the browser's"]) {
    if (can.media) await tab.media(scheme);
    const [faults, ink, light] = await tab.eval(async (tags) => [(await axe.run(document, { runOnly: { type: "tag",
      values: tags } })).violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target).join(", ")})`),
      getComputedStyle(document.body).color, matchMedia("(prefers-color-scheme: light)").matches], AxeRules);
    expect(`${when}, ${scheme} scheme`, "axe", faults, []);
    expect(`${when}, ${scheme} scheme`, "light ink", ink.match(/\d+/g).slice(0, 3).reduce((a, b) => a + +b, 0) > 382, !light);
  }
}

// Takes each step (a function of the tab) and judges the view after it.
const walk = async (tab, steps) => {
  for (const [step, when, ...view] of steps) await step(tab).then(() => expectView(tab, when, ...view)); };
const click = (selector, options) => (tab) => tab.click(selector, options);
const press = (...keys) => async (tab) => { for (const key of keys) await tab.key(key); };

// The scenarios, each run on the games `on` picks (by their number of caves,
// or the first game alone): open(window, address) opens a tab on the game.
const firstGame = (game) => game === games[0];
const Scenarios = {
  "the cards": { on: (game) => game.caves <= 20, async run(open, can, { expected, pictures, caves }) {
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
                                    [[pictures[i], pictures[i], ...PictureSize, `Map of ${c.type} ${i + 1}: ${c.name}`]]]));
    if (screenshot && firstGame(tab.game)) await tab.screenshotTo?.(screenshot, true);
    await expectAxe(tab, "the view closed", can);
  } },
  // One tab for the windows of one display scale, resized from one to the next.
  "the view in every window": { on: firstGame, async run(open, can) {
    let tab = null;
    for (const w of Windows.filter((w) => runs(can, w)).sort((a, b) => a.scale - b.scale)) {
      const [when, touch] = [`${w.width} x ${w.height} at ${w.scale}`, w.touch && can.touch];
      if (tab?.window.scale === w.scale && !!tab.window.touch === !!w.touch) await tab.resize(w);
      else tab = await open(w);
      tab.window = w;
      await walk(tab, [[click(first, { touch }), when, 0, w.k, w.beside && "beside"]]);
      if (w === Phone && phoneScreenshot) await tab.screenshotTo?.(phoneScreenshot);
      await walk(tab, [...(w.beside ? [] : [[click("#view-more", { touch }), `${when}, Values`, 0, w.k, "asked"],
        [press("Escape"), `${when}, Values and Escape`, 0, w.k]]), [press("Escape"), `${when}, Escape`, 0]]);
    }
  } },
  "moving between caves, Close and Back": { on: (game) => firstGame(game) || game.caves < 3, async run(open, can, { caves }) {
    const tab = await open(Desktop);
    await walk(tab, [[click(first), "a click", 0, 2, "beside"]]);
    expect("the view", "Previous and Next shown", (await tab.eval(look)).picture.controls.filter(([id]) =>
      /previous|next/.test(id)).length, caves > 1 ? 2 : 0);
    if (firstGame(tab.game)) {
      if (viewScreenshot) await tab.screenshotTo?.(viewScreenshot);
      await expectAxe(tab, "the view open", can);
    }
    const top = await tab.eval(() => scrollY);
    await walk(tab, [...(caves > 1 ? [[click("#view-previous"), "Previous", caves - 1, 2, "beside"],
      [click("#view-next"), "Next", 0, 2, "beside"], [click("#view-next"), "Next", 1, 2, "beside"]] : []),
    [click("#view-close"), "Close", 1 % caves], [click(first), "a click", 0, 2, "beside"],
    [press("ArrowRight"), "ArrowRight", 1 % caves, 2, "beside"], [press("End"), "End", caves - 1, 2, "beside"],
    [press("Home"), "Home", 0, 2, "beside"], [press("ArrowLeft"), "ArrowLeft", caves - 1, 2, "beside"],
    [press("ArrowRight"), "ArrowRight", 0, 2, "beside"]]);
    // A key with a modifier is the browser's or the system's: the view stays.
    for (const modifier of firstGame(tab.game) ? ["Control", "Shift", "Alt", "Meta"] : [])
      for (const key of ["ArrowLeft", "ArrowRight", "Home", "End"]) {
        await tab.key(key, modifier);
        const seen = await tab.eval(look);
        expect(`${modifier} and ${key}`, "the view open, and its title", [seen.open, seen.heading], [true, seen.cards[0].title]);
      }
    await walk(tab, [[(tab) => tab.eval(() => history.back()), "Back", 0]]);
    expect("Back", "the page's scroll position", await tab.eval(() => scrollY), top);
    if (!firstGame(tab.game)) return;
    // A view opened by an index link closes back onto the address before the link.
    await tab.eval(() => { location.hash = "cave-index"; });
    await walk(tab, [[click("nav a"), "an index link", 0, 2, "beside"]]);
    await tab.key("Escape");
    let seen = null;
    for (let tries = 0; tries < 20 && (!seen || seen.open || seen.address.endsWith("#cave-1")); tries++) seen = await wait(100).then(() => tab.eval(look));
    expect("an index link and Escape", "the view open, and the address", [seen.open, seen.address.replace(/.*#/, "#")], [false, "#cave-index"]);
  } },
  "keyboard, address and a window that shrinks": { on: firstGame, async run(open, can, { caves }) {
    const keyboard = await open(Windows[9]);
    await walk(keyboard, [[press("Tab", "Enter"), "Tab and Enter", 0, 1]]);
    await expectRing(keyboard, "Tab and Enter", can);
    await walk(keyboard, [[press("Escape"), "Tab, Enter and Escape", 0]]);
    await expectRing(keyboard, "Tab, Enter and Escape", can);
    await walk(await open(Desktop, `#cave-${caves}`), [[async () => {}, "an address", caves - 1, 2, "beside"],
      [press("Escape"), "an address, Escape", caves - 1], [click(first), "a click", 0, 2, "beside"],
      [(tab) => tab.resize(OddDesktop), "shrunk to 1367 x 769", 0, 2]]);
  } },
  // An address that names no cave leaves the view closed, or closes it.
  "addresses that name no cave": { on: firstGame, async run(open, can, { caves }) {
    const tab = await open(Desktop, "#cave-0");
    for (const hash of ["#cave-0", `#cave-${caves + 1}`, "#cave-x", "#cave-", "#Cave-1", "#cave-2", `#cave-${caves + 1}`]) {
      await tab.eval((hash) => { location.hash = hash; return new Promise((resolve) => requestAnimationFrame(resolve)); }, hash);
      const seen = await tab.eval(look);
      expect(`the address ${hash}`, "the view open", [seen.open, seen.heading], hash === "#cave-2" ? [true, seen.cards[1].title] : [false, null]);
    }
  } },
  // Every cave's whole name is in the index, at every window of the table; the
  // first card's picture starts on the first screen, and the index, unfolded
  // where folded, shows a link to every cave.
  "the index in every window": { on: (game) => firstGame(game) || game.caves > 20, async run(open, can, { expected }) {
    let tab = null;
    for (const w of Windows.filter((w, i) => runs(can, w) && Windows.findIndex((o) => o.width === w.width && o.height === w.height) === i)) {
      const window = { ...w, scale: 1 };
      if (tab) await tab.resize(window);
      tab = tab ?? await open(window);
      const seen = await tab.eval(() => {
        const nav = document.querySelector("nav").getBoundingClientRect();
        const cut = Array.from(document.querySelectorAll("nav a"), (link) => { const r = link.getBoundingClientRect();
          return link.checkVisibility() && (link.scrollWidth > link.clientWidth + 1 || r.left < nav.left - 1 || r.right > nav.right + 1) && link.textContent; });
        return { cut: cut.filter(Boolean), first: document.querySelector(".cave img").getBoundingClientRect().top + scrollY,
                 height: innerHeight, folded: !!document.querySelector("nav details:not([open])") };
      });
      expect(`${w.width} x ${w.height}`, "names cut in the index", seen.cut, []);
      if (w.width !== 1366) continue;
      expect(`${w.width} x ${w.height}`, "the first card's picture on the first screen", seen.first < seen.height);
      if (seen.folded) await tab.click("nav summary");
      const shown = await tab.eval(() => Array.from(document.querySelectorAll("nav a"), (link) => link.checkVisibility() &&
        [link.getAttribute("href").replace(/.*#/, "#"), link.textContent]).filter(Boolean));
      expect(`${w.width} x ${w.height}`, "the index shown", shown, expected.caves.map((c, i) => [`#cave-${i + 1}`, `${i + 1} ${c.name || "Unnamed cave"}`]));
      // Halfway down, behind the cards, the page has its own colour: the header's glow stays up there.
      const [gap, page] = await tab.eval(() => {
        document.querySelector("main").style.visibility = "hidden";
        scrollTo(0, document.documentElement.scrollHeight / 2 - innerHeight / 2);
        return [{ x: innerWidth >> 1, y: innerHeight >> 1, width: 4, height: 4 }, getComputedStyle(document.body).backgroundColor.match(/\d+/g).map(Number)];
      });
      const [png, clipped] = await tab.shot(gap);
      const { data } = PNG.sync.read(Buffer.from(png, "base64"));
      if (clipped) expect(`${w.width} x ${w.height}`, "the page's colour halfway down", Array.from(data.subarray(0, 3)), page);
      await tab.eval(() => document.querySelector("main").style.removeProperty("visibility"));
    }
  } },
  // Printed with the view closed, the page gives its title and every card,
  // each whole on one sheet (its picture, name and values), and no index, no
  // hint and no blank sheet; with the view open, the cave shown alone on one
  // sheet. Every printed text is at least 4.5 : 1 against white paper.
  "printed": { on: (game) => game.caves <= 20, async run(open, can, { expected, caves }) {
    if (!can.print) return;
    for (const address of ["", "#cave-1"]) {
      const when = address ? "printed with the view open" : "printed";
      const tab = await open({ ...Desktop, print: true }, address); // printed once its pictures are in
      await tab.eval(() => Promise.all(Array.from(document.images, (image) => (image.loading = "eager") && image.decode().catch(() => {}))));
      const { sheets } = await printed(await tab.print());
      const on = (text) => sheets.map((sheet) => sheet.texts.filter((t) => t.text.trim() === text).length);
      const names = expected.caves.map((c) => on(c.name || "Unnamed cave"));
      const faint = sheets.flatMap((sheet) => sheet.texts).filter((t) => !t.color || contrast(t.color, [255, 255, 255]) < 4.5);
      expect(when, "texts fainter than 4.5 : 1 on paper", faint.map((t) => t.text), []);
      expect(when, "blank sheets", sheets.filter((sheet) => !sheet.texts.length && !sheet.images.length).length, 0);
      expect(when, "the index and the hint printed", [...on("Every cave"), ...on("Select a map to see it at full size.")].some(Boolean), false);
      if (address) {
        expect(when, "sheets, pictures and the caves named on them", [sheets.length, sheets[0].images.length, names.map((n) => n[0] > 0)],
               [1, 1, expected.caves.map((c, i) => i === 0 || c.name === expected.caves[0].name)]);
        continue;
      }
      // A card is whole where its sheet holds as many pictures as card names and value tables.
      expect(when, "pictures, names and value tables on each sheet", sheets.map((sheet, n) =>
        [sheet.images.length, names.filter((counts) => counts[n]).length, on("Diamonds needed")[n]]),
        sheets.map((sheet) => Array(3).fill(sheet.images.length)));
      expect(when, "pictures and names printed", [sheets.reduce((sum, sheet) => sum + sheet.images.length, 0), names.filter((n) => n.some(Boolean)).length], [caves, caves]);
    }
  } },
  // With page zoom, where the engine has it, the view still puts each picture
  // pixel on k x k device pixels.
  "page zoom": { on: firstGame, async run(open, can) {
    for (const w of can.zoom ? ZoomedWindows : [])
      await walk(await open(w, "#cave-1"), [[async () => {}, `${w.width} x ${w.height} at ${w.scale}, zoom ${w.zoom}`, 0, w.k, w.beside && "beside"]]);
  } },
  "clicks with a modifier key": { on: firstGame, async run(open) {
    const tab = await open(Desktop);
    // The browser's own way with such a click (a new tab, a download) is
    // stopped after the page has had its say.
    await tab.eval(() => addEventListener("click", (event) => { window.taken = event.defaultPrevented; event.preventDefault(); }));
    for (const modifier of ["Control", "Shift", "Alt", "Meta", ""]) {
      await tab.click(first, { modifier });
      const [taken, seen] = [await tab.eval(() => window.taken), await tab.eval(look)];
      expect(`a click with ${modifier || "no modifier key"}`, "the view opened", [taken, seen.open], [!modifier, !modifier]);
    }
  } },
  "swipes": { on: (game) => game.caves === 2, async run(open, can, { caves }) {
    if (can.touch) await walk(await open(Phone), [[click(first, { touch: true }), "a tap", 0, 0],
      [(tab) => tab.swipe(-150), "swiped left", 1 % caves, 0], [(tab) => tab.swipe(150), "swiped right", 0, 0]]);
  } },
};

const inCI = /^(true|1|yes|on)$/i.test(process.env.CI ?? "");
let notChecked = "";
if (engineName === "Chromium") {
  const validator = new HtmlValidate({ extends: ["html-validate:recommended"] });
  for (const game of games) {
    const report = await validator.validateFile(path.join(game.folder, game.page));
    for (const m of report.results.flatMap((result) => result.messages)) expect(`${game.page}:${m.line}`, m.ruleId, m.message, "");
  }
}
const instance = await Engines[engineName]().catch((error) => {
  const why = `${engineName}: it could not start: ${error.message.split("\n")[0]}`;
  return inCI ? failures.push(why) && null : (notChecked = why) && null;
});
for (const [title, scenario] of instance ? Object.entries(Scenarios) : []) {
  for (const game of games.filter(scenario.on)) {
    where = `${engineName}, ${game.page}: `;
    const opened = [];
    const open = async (window, address = "") => {
      const tab = await instance.open(window, pageUrl(game) + address);
      return opened[opened.push(Object.assign(tab, { game, window })) - 1];
    };
    await scenario.run(open, instance.can, game).catch((error) => expect(title, "the check stopped", error.message.split("\n")[0], null));
    for (const tab of opened) await tab.close();
  }
  if (failures.length) break;
}
await instance?.close();
server.close();
where = "";
for (const [key, count] of loads) expect(key, "loaded", count, 1);
console.log([...failures.map((f) => `FAIL: ${f}\n`), ...(notChecked ? [`NOT CHECKED: ${notChecked}\n`] : [])].join(""));
console.log(`${engineName}: ${games.map((g) => `${g.page} (${g.caves} cave(s))`).join(", ")}: ${notChecked ? "not checked" : `${failures.length} problem(s)`}`);
process.exitCode = failures.length ? 1 : notChecked ? 77 : 0;
