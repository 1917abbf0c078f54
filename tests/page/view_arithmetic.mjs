// Checks the full-size view's arithmetic, `arrange` in the page template's
// script, apart from any browser: over a dense grid of windows, display
// scales, bars and values panels, the picture fits the room its bar leaves, at
// the largest whole number of device pixels per picture pixel that fits in
// either layout (else as large as fits), on whole device pixels, centred with
// the values, and nothing lies over it but values the user asked for, which
// keep off the window's edges.
//
//   node view_arithmetic.mjs TEMPLATE
//
// Exit status: 0 when every window passed, else 1 (the first faults printed).
import { readFileSync } from "node:fs";

const [across, down] = [648, 360];
const source = readFileSync(process.argv[2], "utf8");
const start = source.indexOf("function arrange(");
let [end, depth] = [source.indexOf("{", start), 0];
do depth += { "{": 1, "}": -1 }[source[end++]] ?? 0; while (depth > 0);
const arrange = new Function("pictureWidth", "pictureHeight", `${source.slice(start, end)}\nreturn arrange;`)(across, down);

// The bar above the picture takes one row of controls in a wide window and
// two in a narrow one; beside it, it is 11rem wide. The values take about
// 16rem by 20rem, as wide as they are asked to be and never taller than asked.
const bars = (width, ratio) => [[width, width < 560 ? 96 : 48], [176, 0]].map((box) => box.map((css) => Math.ceil(css * ratio)));
const panels = (ratio) => [null, ...[[256, 330], [256, 60]].map(([wide, tall]) => (width, maxHeight) => {
  const w = width ?? wide * ratio;
  return [w, Math.min(maxHeight ?? Infinity, Math.ceil((wide * tall * ratio * ratio) / w))];
})];
const overlaps = (a, b) => a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];

const faults = [];
let windows = 0;
for (const ratio of [1, 1.1, 1.25, 1.5, 1.75, 2, 2.2, 2.5, 3])
  for (let cssWidth = 320; cssWidth <= 2600; cssWidth += 23)
    for (let cssHeight = 300; cssHeight <= 1500; cssHeight += 29)
      for (const panel of panels(ratio))
        for (const wanted of [false, true]) {
          windows++;
          const m = { ratio, width: Math.floor(cssWidth * ratio), height: Math.floor(cssHeight * ratio), bars: bars(cssWidth, ratio) };
          const p = arrange(m, panel, wanted);
          const [barWidth, barHeight] = m.bars[+p.side];
          const room = p.side ? [barWidth, 0, m.width, m.height] : [0, barHeight, m.width, m.height];
          const picture = [p.x, p.y, p.x + p.across, p.y + p.down];
          const k = p.across / across;
          // The whole numbers of device pixels, and the scale, the room of each layout holds.
          const rooms = m.bars.map(([w, h], side) => [m.width - (side ? w : 0), m.height - (side ? 0 : h)]);
          const best = Math.max(...rooms.map(([w, h]) => Math.floor(Math.min(w / across, h / down) + 1e-9)));
          const most = Math.max(...rooms.map(([w, h]) => Math.min(w / across, h / down)));
          const whole = best >= 2 || (best === 1 && ratio < 2);
          const values = panel && p.shown && [p.values.left, p.values.top, ...panel(...p.values.size)];
          const box = values && [values[0], values[1], values[0] + values[2], values[1] + values[3]];
          // Values beside the picture or below it are centred with it; over it, they are not.
          const group = !box || overlaps(box, picture) ? picture : box[0] >= picture[2]
            ? [picture[0], picture[1], box[2], picture[3]] : [Math.min(picture[0], box[0]), picture[1], Math.max(picture[2], box[2]), box[3]];
          const problems = [
            [!picture.every(Number.isInteger), "off the device pixel grid"],
            [picture[0] < room[0] || picture[1] < room[1] || picture[2] > room[2] || picture[3] > room[3], "outside its room"],
            [whole && (k !== best || p.down !== best * down), `k ${k}, where ${best} fits`],
            [!whole && Math.max(k, p.down / down) < most - 2 / down, `scale ${k}, where ${most} fits`],
            [p.shown !== (!!panel && (wanted || !p.button)), "values shown or hidden against the button"],
            [!!panel !== (p.shown || p.button), "values neither shown nor offered"],
            [box && (box[0] < 8 * ratio || box[2] > m.width - 8 * ratio || box[3] > m.height + 1 - (p.button ? 8 * ratio : 0) ||
                     box[1] < (p.button ? room[1] + 8 * ratio : 0)), "values outside the window or on its edge"],
            [box && !p.button && overlaps(box, picture), "values over the picture unasked"],
            [p.button && room[2] - room[0] - p.across >= panel()[0] + 32 * ratio && panel()[1] <= room[3] - room[1],
             "values not beside the picture where they fit"],
            [box && overlaps(box, p.side ? [0, 0, barWidth, m.height] : [0, 0, m.width, barHeight]), "values over the bar"],
            [[0, 1].some((i) => Math.abs(group[i] - room[i] - (room[i + 2] - group[i + 2])) > 2), "off centre"]];
          for (const [fault, what] of problems)
            if (fault) faults.push(`${cssWidth} x ${cssHeight} at ${ratio}, ${panel ? "values" : "no values"}` +
                                   `${wanted ? " asked for" : ""}: ${what} (${JSON.stringify(p)})`);
        }
for (const fault of faults.slice(0, 20)) console.log(`FAIL: ${fault}`);
console.log(`the view's arithmetic: ${windows} windows, ${faults.length} problem(s)`);
process.exitCode = faults.length === 0 && windows > 0 ? 0 : 1;
