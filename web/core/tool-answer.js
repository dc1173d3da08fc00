// What the converter answers besides conversions, in the worker or on the
// page alike: the plain text of pasted markup, and the markup of the same
// text and gradient in another dialect.
export function toolAnswer(converter, data) {
  if (data.tool === 'strip') {
    return {tool: data.tool, id: data.id, ...converter.strip(data.text)};
  }
  const result = converter.convert(data.settings, data.text);
  return {tool: data.tool, id: data.id, failed: result.failed,
    markup: new TextDecoder('utf-16le').decode(result.markup)};
}
