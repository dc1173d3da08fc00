// Draws the gradient bar and the coloured preview. The preview is built from
// text nodes and elements whose colour is set through the style object, so
// the user's text is never parsed as markup.
import {boardColours, contrastRatio, hexOf, packedOf, relativeLuminance} from '../shared/gradients.js';

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
//
// A new answer (every pause in typing brings one) redraws what is drawn in
// place: a chunk's node is kept and only a colour or a piece of text that
// differs is written. Typing at the end of a text changes every colour but
// hardly any text, and a changed colour is only painted, where new nodes
// would all be laid out again.
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

// Chunk n as drawn: a bare text node, or a span coloured through its style.
function newNode(piece, colour) {
  const text = document.createTextNode(piece);
  if (colour < 0) {
    return text;
  }
  const span = document.createElement('span');
  span.style.color = hexOf(colour);
  span.append(text);
  return span;
}

// The node drawn for chunk n, brought up to date; false when a node of the
// other kind is there and has to be replaced.
function updateNode(state, n, piece, colour) {
  const old = state.colours[n];
  if ((old < 0) !== (colour < 0)) {
    return false;
  }
  const node = state.nodes[n];
  const text = colour < 0 ? node : node.firstChild;
  if (state.pieces[n] !== piece) {
    text.data = piece;
  }
  if (old !== colour) {
    node.style.color = hexOf(colour);
  }
  return true;
}

// Draws chunks n up to end (chunk numbers), reusing the nodes already there.
function drawChunks(container, state, end) {
  const {text, chunks, nodes} = state;
  const fragment = document.createDocumentFragment();
  for (let n = state.at; n < end; ++n) {
    const piece = text.substr(chunks[3 * n], chunks[3 * n + 1]);
    const colour = chunks[3 * n + 2];
    if (n < nodes.length && updateNode(state, n, piece, colour)) {
      state.pieces[n] = piece;
      state.colours[n] = colour;
      continue;
    }
    const node = newNode(piece, colour);
    if (n < nodes.length) {
      nodes[n].replaceWith(node);
      nodes[n] = node;
    } else {
      fragment.append(node);
      nodes.push(node);
    }
    state.pieces[n] = piece;
    state.colours[n] = colour;
  }
  state.at = end;
  container.insertBefore(fragment, nodes.length > end ? nodes[end] : null);
}

function drawBatch(container) {
  const state = drawn.get(container);
  drawChunks(container, state, Math.min(state.chunks.length / 3, state.at + batch));
  watchEnd(container, state);
}

// A marker observed anew is reported at once, in reach or not: each batch
// moves it to the new end.
function watchEnd(container, state) {
  state.observer ??= new IntersectionObserver((entries) => {
    if (entries.some((entry) => entry.isIntersecting)) {
      drawBatch(container);
    }
  }, {root: container, rootMargin: '0px 0px 100% 0px'});
  state.observer.disconnect();
  if (state.at < state.chunks.length / 3) {
    container.append(state.end);
    state.observer.observe(state.end);
  } else {
    state.end.remove();
  }
}

// How many coloured chunks read below 3:1 against the board, and the lowest ratio.
function lowContrast(text, chunks, board) {
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
  return {low, lowest};
}

// One state per container, kept from answer to answer: the nodes drawn,
// with the piece and colour each shows. As many chunks as were drawn are
// redrawn (at least a batch), and the nodes past them go.
function redraw(container, text, chunks) {
  let state = drawn.get(container);
  if (!state) {
    const end = Object.assign(document.createElement('span'), {className: 'preview-end'});
    state = {nodes: [], pieces: [], colours: [], at: 0, end, observer: null};
    drawn.set(container, state);
  }
  const count = Math.min(chunks.length / 3, Math.max(batch, state.at));
  Object.assign(state, {text, chunks, at: 0});
  drawChunks(container, state, count);
  for (const node of state.nodes.splice(count)) {
    node.remove();
  }
  state.pieces.length = count;
  state.colours.length = count;
  watchEnd(container, state);
}

// chunks holds offset, length and the packed colour (or -1 for a bare
// chunk) per chunk, as offsets into text. Returns how many coloured chunks read below
// 3:1 against the board, and the lowest ratio.
export function showPreview(container, text, chunks, board) {
  container.style.backgroundColor = board;
  container.style.color = contrastRatio(board, '#000000') >= contrastRatio(board, '#FFFFFF') ? '#000000' : '#FFFFFF';
  redraw(container, text, chunks);
  return lowContrast(text, chunks, board);
}

// The drawn chunks [first, end) that lie in view: in the preview's scrolled
// box and in the window. Chunks run down the box in order, so two binary
// searches over their boxes find them; layout is clean between frames, so
// reading the boxes costs no new layout.
const range = document.createRange();

function boxOf(node) {
  if (node.nodeType === Node.ELEMENT_NODE) {
    return node.getBoundingClientRect();
  }
  range.selectNodeContents(node);
  return range.getBoundingClientRect();
}

// The first of nodes [low, high) whose box passes test, or high.
function firstWhere(nodes, low, high, test) {
  while (low < high) {
    const middle = (low + high) >> 1;
    if (test(boxOf(nodes[middle]))) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

function chunksInView(container, state) {
  const box = container.getBoundingClientRect();
  const top = Math.max(box.top, 0);
  const bottom = Math.min(box.bottom, window.innerHeight);
  if (bottom <= top) {
    return [0, 0];
  }
  const first = firstWhere(state.nodes, 0, state.at, (b) => b.bottom >= top);
  return [first, firstWhere(state.nodes, first, state.at, (b) => b.top > bottom)];
}

// Shows another frame of a moving gradient: colours holds a colour per chunk
// of the last answer's preview (-1 for a bare one). Only the chunks in view
// are written, and only those that change: restyling every chunk of a long
// text took longer than a frame, and a chunk scrolled into view catches up
// at the next frame.
export function recolourPreview(container, colours) {
  const state = drawn.get(container);
  if (!state) {
    return;
  }
  const [first, end] = chunksInView(container, state);
  for (let n = first; n < end; ++n) {
    const colour = colours[n];
    const old = state.colours[n];
    if (colour !== old && colour >= 0 && old >= 0) {
      state.nodes[n].style.color = hexOf(colour);
      state.colours[n] = colour;
    }
  }
}
