// The page's keyboard shortcuts, and the skip link.
import {redo, undo} from './edits.js';
import {parts} from './state.js';
import {byId} from './dom.js';

// Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y) undo settings, except in a text box,
// which keeps its own undo of what is typed.
export function onKey(event) {
  const target = event.target;
  const typing = target.tagName === 'TEXTAREA' || (target.tagName === 'INPUT' && target.type === 'text');
  const key = event.key.toLowerCase();
  if (typing || !(event.ctrlKey || event.metaKey) || event.altKey || !['z', 'y'].includes(key)) {
    return;
  }
  event.preventDefault();
  if (key === 'y' || event.shiftKey) {
    redo();
  } else {
    undo();
  }
}

// Ctrl+Shift+Enter (⌘⇧↩) copies the markup from anywhere: no major browser
// uses it, and the copy button's title names it.
export function onCopyKey(event) {
  if (event.key === 'Enter' && event.shiftKey && (event.ctrlKey || event.metaKey) && !event.altKey) {
    event.preventDefault();
    parts.output.copy();
  }
}

// The skip link takes the focus to the result at every width, without
// touching the address (whose fragment carries share links).
export function jumpToResult(event) {
  event.preventDefault();
  byId('result').scrollIntoView({block: 'start'});
  byId('result').focus({preventScroll: true});
}
