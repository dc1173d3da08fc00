// Which characters GBK writes in two bytes, for the core's GBK lengths (what
// many Chinese boards count). Rather than carry that table (some 22,000 code
// points), the set is read once from the browser's own GBK decoder: every
// two-byte sequence is decoded, and the code points that come out are the
// ones GBK encodes, kept as a 64 Kibit map of the Basic Multilingual Plane
// (bit c & 7 of byte c >> 3), the form the core takes.

let gbkMap = null;

export function gbkTable() {
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
