// Draws the gradient bar and the coloured preview. The preview is built from
// text nodes and elements whose colour is set through the style object, so
// the user's text is never parsed as markup.
import {boardColours, contrastRatio, hexOf, packedOf, relativeLuminance} from './gradients.js';

// One row of pixels written at once and copied down: drawing each column as
// a rectangle of its own made the first answer a long task on a slow phone.
// A pixel is red, green, blue and alpha bytes, which a packed colour with
// alpha on top is in the little-endian order every browser's machine has.
export function drawBar(canvas, colours) {
  const {width, height} = canvas;
  const image = new ImageData(width, height);
  const pixels = new Uint32Array(image.data.buffer);
  for (let x = 0; x < width; ++x) {
    pixels[x] = (0xff000000 | packedOf(colours[Math.min(colours.length - 1, Math.floor(x * colours.length / width))])) >>> 0;
  }
  for (let y = 1; y < height; ++y) {
    pixels.copyWithin(y * width, 0, width);
  }
  canvas.getContext('2d').putImageData(image, 0, 0);
}

export function boardColour(settings) {
  return settings.board === 'custom' ? settings.boardColour : boardColours[settings.board];
}

// Chunks are drawn a batch at a time, the next batch when the end of what
// is drawn comes within a screen of the reader. An empty marker after the
// last batch tells when: the browser reports it coming into reach after it
// has laid the page out anyway, so nothing is measured in between and a
// long preview never blocks the page.
const batch = 100;
const drawn = new WeakMap();

function contrastOf(colour, boardLight, ratios) {
  let ratio = ratios.get(colour);
  if (ratio === undefined) {
    const light = relativeLuminance(hexOf(colour)) + 0.05;
    ratio = Math.max(light, boardLight) / Math.min(light, boardLight);
    ratios.set(colour, ratio);
  }
  return ratio;
}

function drawBatch(container) {
  const state = drawn.get(container);
  const fragment = document.createDocumentFragment();
  const {text, chunks} = state;
  const end = Math.min(chunks.length, state.at + 3 * batch);
  for (let k = state.at; k + 2 < end; k += 3) {
    const piece = text.substr(chunks[k], chunks[k + 1]);
    if (chunks[k + 2] < 0) {
      fragment.append(document.createTextNode(piece));
      continue;
    }
    const span = document.createElement('span');
    span.style.color = hexOf(chunks[k + 2]);
    span.append(document.createTextNode(piece));
    fragment.append(span);
  }
  state.at = end;
  container.append(fragment);
  watchEnd(container, state);
}

// A marker observed anew is reported at once, in reach or not: each batch
// moves it to the new end.
function watchEnd(container, state) {
  state.observer ??= new IntersectionObserver((entries) => {
    if (drawn.get(container) === state && entries.some((entry) => entry.isIntersecting)) {
      drawBatch(container);
    }
  }, {root: container, rootMargin: '0px 0px 100% 0px'});
  state.observer.disconnect();
  if (state.at < state.chunks.length) {
    container.append(state.end);
    state.observer.observe(state.end);
  } else {
    state.end.remove();
  }
}

// chunks holds offset, length and the packed colour (or -1 for a bare
// chunk) per chunk, as offsets into text. Returns how many coloured chunks read below
// 3:1 against the board, and the lowest ratio.
export function showPreview(container, text, chunks, board) {
  const ratios = new Map();
  const boardLight = relativeLuminance(board) + 0.05;
  let low = 0;
  let lowest = 21;
  for (let k = 0; k + 2 < chunks.length; k += 3) {
    // Spaces and line breaks show no colour, whatever their contrast. (A
    // regular expression here would copy the whole text for every chunk.)
    if (chunks[k + 2] >= 0 && contrastOf(chunks[k + 2], boardLight, ratios) < 3 &&
        text.substr(chunks[k], chunks[k + 1]).trim() !== '') {
      low += 1;
      lowest = Math.min(lowest, ratios.get(chunks[k + 2]));
    }
  }
  container.style.backgroundColor = board;
  container.style.color = contrastRatio(board, '#000000') >= contrastRatio(board, '#FFFFFF') ? '#000000' : '#FFFFFF';
  container.replaceChildren();
  drawn.get(container)?.observer?.disconnect();
  drawn.set(container, {text, chunks, at: 0, end: document.createElement('span'), observer: null});
  drawBatch(container);
  return {low, lowest};
}
