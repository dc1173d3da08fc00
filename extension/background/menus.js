// The context menu: "Colour with huecode" on editable fields and selections,
// with the last gradient used on top, then the saved gradients, then the
// built-in gallery.
import {gallery} from '../../web/shared/gradients.js';
import {resolveGradient} from './store.js';

const contexts = ['editable', 'selection'];

function create(properties) {
  return new Promise((resolve) => {
    chrome.contextMenus.create({contexts, ...properties}, () => resolve(chrome.runtime.lastError));
  });
}

export async function rebuildMenus(state, language, t, defaultStops) {
  await chrome.contextMenus.removeAll();
  await create({id: 'colour', title: t('menuColour')});
  const last = resolveGradient(state, state.choice.gradient, language, defaultStops);
  await create({id: 'last', parentId: 'colour', title: t('menuLast',
    last.name || t(state.choice.gradient.source === 'default' ? 'defaultGradient' : 'customGradient'))});
  if (state.saved.length > 0) {
    await create({id: 'saved', parentId: 'colour', type: 'separator'});
    for (const gradient of state.saved) {
      await create({id: `saved:${gradient.id}`, parentId: 'colour', title: gradient.name});
    }
  }
  await create({id: 'gallery', parentId: 'colour', type: 'separator'});
  for (const gradient of gallery) {
    await create({id: `gallery:${gradient.id}`, parentId: 'colour', title: gradient.name[language] ?? gradient.name.en});
  }
}

// The gradient a menu item stands for, as the choice stores it; null for the
// last one used, which is the choice already.
export function referenceOfMenuItem(id) {
  const [source, ...rest] = String(id).split(':');
  return ['saved', 'gallery'].includes(source) && rest.length > 0 ? {source, id: rest.join(':')} : null;
}
