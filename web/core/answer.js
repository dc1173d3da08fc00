// One conversion request answered, in the worker or (for the single file)
// on the page: {id, settings, text, headBytes} gets {id, ...result}. A long
// text's markup is never built whole: the core writes it as UTF-8 in
// pieces, each kept in a Blob as it comes (the browser may hold it outside
// the page's memory), and the answer comes in two messages: the counts, the
// preview and the markup's first headBytes bytes (UTF-8, possibly ending
// inside a character) as soon as its first piece is written, then {id, blob}
// with the whole markup.
import {convertMeasured} from './lengths.js';
/** @import {ConversionAnswer, ConversionRequest} from '../shared/types.js' */

// Texts from this many code units on are answered in pieces.
export const piecesFrom = 200000;
const pieceBytes = 1 << 20;

/**
 * @param {*} converter
 * @param {{id: number, settings: ConversionRequest, text: string, headBytes: number}} request
 * @param {(answer: ConversionAnswer | {id: number, blob: Blob}, transfer?: Transferable[]) => void} post
 */
export function answerRequest(converter, {id, settings, text, headBytes}, post) {
  if (text.length < piecesFrom) {
    const result = convertMeasured(converter, settings, text);
    post({id, ...result}, [result.markup.buffer]);
    return;
  }
  const parts = [];
  let planned = null;
  let head = null;
  const sendHead = () => {
    head ??= new Uint8Array(0);
    post({id, ...planned, markup: null, head}, [head.buffer]);
  };
  const pieces = {
    bytes: pieceBytes,
    planned(result) {
      planned = result;
    },
    take(piece) {
      if (head === null) {
        head = piece.slice(0, headBytes);
        sendHead();
      }
      parts.push(new Blob([piece]));
    },
  };
  const result = convertMeasured(converter, settings, text, pieces);
  planned ??= result;
  if (head === null) {
    sendHead();
  }
  post({id, blob: new Blob(parts, {type: 'text/plain;charset=utf-8'})});
}
