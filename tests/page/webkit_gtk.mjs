// WebKit as a bare WebKitGTK view (webkit_gtk.py), for what WebKitWebDriver
// cannot do: page zoom and print. One view under xvfb-run for each display
// scale (GDK_SCALE takes whole numbers only), started when first asked for;
// each tab loads its address in it anew. A window is { width, height, scale,
// zoom }: the view's size in CSS pixels at zoom 1, so the page sees width /
// zoom CSS pixels across and the screen holds width x scale device pixels.
import { spawn } from "node:child_process";
import { mkdtemp, readFile, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { createInterface } from "node:readline";

const Python = "/usr/bin/python3"; // the system's, which has gi
const Script = new URL("webkit_gtk.py", import.meta.url).pathname;

// One view: send(command) answers with the command's value, or throws its error.
function start(scale) {
  const child = spawn("xvfb-run", ["-a", "-s", "-screen 0 4200x3400x24", Python, Script],
                      { env: { ...process.env, GDK_SCALE: String(scale) }, detached: true, stdio: ["pipe", "pipe", "inherit"] });
  const waiting = [];
  createInterface({ input: child.stdout }).on("line", (line) => {
    const { value, error } = JSON.parse(line);
    const { resolve, reject } = waiting.shift();
    return error === undefined ? resolve(value) : reject(new Error(`WebKitGTK: ${error}`));
  });
  child.on("exit", () => waiting.splice(0).forEach(({ reject }) => reject(new Error("WebKitGTK: the view ended"))));
  return { child, send: (command) => new Promise((resolve, reject) => {
    waiting.push({ resolve, reject });
    child.stdin.write(`${JSON.stringify(command)}\n`);
  }) };
}

export async function webkitGtk() {
  const views = new Map();
  const folder = await mkdtemp(path.join(tmpdir(), "webkit-gtk-"));
  let prints = 0;
  return { can: { print: true, zoom: true, scale: (s) => s % 1 === 0 },
    async close() {
      for (const { child } of views.values()) child.stdin.end();
      await Promise.all([...views.values()].map(({ child }) => child.exitCode ?? new Promise((done) => child.once("exit", done))));
      await rm(folder, { recursive: true, force: true });
    },
    async open(window, address) {
      const { send } = views.get(window.scale) ?? views.set(window.scale, start(window.scale)).get(window.scale);
      await send({ op: "open", url: address, width: window.width, height: window.height, zoom: window.zoom ?? 1 });
      return { eval: (fn, ...values) => send({ op: "eval", script: String(fn), args: values }),
        shot: () => send({ op: "snapshot" }), close: async () => {},
        async print() {
          const file = path.join(folder, `${++prints}.pdf`);
          await send({ op: "print", path: file });
          return [(await readFile(file)).toString("latin1"), await rm(file)][0];
        } };
    } };
}
