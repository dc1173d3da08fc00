// Formatting read back by real readers: BBCode by a BBCode parser, HTML and
// span by the browser's computed styles, & codes and MiniMessage by decoders
// written from their documented rules (a & colour code resets the
// formatting; a MiniMessage decoration closes where it was opened). Every
// character must come out in its colour and in every style asked.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {parse} from '@bbob/parser';
import {cliMarkup, openBrowser} from './page.mjs';

const text = 'Hi, 论坛\tok';
const bbNames = {b: 'bold', i: 'italic', u: 'underline', s: 'strike'};
const mmNames = {bold: 'bold', italic: 'italic', underlined: 'underline', strikethrough: 'strike'};
const ampNames = {l: 'bold', o: 'italic', n: 'underline', m: 'strike'};
const visible = (character) => character.trim() !== '';

function bbcodeRead(nodes, styles = [], colour = null) {
  return nodes.flatMap((node) => typeof node === 'string' ? [...node].filter(visible).map(() => ({colour, styles}))
    : bbcodeRead(node.content ?? [], bbNames[node.tag] ? [...styles, bbNames[node.tag]] : styles,
      node.tag === 'color' ? Object.values(node.attrs)[0].replace('#', '') : colour));
}

function codesRead(markup) {
  const read = [];
  const open = [];
  let colour = null;
  for (const [, tag, amp, character] of markup.matchAll(/<([^>]*)>|&(#[0-9A-F]{6}|[lonm])|([\s\S])/gu)) {
    if (amp?.startsWith('#')) {
      colour = amp.slice(1);
      open.length = 0;
    } else if (amp || tag?.startsWith('#')) {
      amp ? open.push(ampNames[amp]) : colour = tag.slice(1);
    } else if (tag) {
      tag.startsWith('/') ? assert.equal(open.pop(), mmNames[tag.slice(1)], markup) : open.push(mmNames[tag]);
    } else if (visible(character)) {
      read.push({colour, styles: [...open]});
    }
  }
  return read;
}

// A decoration drawn by an ancestor counts: that is how underline reaches the characters.
async function htmlRead(page, markup) {
  await page.setContent(`<!doctype html><body>${markup}</body>`);
  return page.evaluate(() => {
    const read = [];
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const style = getComputedStyle(node.parentElement);
      let lines = '';
      for (let element = node.parentElement; element; element = element.parentElement) {
        lines += ` ${getComputedStyle(element).textDecorationLine}`;
      }
      const styles = [style.fontWeight === '700' && 'bold', style.fontStyle === 'italic' && 'italic',
        lines.includes('underline') && 'underline', lines.includes('line-through') && 'strike'].filter(Boolean);
      const colour = style.color.match(/\d+/g).map((c) => Number(c).toString(16).padStart(2, '0')).join('');
      read.push(...[...node.data].filter((c) => c.trim()).map(() => ({colour: colour.toUpperCase(), styles})));
    }
    return read;
  });
}

test('every dialect with formatting codes reads back bold, italic, underline and strikethrough', async () => {
  const session = await openBrowser();
  const page = await session.browser.newPage();
  const plain = cliMarkup(['--preset', 'bbcode', '--endpoints'], text).toString();
  const colours = [...plain.matchAll(/#(\w{6})\]([^[]*)/g)].flatMap(([, colour, chunk]) => [...chunk].map(() => colour));
  for (const styles of [['bold'], ['strike'], ['italic', 'underline'], ['bold', 'italic', 'underline', 'strike']]) {
    for (const preset of ['ubb', 'bbcode', 'ampersand', 'minimessage', 'html', 'span']) {
      const markup = cliMarkup(['--preset', preset, '--endpoints', ...styles.map((s) => `--${s}`)], text).toString();
      const read = ['ubb', 'bbcode'].includes(preset) ? bbcodeRead(parse(markup))
        : preset === 'html' || preset === 'span' ? await htmlRead(page, markup) : codesRead(markup);
      assert.deepEqual(read, colours.map((colour) => ({colour, styles})), markup);
    }
  }
  await session.close();
});
