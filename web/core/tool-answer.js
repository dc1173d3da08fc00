// What the converter answers besides conversions, in the worker or on the
// page alike: the plain text of pasted markup, the markup of the same text
// and gradient in another dialect, and what the core makes of a typed value.
export function toolAnswer(converter, data) {
  if (data.tool === 'read') {
    return {tool: data.tool, id: data.id, verdict: converter.read(data.kind, data.subject)};
  }
  if (data.tool === 'strip') {
    return {tool: data.tool, id: data.id, ...converter.strip(data.text)};
  }
  const result = converter.convert(data.settings, data.text);
  return {tool: data.tool, id: data.id, failed: result.failed,
    markup: new TextDecoder('utf-16le').decode(result.markup)};
}
