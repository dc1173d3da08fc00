// Share links: the current settings (and the text, if asked) copied as a
// link, and a link opened: its settings applied at once, its text after the
// user's answer where it would replace a different one.
import {acknowledge, showToast} from './feedback.js';
import {guardedShareLink} from './link-guard.js';
import {defaults, sanitised} from '../shared/settings.js';
import {readShareFragment, shareFragment, shareVersion} from '../shared/share.js';
import {saveText} from '../storage/text-store.js';
import {convertNow, defaultSettings, readNumbers, readerSettings, withCoreDefaults} from './conversion.js';
import {stepRead} from './typed-values.js';
import {change, withoutReader} from './edits.js';
import {page, parts} from './state.js';
import {byId} from './dom.js';

export async function share() {
  const {texts} = page;
  const base = location.href.replace(/#.*$/, '');
  const text = byId('share-text').checked ? parts.textBox.value() : null;
  const {link, fragment, leftOut} = guardedShareLink(base, (t) => shareFragment(withoutReader(page.settings), t),
    text);
  // The single file's address names a file on this computer: said however the link went out.
  const fileOnly = location.protocol === 'file:' ? texts.shareFileOnly : '';
  try {
    await navigator.clipboard.writeText(link);
    acknowledge(byId('share'), texts.sharedAck, texts.shareCopied);
  } catch {
    window.history.replaceState(null, '', fragment);
    showToast('share', byId('share'), [texts.shareShown, fileOnly].join(' ').trim());
    return;
  }
  const notes = [leftOut ? texts.linkTooLong(leftOut.length, leftOut.max) : '', fileOnly].filter(Boolean);
  if (notes.length) {
    showToast('share', byId('share'), notes.join(' '));
  }
}

function linkMessage(link) {
  const {texts} = page;
  const read = Object.keys(link.settings).length;
  if (link.version === null) {
    return read ? texts.linkDamaged(link.unreadable.join(', ') || 'huecode') : texts.linkUnreadable;
  }
  if (link.version > shareVersion) {
    return texts.linkNewer;
  }
  if (link.unreadable.length) {
    return texts.linkDamaged(link.unreadable.join(', '));
  }
  return link.refused.length ? texts.linkRefused(link.refused.join(', ')) : texts.linkApplied;
}

// A step or limit the link spells correctly but the page refuses (step 0, a
// negative limit) takes the default and is reported as refused.
function withoutRefused(link) {
  const numbers = readNumbers({...defaults, ...link.settings});
  const refused = ['step', 'limit', 'frames', 'interval'].filter((key) => Object.hasOwn(link.settings, key) && numbers[key].error);
  const usable = Object.fromEntries(Object.entries(link.settings).filter(([key]) => !refused.includes(key)));
  return {...link, settings: usable, refused};
}

export function putText(text) {
  page.textTouched = true;
  parts.textBox.set(text);
  saveText(text);
}

// The link's toast: its Undo restores the settings and the text from before.
function linkToast(message, before) {
  showToast('link', byId('text'), message, () => {
    putText(before.text);
    change(before.settings, {convert: 'now'});
    convertNow();
  });
}

// A link's settings replace the current ones at once (undoable, the saved
// gradients untouched); what it cannot read takes the default. Its text
// replaces an empty draft or the same one; over a different draft the user
// is asked first. It is applied once: the address loses its fragment.
export async function openLink() {
  const read = readShareFragment(location.hash, page.core);
  if (!read) {
    return;
  }
  // Whether the link's step is refused is the core's to say.
  if (typeof read.settings.step === 'string') {
    await stepRead(read.settings.step);
  }
  const link = withoutRefused(read);
  window.history.replaceState(null, '', location.href.replace(/#.*$/, ''));
  const before = {settings: page.settings, text: parts.textBox.value()};
  const next = sanitised({...withoutReader(defaultSettings()), ...link.settings, ...readerSettings()});
  const asking = link.text !== null && before.text !== '' && before.text !== link.text;
  if (link.text !== null && !asking) {
    putText(link.text);
  }
  change(withCoreDefaults(next), {convert: 'now'});
  linkToast(linkMessage(link), before);
  if (asking) {
    page.linkOffer = {text: link.text, before, message: linkMessage(link)};
    byId('link-dialog').showModal();
  }
}

export function answerLinkOffer(use) {
  byId('link-dialog').close();
  const offer = page.linkOffer;
  if (use && offer) {
    putText(offer.text);
    convertNow();
    linkToast(offer.message, offer.before);
  }
  page.linkOffer = null;
}
