// The page's elements by id. index.html has every id the page asks for, so
// a lookup is never null; the element's kind (input, select, dialog, canvas)
// is the caller's to know, which the type checker leaves to it.
/**
 * @param {string} id
 * @returns {any}
 */
export const byId = (id) => document.getElementById(id);
