// The rich editors of the test page, as a site would set them up, each behind
// the same small interface the tests drive from the page's own world:
// set(text) makes one paragraph of each line with a fresh history, select(
// start, end) selects in the editor's model by offsets into that text (a
// caret when start equals end), text() reads the model back, one line break
// per paragraph, colours() the coloured runs as [#rrggbb, bold]. window.
// editorErrors collects what the editors report. Each is loaded as its own
// documentation tells a site to load it: its theme, its toolbar, and its
// content style sheet where it has one, since those change how a selection
// reads.
import {ClassicEditor} from '@ckeditor/ckeditor5-editor-classic';
import {Essentials} from '@ckeditor/ckeditor5-essentials';
import {FontColor} from '@ckeditor/ckeditor5-font';
import {Paragraph} from '@ckeditor/ckeditor5-paragraph';
import {defaultKeymap, history as cmHistory, historyKeymap} from '@codemirror/commands';
import {EditorSelection, EditorState as CmState} from '@codemirror/state';
import {EditorView as CmView, keymap as cmKeymap} from '@codemirror/view';
import {createEmptyHistoryState, registerHistory} from '@lexical/history';
import {HeadingNode, QuoteNode, registerRichText} from '@lexical/rich-text';
import {$createParagraphNode, $createRangeSelection, $createTextNode, $getRoot, $setSelection, createEditor}
  from 'lexical';
import {baseKeymap} from 'prosemirror-commands';
import {history as pmHistory, redo, undo} from 'prosemirror-history';
import {keymap as pmKeymap} from 'prosemirror-keymap';
import {schema} from 'prosemirror-schema-basic';
import {EditorState as PmState, TextSelection} from 'prosemirror-state';
import {EditorView as PmView} from 'prosemirror-view';
import Quill from 'quill';
import {Editor as TiptapEditor} from '@tiptap/core';
import StarterKit from '@tiptap/starter-kit';
import tinymce from 'tinymce';
import 'tinymce/models/dom';
import 'tinymce/themes/silver';
import 'tinymce/icons/default';
import 'tinymce/skins/ui/oxide/skin.js';
import 'tinymce/skins/ui/oxide/content.js';
import 'tinymce/skins/content/default/content.js';
import 'sceditor/src/sceditor.js';
import 'sceditor/src/formats/bbcode.js';
import 'sceditor/minified/themes/default.min.css';
import EasyMDE from 'easymde';
import 'easymde/dist/easymde.min.css';
import 'quill/dist/quill.snow.css';
import 'prosemirror-view/style/prosemirror.css';
import '@ckeditor/ckeditor5-ui/dist/index.css';
import '@ckeditor/ckeditor5-engine/dist/index.css';
import '@ckeditor/ckeditor5-editor-classic/dist/index.css';
import '@ckeditor/ckeditor5-font/dist/index.css';

window.editorErrors = [];
const lines = (text) => text.split('\n');

// Where an offset into the joined lines falls: [line, offset in the line].
function lineOf(text, offset) {
  let line = 0;
  for (const part of lines(text)) {
    if (offset <= part.length) {
      return [line, offset];
    }
    offset -= part.length + 1;
    ++line;
  }
  throw new Error(`offset past the text: ${offset}`);
}

function quill(element) {
  const editor = new Quill(element, {theme: 'snow'});
  return {
    set(text) {
      // Quill ends its text with the last line's line break.
      editor.setText(`${text}\n`);
      editor.history.clear();
    },
    select: (start, end) => editor.setSelection(start, end - start),
    text: () => editor.getText().slice(0, -1),
    colours: () => editor.getContents().ops.filter((op) => op.attributes?.color)
      .map((op) => [op.attributes.color.toLowerCase(), Boolean(op.attributes.bold)]),
  };
}

function prosemirror(element) {
  const plugins = [pmHistory(), pmKeymap({'Mod-z': undo, 'Mod-y': redo}), pmKeymap(baseKeymap)];
  return prosemirrorView(new PmView(element, {state: PmState.create({schema, plugins})}), schema, plugins);
}

// TipTap, ProseMirror underneath: the same view with TipTap's schema and plugins.
function tiptap(element) {
  const editor = new TiptapEditor({element, extensions: [StarterKit]});
  return prosemirrorView(editor.view, editor.schema, editor.state.plugins);
}

function prosemirrorView(view, nodes, plugins) {
  const position = (text, offset) => {
    const [line, at] = lineOf(text, offset);
    let pos = 1;
    view.state.doc.forEach((paragraph, _, k) => {
      pos += k < line ? paragraph.nodeSize : 0;
    });
    return pos + at;
  };
  let current = '';
  return {
    set(text) {
      current = text;
      const doc = nodes.node('doc', null, lines(text).map((line) =>
        nodes.node('paragraph', null, line ? [nodes.text(line)] : [])));
      view.updateState(PmState.create({doc, plugins}));
    },
    select(start, end) {
      view.focus();
      view.dispatch(view.state.tr.setSelection(
        TextSelection.create(view.state.doc, position(current, start), position(current, end))));
    },
    text: () => view.state.doc.content.content.map((paragraph) => paragraph.textContent).join('\n'),
  };
}

