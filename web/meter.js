// How long markup is in the units boards count: UTF-16 characters (what the
// core counts), UTF-8 bytes, and GBK bytes (what many Chinese boards count).
//
// GBK writes ASCII (and the euro sign) in one byte and each character of its
// two-byte table in two. Rather than carry that table (some 22,000 code
// points), the set is read once from the browser's own GBK decoder: every
// two-byte sequence is decoded, and the code points that come out are the
// ones GBK encodes, kept as a 64 Kibit map of the Basic Multilingual Plane.
// A character outside GBK is sent by a browser posting a GBK form as a
// numeric reference &#N;, so it counts as that many bytes.

let gbkMap = null;

function gbkTable() {
  if (!gbkMap) {
    const pairs = new Uint8Array(126 * 190 * 2);
    let at = 0;
    for (let lead = 0x81; lead <= 0xFE; ++lead) {
      for (let trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail !== 0x7F) {
          pairs[at++] = lead;
          pairs[at++] = trail;
        }
      }
    }
    const decoded = new TextDecoder('gbk').decode(pairs.subarray(0, at));
    gbkMap = new Uint8Array(8192);
    for (let k = 0; k < decoded.length; ++k) {
      const unit = decoded.charCodeAt(k);
      if (unit !== 0xFFFD) {
        gbkMap[unit >> 3] |= 1 << (unit & 7);
      }
    }
  }
  return gbkMap;
}

function referenceBytes(codePoint) {
  return 3 + String(codePoint).length;
}

// units: the markup as a string or as UTF-16 code units (Uint16Array).
export function markupLengths(units) {
  const at = typeof units === 'string' ? (k) => units.charCodeAt(k) : (k) => units[k];
  const map = gbkTable();
  let utf8 = 0;
  let gbk = 0;
  for (let k = 0; k < units.length; ++k) {
    const unit = at(k);
    if (unit < 0x80) {
      utf8 += 1;
      gbk += 1;
    } else if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units.length && at(k + 1) >= 0xDC00 &&
               at(k + 1) <= 0xDFFF) {
      utf8 += 4;
      gbk += referenceBytes(((unit - 0xD800) << 10) + (at(k + 1) - 0xDC00) + 0x10000);
      k += 1;
    } else {
      // A lone surrogate goes out as U+FFFD, like the rest of the page does.
      const codePoint = unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit;
      utf8 += codePoint < 0x800 ? 2 : 3;
      gbk += codePoint === 0x20AC ? 1 : map[codePoint >> 3] & (1 << (codePoint & 7)) ? 2
        : referenceBytes(codePoint);
    }
  }
  return {characters: units.length, utf8, gbk};
}
