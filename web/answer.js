// One conversion request answered, in the worker or (for the single file)
// on the page: {id, settings, text, headUnits} gets {id, ...result}. A long
// text's markup is never built whole: the core writes it in pieces, each
// kept as UTF-8 in a Blob (which the browser may hold outside the page's
// memory), and the answer comes in two messages: the counts, the preview and
// the markup's first headUnits code units as soon as its first piece is
// written, then {id, blob} with the whole markup.
import {convertMeasured} from './measure.js';

// Texts from this many code units on are answered in pieces.
export const piecesFrom = 200000;
const pieceUnits = 1 << 20;

export function answerRequest(converter, {id, settings, text, headUnits}, post) {
  if (text.length < piecesFrom) {
    const result = convertMeasured(converter, settings, text);
    post({id, ...result}, [result.markup.buffer]);
    return;
  }
  const decoder = new TextDecoder('utf-16le');
  const encoder = new TextEncoder();
  const parts = [];
  let planned = null;
  let head = null;
  const sendHead = () => {
    head ??= new Uint16Array(0);
    post({id, ...planned, markup: null, head}, [head.buffer]);
  };
  const pieces = {
    units: pieceUnits,
    planned(result) {
      planned = result;
    },
    take(piece) {
      if (head === null) {
        head = piece.slice(0, headUnits);
        sendHead();
      }
      // A surrogate pair cut between two pieces is joined by the streaming decoder.
      parts.push(new Blob([encoder.encode(decoder.decode(piece, {stream: true}))]));
    },
  };
  const result = convertMeasured(converter, settings, text, pieces);
  planned ??= result;
  if (head === null) {
    sendHead();
  }
  post({id, blob: new Blob(parts, {type: 'text/plain;charset=utf-8'})});
}
