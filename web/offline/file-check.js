// A page opened from disk cannot load its modules, and would sit there doing
// nothing: it says what to do instead. A classic script, since those still run.
if (location.protocol === 'file:') {
  document.getElementById('file-note').hidden = false;
}