function lexical(element) {
  const editor = createEditor({namespace: 'test', nodes: [HeadingNode, QuoteNode],
    onError: (error) => window.editorErrors.push(`lexical: ${error.message}`)});
  editor.setRootElement(element);
  registerRichText(editor);
  let historyState = createEmptyHistoryState();
  let unregister = registerHistory(editor, historyState, 0);
  const point = (text, offset) => {
    const [line, at] = lineOf(text, offset);
    const paragraph = $getRoot().getChildAtIndex(line);
    const node = paragraph.getFirstChild();
    return node ? [node.getKey(), at, 'text'] : [paragraph.getKey(), 0, 'element'];
  };
  let current = '';
  return {
    set(text) {
      current = text;
      editor.update(() => {
        $getRoot().clear().append(...lines(text).map((line) => {
          const paragraph = $createParagraphNode();
          return line ? paragraph.append($createTextNode(line)) : paragraph;
        }));
      }, {discrete: true});
      unregister();
      historyState = createEmptyHistoryState();
      unregister = registerHistory(editor, historyState, 0);
    },
    select(start, end) {
      element.focus();
      editor.update(() => {
        const selection = $createRangeSelection();
        selection.anchor.set(...point(current, start));
        selection.focus.set(...point(current, end));
        $setSelection(selection);
      }, {discrete: true});
    },
    text: () => editor.getEditorState().read(() =>
      $getRoot().getChildren().map((paragraph) => paragraph.getTextContent()).join('\n')),
  };
}

async function ckeditor(element) {
  const editor = await ClassicEditor.create(element, {licenseKey: 'GPL', plugins: [Essentials, Paragraph, FontColor],
    toolbar: ['undo', 'redo', '|', 'fontColor']});
  const root = () => editor.model.document.getRoot();
  let current = '';
  return {
    set(text) {
      current = text;
      editor.model.enqueueChange({isUndoable: false}, (writer) => {
        writer.remove(writer.createRangeIn(root()));
        for (const line of lines(text)) {
          const paragraph = writer.createElement('paragraph');
          writer.insertText(line, paragraph);
          writer.append(paragraph, root());
        }
      });
    },
    select(start, end) {
      editor.editing.view.focus();
      editor.model.change((writer) => {
        const at = (offset) => {
          const [line, k] = lineOf(current, offset);
          return writer.createPositionAt(root().getChild(line), k);
        };
        writer.setSelection(writer.createRange(at(start), at(end)));
      });
    },
    text: () => [...root().getChildren()].map((paragraph) =>
      [...paragraph.getChildren()].map((node) => node.data ?? '').join('')).join('\n'),
  };
}

function codemirror(element) {
  const extensions = [cmHistory(), cmKeymap.of([...defaultKeymap, ...historyKeymap])];
  const view = new CmView({parent: element, state: CmState.create({doc: '', extensions})});
  return {
    set: (text) => view.setState(CmState.create({doc: text, extensions})),
    select(start, end) {
      view.focus();
      view.dispatch({selection: EditorSelection.single(start, end)});
    },
    text: () => view.state.doc.toString(),
  };
}

// A page's own contenteditable or designMode document: the DOM is the model.
function plain(body, focus = () => body.focus(), tag = 'div') {
  let current = '';
  const nodeAt = (offset) => {
    const [line, at] = lineOf(current, offset);
    const block = body.children[line];
    return block.firstChild?.nodeType === Node.TEXT_NODE ? [block.firstChild, at] : [block, 0];
  };
  return {
    set(text) {
      current = text;
      body.replaceChildren(...lines(text).map((line) => {
        const block = body.ownerDocument.createElement(tag);
        block.append(line || body.ownerDocument.createElement('br'));
        return block;
      }));
    },
    select(start, end) {
      focus();
      body.ownerDocument.getSelection().setBaseAndExtent(...nodeAt(start), ...nodeAt(end));
    },
    // The lines are the innermost blocks of the editor's kind (paragraphs
    // stay paragraphs), wherever the browser's editing nested them; it keeps
    // a space next to what it inserts as a no-break space.
    text: () => [...body.querySelectorAll(tag)].filter((block) => !block.querySelector(tag))
      .map((block) => block.textContent.replace(/\u00A0/g, ' ')).join('\n'),
    colours: () => [...body.querySelectorAll('[style]')].map((element) => {
      const rgb = element.style.color.match(/\d+/g).map((n) => Number(n).toString(16).padStart(2, '0'));
      return [`#${rgb.join('')}`, Boolean(element.closest('b') ?? element.querySelector('b'))];
    }),
  };
}

