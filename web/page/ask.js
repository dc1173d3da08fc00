// The page's own question, in place of the browser's prompt and confirm:
// those stop the page, and another tab's change to the storage would reach
// it only after the answer, too late for what the answer writes.
import {byId} from './dom.js';

// Resolves to the text typed (with value set) or true when the first button
// is pressed, and to null when the question is closed any other way.
export function ask({question, value = null, yes, no}) {
  const dialog = byId('ask-dialog');
  byId('ask-question').textContent = question;
  byId('ask-value').hidden = value === null;
  byId('ask-value').value = value ?? '';
  byId('ask-yes').textContent = yes;
  byId('ask-no').textContent = no;
  dialog.returnValue = '';
  dialog.showModal();
  if (value !== null) {
    byId('ask-value').select();
  }
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      const accepted = dialog.returnValue === 'yes';
      resolve(accepted ? (value === null ? true : byId('ask-value').value) : null);
    }, {once: true});
  });
}

export function listenToAsk() {
  byId('ask-yes').addEventListener('click', () => byId('ask-dialog').close('yes'));
  byId('ask-no').addEventListener('click', () => byId('ask-dialog').close());
  byId('ask-value').addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      event.preventDefault();
      byId('ask-dialog').close('yes');
    }
  });
}
