// Notes across the top of the page that stay until the reader acts on them:
// that the browser keeps nothing, that a new version is ready. Each is made
// once, and written again in the page's language when it changes.
const notes = new Map();

function draw(id, texts) {
  const {element, message, actions} = notes.get(id);
  const buttons = actions.map(({label, run}) => {
    const button = Object.assign(document.createElement('button'), {type: 'button', className: 'secondary',
      textContent: label(texts)});
    button.addEventListener('click', () => {
      element.remove();
      notes.delete(id);
      run?.();
    });
    return button;
  });
  element.replaceChildren(Object.assign(document.createElement('p'), {textContent: message(texts)}), ...buttons);
}

// message and each action's label are functions of the page's texts.
export function showNote(id, texts, {message, actions}) {
  let element = document.getElementById(id);
  if (!element) {
    element = Object.assign(document.createElement('div'), {id, className: 'banner note'});
    element.setAttribute('role', 'status');
    (document.getElementById('file-note') ?? document.querySelector('header')).after(element);
  }
  notes.set(id, {element, message, actions});
  draw(id, texts);
}

export function retextNotes(texts) {
  for (const id of notes.keys()) {
    draw(id, texts);
  }
}