// TinyMCE in its frame: its model is that frame's DOM, its history its own.
async function tinymceEditor(element) {
  const [editor] = await tinymce.init({target: element, license_key: 'gpl', height: 200});
  const body = editor.getBody();
  const frame = editor.getContentAreaContainer().querySelector('iframe');
  const page = plain(body, () => {
    frame.focus();
    editor.focus();
  }, 'p');
  // pasteWrongly(true): its paste writes capitals, as a site's own paste
  // rules may rewrite what is pasted.
  let wrongly = false;
  editor.on('PastePreProcess', (event) => {
    event.content = wrongly ? event.content.toUpperCase() : event.content;
  });
  return {...page, set(text) {
    page.set(text);
    editor.undoManager.clear();
    editor.undoManager.add();
  }, pasteWrongly: (on) => {
    wrongly = on;
  }};
}

// SCEditor for BBCode, in its frame; the browser's history is its only one.
// As MyBB and SMF load it: its theme, its toolbar, and its content
// stylesheet inside the frame.
function scEditor(element) {
  window.sceditor.create(element, {format: 'bbcode', style: 'sceditor-content.css', emoticonsEnabled: false,
    height: 120});
  const editor = window.sceditor.instance(element);
  const body = editor.getBody();
  const frame = element.parentElement.querySelector('.sceditor-container iframe');
  return plain(body, () => {
    frame.focus();
    editor.focus();
  });
}

// EasyMDE, CodeMirror 5 underneath: it types through a hidden text area.
function easyMde(element, extend = () => {}) {
  const editor = new EasyMDE({element, autoDownloadFontAwesome: false, spellChecker: false,
    autosave: undefined});
  const cm = editor.codemirror;
  extend(cm);
  return {
    set(text) {
      cm.setValue(text);
      cm.clearHistory();
    },
    select(start, end) {
      cm.focus();
      cm.setSelection(cm.posFromIndex(start), cm.posFromIndex(end));
    },
    text: () => cm.getValue(),
    // The editor's own call, for the benchmark: how long it takes in the text itself.
    insert: (text) => cm.replaceSelection(text),
  };
}

// EasyMDE with a helper that closes a bracket as it is typed, after the
// caret, in the same step of the editor's history: what it adds to a paste
// lies after the caret, beyond what the text before the caret shows.
function closer(element) {
  return easyMde(element, (cm) => cm.on('inputRead', (_, change) => {
    if (change.text.join('\n').includes('[')) {
      const caret = cm.getCursor();
      cm.replaceRange(']', caret, caret, '+input');
      cm.setCursor(caret);
    }
  }));
}

// An editor that takes no change: it answers the paste by ignoring it and
// draws its own text again over anything else, as an editor that keeps its
// text in a model of its own does.
function stubborn(element) {
  const editor = plain(element);
  let kept = null;
  element.addEventListener('paste', (event) => event.preventDefault());
  new MutationObserver(() => {
    if (kept !== null && editor.text() !== kept) {
      editor.set(kept);
    }
  }).observe(element, {subtree: true, childList: true, characterData: true});
  return {...editor, set(text) {
    kept = text;
    editor.set(text);
  }};
}

// An editor that takes the paste but writes it wrong (in capitals), as one
// whose own rules rewrite what is pasted, through the browser's editing so
// that its undo can take it back. It hands out copies as an editor with a
// model of its own does.
function mangler(element) {
  element.addEventListener('copy', (event) => {
    event.preventDefault();
    event.clipboardData.setData('text/plain', getSelection().toString());
  });
  element.addEventListener('paste', (event) => {
    event.preventDefault();
    document.execCommand('insertText', false, event.clipboardData.getData('text/plain').toUpperCase());
  });
  return plain(element);
}

async function start() {
  const at = (id) => document.getElementById(id);
  const frame = at('design');
  if (frame.contentDocument?.readyState !== 'complete' || frame.contentDocument.URL === 'about:blank') {
    await new Promise((resolve) => frame.addEventListener('load', resolve, {once: true}));
  }
  frame.contentDocument.designMode = 'on';
  const body = frame.contentDocument.body;
  window.editors = {quill: quill(at('quill')), prosemirror: prosemirror(at('prosemirror')),
    lexical: lexical(at('lexical')), codemirror: codemirror(at('codemirror')), ckeditor: await ckeditor(at('ckeditor')),
    design: plain(body, () => {
      frame.focus();
      body.focus();
    }),
    tiptap: tiptap(at('tiptap')), tinymce: await tinymceEditor(at('tinymce')), sceditor: scEditor(at('sceditor')),
    easymde: easyMde(at('easymde')),
    stubborn: stubborn(at('stubborn')), mangler: mangler(at('mangler')), closer: closer(at('closer'))};
}
window.editorsReady = start();
