// The three engines of the page checks behind one adapter: open(window,
// address) gives a tab that evaluates a function in the page, clicks (with a
// modifier key, or by touch), presses keys (with a modifier key), swipes, resizes, takes a
// screenshot ([base64 PNG, whether it is clipped to the part of the window
// asked for, in CSS pixels]) and prints (a PDF, as latin1 text, where the engine
// can).
//
// Chromium at GROTTOPRINT_CHROMIUM and Firefox at GROTTOPRINT_FIREFOX are
// driven by puppeteer-core, WebKit through WebKitWebDriver under xvfb-run.
import { spawn } from "node:child_process";

import puppeteer from "puppeteer-core";

import { webkitGtk } from "./webkit_gtk.mjs";

const MiniBrowser = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
const MiniBrowserBar = 38; // the height of its toolbar above the page, in CSS pixels
export const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function puppeteerEngine(browser, executablePath, args) {
  const instance = await puppeteer.launch({ browser, executablePath, args, headless: true });
  return { close: () => instance.close(), can: { print: true, media: browser === "chrome", touch: true, keyboardFocus: true },
    async open(window, address) {
      const page = await instance.newPage();
      const size = (w) => ({ width: w.width, height: w.height, deviceScaleFactor: w.scale, isMobile: !!w.touch, hasTouch: !!w.touch });
      await page.setViewport(size(window));
      await page.goto(address);
      return { eval: (fn, ...values) => page.evaluate(fn, ...values), key: async (key, modifier) => {
          for (const step of [modifier && (() => page.keyboard.down(modifier)), () => page.keyboard.press(key),
                              modifier && (() => page.keyboard.up(modifier))]) await step?.();
        },
        resize: (w) => page.setViewport(size(w)), close: () => page.close(),
        async shot(clip) { // the clip is in the page's coordinates, which move as it scrolls
          const [x, y] = clip ? await page.evaluate(() => [scrollX, scrollY]) : [];
          const whole = Number.isInteger(x) && Number.isInteger(y);
          return [await page.screenshot({ encoding: "base64", optimizeForSpeed: browser === "chrome", captureBeyondViewport: false,
                                          clip: whole ? { ...clip, x: clip.x + x, y: clip.y + y } : undefined }), whole];
        },
        screenshotTo: browser === "chrome" ? (file, fullPage) => page.screenshot({ path: file, fullPage }) : undefined,
        print: async () => Buffer.from(await page.pdf({ format: "letter" })).toString("latin1"),
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
  return { can: { media: false, touch: false, scale: (s) => s % 1 === 0, narrow: false },
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
      return { eval: evaluate, resize, close: async () => {}, shot: async () => [await session("GET", "/screenshot"), false],
        key: (name, modifier) => act({ type: "key", id: "k", actions: [modifier, name, name, modifier].filter(Boolean)
          .map((key, i, all) => ({ type: i < all.length / 2 ? "keyDown" : "keyUp", value: Keys[key] })) }),
        async click(selector, { modifier } = {}) {
          const element = await session("POST", "/element", { using: "css selector", value: selector });
          await session("POST", "/execute/sync", { script: "arguments[0].scrollIntoView({ block: 'center' })", args: [element] });
          await act(keys(modifier ? [modifier] : [], 2), { type: "pointer", id: "p", parameters: { pointerType: "mouse" },
            actions: [{ type: "pointerMove", origin: element, x: 0, y: 0 }, { type: "pointerDown", button: 0 },
                      { type: "pointerUp", button: 0 }, { type: "pause" }] });
        } };
    } };
}
// WebKit takes clicks and keys through WebKitWebDriver; a window that asks
// for page zoom or print goes to a bare WebKitGTK view instead. Neither moves
// the focus as the user's keys do: it never matches :focus-visible here.
async function webkit() {
  const [driver, view] = await Promise.all([webkitEngine(), webkitGtk()]);
  return { can: { ...driver.can, print: true, zoom: true },
    close: () => Promise.all([driver.close(), view.close()]),
    async open(window, address) {
      if (!window.zoom && !window.print) return driver.open(window, address);
      const tab = await view.open(window, address);
      return { ...tab, shot: async () => [await tab.shot(), false] };
    } };
}
export const Engines = {
  Chromium: () => puppeteerEngine("chrome", process.env.GROTTOPRINT_CHROMIUM, ["--disable-gpu", "--no-sandbox"]),
  Firefox: () => puppeteerEngine("firefox", process.env.GROTTOPRINT_FIREFOX, []), WebKit: webkit };
