// Draws the gradient bar and the coloured preview. The preview is built from
// text nodes and elements whose colour is set through the style object, so
// the user's text is never parsed as markup.

export function drawBar(canvas, colours) {
  const context = canvas.getContext('2d');
  const columnWidth = canvas.width / colours.length;
  colours.forEach((colour, column) => {
    context.fillStyle = colour;
    context.fillRect(column * columnWidth, 0, columnWidth, canvas.height);
  });
}

// Colours travel between the page and the core packed as the core keeps
// them, red in the low byte: 0x00BBGGRR.
export function hexOf(packed) {
  const rgb = ((packed & 0xff) << 16) | (packed & 0xff00) | ((packed >> 16) & 0xff);
  return `#${rgb.toString(16).padStart(6, '0')}`;
}

export function packedOf(hex) {
  const rgb = Number.parseInt(hex.slice(1), 16);
  return ((rgb & 0xff) << 16) | (rgb & 0xff00) | ((rgb >> 16) & 0xff);
}

// chunks holds offset, length and the packed colour (or -1 for a bare chunk)
// per chunk, as offsets into text.
export function showPreview(container, text, chunks) {
  const fragment = document.createDocumentFragment();
  for (let k = 0; k + 2 < chunks.length; k += 3) {
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
  container.replaceChildren(fragment);
}
