// What a printed page holds: printed(pdf) reads a PDF (a Buffer, or the latin1
// text an engine's print gives) and returns { sheets, size }: for each sheet
// its text, each piece with its box and fill colour ([r, g, b], 0 to 255), and
// its pictures, each with the box it is drawn in; size is the first sheet's
// [width, height]. Boxes are { x, y, width, height } in points, y from the top
// of the sheet. A text's box runs from its baseline up by its font size.
import { getDocument, OPS, Util } from "pdfjs-dist/legacy/build/pdf.mjs";

const Pictures = new Set([OPS.paintImageXObject, OPS.paintInlineImageXObject, OPS.paintImageMaskXObject]);
const box = (rect, m) => {
  const [left, top, right, bottom] = Util.getAxialAlignedBoundingBox(rect, m);
  return { x: left, y: top, width: right - left, height: bottom - top };
};

// The pictures and the colour of each drawn character, in drawing order:
// follows the transform through save and restore, and forms drawn inside.
function drawn({ fnArray, argsArray }, sheet) {
  const pictures = [], colours = [], saved = [];
  let state = { m: sheet, colour: [0, 0, 0] };
  fnArray.forEach((op, i) => {
    const args = argsArray[i];
    if (op === OPS.save || op === OPS.paintFormXObjectBegin) saved.push(state);
    if (op === OPS.restore || op === OPS.paintFormXObjectEnd) state = saved.pop() ?? state;
    if (op === OPS.transform) state = { ...state, m: Util.transform(state.m, args) };
    if (op === OPS.paintFormXObjectBegin && args[0]) state = { ...state, m: Util.transform(state.m, args[0]) };
    if (op === OPS.setFillRGBColor) state = { ...state, colour: Array.from(args) };
    if (Pictures.has(op)) pictures.push(box([0, 0, 1, 1], state.m));
    if (op === OPS.showText)
      for (const glyph of args[0]) for (const c of glyph?.unicode?.replace(/\s/g, "") ?? "") colours.push([c, state.colour]);
  });
  return { pictures, colours };
}

export async function printed(pdf) {
  const data = new Uint8Array(typeof pdf === "string" ? Buffer.from(pdf, "latin1") : pdf);
  const document = await getDocument({ data, verbosity: 0 }).promise;
  const sheets = [];
  let size;
  for (let n = 1; n <= document.numPages; n++) {
    const page = await document.getPage(n);
    const { transform: sheet, width, height } = page.getViewport({ scale: 1 });
    size ??= [width, height];
    const { pictures, colours } = drawn(await page.getOperatorList(), sheet);
    const { items } = await page.getTextContent({ disableNormalization: true });
    // The text's characters come in the order they were drawn, so the n-th
    // one that is not blank takes the n-th drawn character's colour (left
    // out where the two do not agree).
    let drawnBefore = 0;
    const texts = items.filter((item) => item.str?.trim()).map(({ str, transform: [, , , , x, y], width, height }) => {
      const [c, colour] = colours[drawnBefore] ?? [];
      drawnBefore += str.replace(/\s/g, "").length;
      return { text: str, ...box([x, y, x + width, y + height], sheet), ...(c === str.trim()[0] && { color: colour }) };
    });
    sheets.push({ texts, images: pictures });
  }
  await document.destroy();
  return { sheets, size };
}
