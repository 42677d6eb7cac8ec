// The preview's helper, in a script world of its own on every page the preview
// loads. It says when the page's file has been read whole and when the page
// has been drawn. It also changes the page on show in place when its file has
// been written anew and differs only in attribute values, style sheets and
// comments: a new colour, a banner address, the title size. The engine then repaints the page
// without building and laying it out afresh, which with a thousand links is
// most of a full load's time. Anything else (a word, a link added, a changed
// script) is for the preview to load as a new page, and so is a page whose
// own scripts have changed what this helper would have to change.
//
// The preview runs this function with the prefix of its console messages and
// hears back through the console:
// - "read" once a loaded page's file has been read whole (its end parsed);
//   the engine's own page for a failed load says nothing;
// - for vorlindoShowAt(x, y, number), which scrolls a loaded page: "drawn:"
//   and the number once it has been drawn there;
// - for vorlindoUpdate(address, number), for each new version of the file:
//   "read:" once it has been read whole, "drawn:" once the page on show is
//   the new one and has been drawn, "reload:" when the page must be loaded
//   anew; each followed by the number of the call;
// - vorlindoAnticipate(oldCode, newCode) says nothing: at the next frame it
//   paints the new colour code wherever the page on show holds the old one,
//   as the page's next version will (over the attributes, which keep the old
//   code), and that version, once read, confirms or corrects it.
(function (prefix) {
  'use strict';

  const say = (word, number = '') => console.log(prefix + word + number);

  // The frame callback runs before its frame is drawn, a task it leaves after.
  const sayOnceDrawn = (number) =>
    requestAnimationFrame(() => setTimeout(() => say('drawn:', number)));

  document.addEventListener('DOMContentLoaded', () => {
    if (location.protocol === 'file:') say('read');
  });

  window.vorlindoShowAt = (x, y, number) => {
    scrollTo(x, y);
    sayOnceDrawn(number);
  };

  // Elements whose attributes act only as a page loads: its scripts, its
  // character set and refresh, the base of its addresses, its style sheets.
  const loadedAnewWhenChanged = new Set(['SCRIPT', 'META', 'BASE', 'LINK']);

  // Per element, the attributes the page's own scripts have set, with the
  // values the page's file gave them (null: the file had none).
  const setByScripts = new Map();
  const observer = new MutationObserver(noteScriptChanges);
  observer.observe(document, {attributes: true, attributeOldValue: true, subtree: true});

  function noteScriptChanges(records) {
    for (const record of records) {
      let values = setByScripts.get(record.target);
      if (!values) setByScripts.set(record.target, (values = new Map()));
      if (!values.has(record.attributeName)) values.set(record.attributeName, record.oldValue);
    }
  }

  // The attribute names of `element` as its page's file gave them.
  function fileAttributeNames(element) {
    const names = element.getAttributeNames();
    const values = setByScripts.get(element);
    if (!values) return names;
    const kept = names.filter((name) => !values.has(name) || values.get(name) !== null);
    for (const [name, value] of values) {
      if (value !== null && !element.hasAttribute(name)) kept.push(name);
    }
    return kept.sort();
  }

  // Adds to `changes` what turns the attributes of `shown` into those of
  // `next`; false when that would undo a script's work or add or drop one.
  function compareAttributes(shown, next, changes) {
    if (!shown.hasAttributes() && !next.hasAttributes()) return true;
    const values = setByScripts.get(shown);
    const names = next.getAttributeNames();
    const shownNames = values ? fileAttributeNames(shown) : shown.getAttributeNames();
    if (values) names.sort();
    if (names.length !== shownNames.length) return false;
    for (let i = 0; i < names.length; ++i) {
      const name = names[i];
      if (name !== shownNames[i]) return false;
      const value = next.getAttribute(name);
      const scripted = values !== undefined && values.has(name);
      if (value === (scripted ? values.get(name) : shown.getAttribute(name))) continue;
      // A script set this one from what the page said before.
      if (scripted || loadedAnewWhenChanged.has(shown.nodeName)) return false;
      changes.push(shown, name, value);
    }
    return true;
  }

  // The elements that hold an element whose attributes a script has set, or
  // a style sheet whose text no longer says what its rules are.
  function holdersOfScriptSets() {
    const holders = new Set();
    for (const element of [...setByScripts.keys(), ...sheetTexts.keys()]) {
      for (let holder = element; holder && !holders.has(holder); holder = holder.parentNode) {
        holders.add(holder);
      }
    }
    return holders;
  }

  // Walks the page on show and the new one in step, node by node; adds to
  // `changes` what to change in place, or gives false when the two differ in
  // more than that.
  function compareTrees(shown, next, changes) {
    const holders = holdersOfScriptSets();
    for (;;) {
      const type = shown.nodeType;
      if (type !== next.nodeType || shown.nodeName !== next.nodeName) return false;
      let descend = false;
      if (type === Node.ELEMENT_NODE) {
        // A part already as the new page has it, with nothing a script has
        // set inside, needs no closer look: the engine compares it faster.
        if (holders.has(shown) || !shown.isEqualNode(next)) {
          if (!compareAttributes(shown, next, changes)) return false;
          // What a noscript holds is never shown where scripts run, and the
          // file read here, where none run, gives it other parts.
          descend = shown.nodeName !== 'NOSCRIPT';
        }
      } else if ((sheetTexts.get(shown) ?? shown.data) !== next.data) {
        // Words on the page may feed its scripts; a style sheet or a comment does not.
        if (type !== Node.COMMENT_NODE && shown.parentNode.nodeName !== 'STYLE') return false;
        changes.push(shown, null, next.data);
      }
      const shownChild = descend ? shown.firstChild : null;
      const nextChild = descend ? next.firstChild : null;
      if (shownChild || nextChild) {
        if (!shownChild || !nextChild) return false;
        shown = shownChild;
        next = nextChild;
        continue;
      }
      for (;;) {
        if (shown === document.documentElement) return true;
        const shownSibling = shown.nextSibling;
        const nextSibling = next.nextSibling;
        if (shownSibling || nextSibling) {
          if (!shownSibling || !nextSibling) return false;
          shown = shownSibling;
          next = nextSibling;
          break;
        }
        shown = shown.parentNode;
        next = next.parentNode;
      }
    }
  }

  function applyChanges(changes) {
    for (let i = 0; i < changes.length; i += 3) {
      const node = changes[i];
      const name = changes[i + 1];
      if (name === null) {
        node.data = changes[i + 2];
        sheetTexts.delete(node);
      } else {
        node.setAttribute(name, changes[i + 2]);
      }
    }
  }

  // Counts the anticipated colours; a version of the file asked for before
  // the last of them may be older than what is on show.
  let anticipations = 0;

  // Per style sheet text, the text its rules now hold, where a colour changed
  // only the rules that hold it: a new text would have the engine match every
  // rule against every element again, which on a long page takes a frame or
  // more.
  const sheetTexts = new Map();

  // The old code as a whole word of a style sheet: not part of a longer code.
  const codeInStyle = (code) => new RegExp(code + '(?![0-9A-Za-z_-])', 'g');

  // `text` with `newCode` in place of the code `inStyle` finds, except in
  // attribute selectors: those go on finding the parts painted ahead, whose
  // attributes keep the old code until the page's next version.
  const replaceInValues = (text, inStyle, newCode) =>
    text.split(/(\[[^\]]*\])/)
        .map((part, i) => (i % 2 ? part : part.replace(inStyle, newCode)))
        .join('');

  // The rules of a style sheet's text as written, outermost only; null where
  // the text is not read here as the engine reads it.
  function ruleTexts(text) {
    const rules = [];
    let depth = 0;
    let start = 0;
    for (let i = 0; i < text.length; ++i) {
      const c = text[i];
      if (c === '/' && text[i + 1] === '*') {
        const end = text.indexOf('*/', i + 2);
        if (end < 0) return null;
        if (depth === 0 && text.slice(start, i).trim() === '') start = end + 2;
        i = end + 1;
      } else if (c === '"' || c === "'") {
        // A string: to its closing quote, past the escaped characters.
        let end = i + 1;
        while (end < text.length && text[end] !== c) end += text[end] === '\\' ? 2 : 1;
        if (end >= text.length) return null;
        i = end;
      } else if (c === '\\') {
        ++i;
      } else if (c === '{') {
        ++depth;
      } else if (c === '}' || (c === ';' && depth === 0)) {
        if (c === '}' && --depth < 0) return null;
        if (depth === 0) {
          rules.push(text.slice(start, i + 1));
          start = i + 1;
        }
      }
    }
    return depth === 0 && text.slice(start).trim() === '' ? rules : null;
  }

  // Puts `newCode` in place of `oldCode` in the sheet of the style text
  // `node`: in the rules that hold it, one by one, or else in the whole text.
  function anticipateInSheet(node, oldCode, newCode, inStyle) {
    const text = sheetTexts.get(node) ?? node.data;
    if (!text.includes(oldCode)) return;
    const next = replaceInValues(text, inStyle, newCode);
    if (next === text) return;
    const sheet = node.parentNode.sheet;
    const rules = ruleTexts(text);
    try {
      if (!sheet || !rules || rules.length !== sheet.cssRules.length) throw new Error();
      for (let i = 0; i < rules.length; ++i) {
        const rule = replaceInValues(rules[i], inStyle, newCode);
        if (rule === rules[i]) continue;
        sheet.deleteRule(i);
        sheet.insertRule(rule, i);
      }
      sheetTexts.set(node, next);
    } catch (e) {
      sheetTexts.delete(node);
      node.data = next;
    }
  }

  // The attributes of the page's markup that give a colour, and the property
  // each paints, where it paints one of the element itself.
  const colourAttributes = ['bgcolor', 'color', 'text', 'link', 'vlink', 'alink'];
  const paintedProperty = {bgcolor: 'background-color', color: 'color', text: 'color'};

  // The parts painted ahead of the page's next version: per element, its
  // style attribute before (null: none) and the colour properties it now
  // has over it. Changing the attributes themselves would have the engine
  // match the style sheet's rules that name them again on every part of the
  // page, for every frame; a property of the element's own style is
  // painted without.
  const painted = new Map();

  function paint(element, property, code) {
    if (!painted.has(element)) {
      painted.set(element, {style: element.getAttribute('style'), properties: new Map()});
    }
    painted.get(element).properties.set(property, code);
    element.style.setProperty(property, code);
  }

  // Takes the painted properties off, as the page's file has the elements.
  function unpaint() {
    for (const [element, {style}] of painted) {
      // The engine writes properties set on an element's style into its
      // attribute only once read, and would write an empty one back after
      // the attribute's removal: setting it first settles that.
      element.setAttribute('style', style ?? '');
      if (style === null) element.removeAttribute('style');
    }
  }

  function repaint(elements = painted.keys()) {
    for (const element of elements) {
      for (const [property, code] of painted.get(element).properties) {
        element.style.setProperty(property, code);
      }
    }
  }

  // A code the page's own style attribute holds, as the page's next version
  // will have it; the painted properties stay over it.
  function replaceInStyleAttribute(element, inStyle, newCode) {
    const before = painted.get(element);
    const style = before ? before.style : element.getAttribute('style');
    if (style === null || style.search(inStyle) < 0) return;
    const next = style.replace(inStyle, newCode);
    element.setAttribute('style', next);
    if (!before) return;
    before.style = next;
    repaint([element]);
  }

  // A plain code as the engine gives a colour it has computed.
  const rgbOf = (code) =>
    `rgb(${[1, 3, 5].map((i) => parseInt(code.slice(i, i + 2), 16)).join(', ')})`;

  function inView(element) {
    const box = element.getBoundingClientRect();
    return box.bottom >= 0 && box.top <= innerHeight && box.right >= 0 && box.left <= innerWidth;
  }

  function anticipate(oldCode, newCode) {
    const plain = /^#[0-9A-Fa-f]{6}$/;
    if (!plain.test(oldCode) || !plain.test(newCode)) return;
    noteScriptChanges(observer.takeRecords());
    const inStyle = codeInStyle(oldCode);
    // Only the attributes that paint a colour: the engine's selector matching
    // finds them in a few milliseconds on a long page, where a query for any
    // attribute took some 20. Another attribute holding the code paints
    // nothing, and the page's next version sets it anyway.
    const holders = new Set(document.querySelectorAll(
        colourAttributes.map((name) => `[${name}="${oldCode}"]`).join(',') +
        `,[style*="${oldCode}"]`));
    for (const element of painted.keys()) holders.add(element);
    // And only what is in view: the engine's work for a frame grows with the
    // parts whose colour changes, and a thousand cells out of view would
    // triple it. The page's next version, read once the colours rest, paints
    // the rest.
    const shown = [...holders].filter(inView);
    const oldColour = rgbOf(oldCode);
    // Only where the old colour is what shows: a style rule may paint over
    // the attribute, as it will over the new code.
    const toPaint = [];
    for (const element of shown) {
      const scripted = setByScripts.get(element);
      const ours = (name) => !scripted || !scripted.has(name);
      const computed = getComputedStyle(element);
      const now = painted.get(element)?.properties;
      for (const name of colourAttributes) {
        const property = paintedProperty[name];
        const holds = element.getAttribute(name) === oldCode && ours(name);
        if (property === undefined || (name === 'text' && element !== document.body)) {
          if (holds) element.setAttribute(name, newCode);
        } else if ((holds && !now?.has(property)) || now?.get(property) === oldCode) {
          if (computed.getPropertyValue(property) === oldColour) toPaint.push([element, property]);
        }
      }
    }
    for (const [element, property] of toPaint) paint(element, property, newCode);
    for (const element of shown) {
      const scripted = setByScripts.get(element);
      if (!scripted || !scripted.has('style')) replaceInStyleAttribute(element, inStyle, newCode);
    }
    for (const style of document.getElementsByTagName('style')) {
      for (const node of style.childNodes) {
        if (node.nodeType === Node.TEXT_NODE) anticipateInSheet(node, oldCode, newCode, inStyle);
      }
    }
    // These changes are the preview's, not the page's scripts'.
    observer.takeRecords();
  }

  // The colours asked for since the last frame, [old, new] in the order
  // asked. A held key asks some thirty times a second, and on a long page
  // each change takes the engine most of a frame; a colour moved on before it
  // was painted goes straight to where it ended, so a busy engine paints one
  // change a frame instead of falling behind the key.
  const coloursToPaint = [];

  function anticipateAtNextFrame(oldCode, newCode) {
    ++anticipations;
    const last = coloursToPaint[coloursToPaint.length - 1];
    if (last && last[1] === oldCode) {
      last[1] = newCode;
      return;
    }
    if (coloursToPaint.length === 0) requestAnimationFrame(paintAnticipated);
    coloursToPaint.push([oldCode, newCode]);
  }

  function paintAnticipated() {
    for (const [oldCode, newCode] of coloursToPaint.splice(0)) {
      if (oldCode !== newCode) anticipate(oldCode, newCode);
    }
  }

  function update(address, number) {
    const anticipatedBefore = anticipations;
    const request = new XMLHttpRequest();
    request.open('GET', address);
    // As a document, the file is decoded as a load decodes it.
    request.responseType = 'document';
    request.onerror = () => say('reload:', number);
    request.onload = () => {
      const next = request.response;
      if (!next || !next.documentElement) return say('reload:', number);
      say('read:', number);
      // The page on show as its file has it, with the colours anticipated in
      // its style sheets, to compare with its new version; nothing is drawn
      // before the painted parts are back.
      paintAnticipated();
      noteScriptChanges(observer.takeRecords());
      unpaint();
      const changes = [];
      const same = next.compatMode === document.compatMode &&
                   next.characterSet === document.characterSet &&
                   compareTrees(document.documentElement, next.documentElement, changes);
      // A colour anticipated meanwhile is newer than this version; the
      // version written for it follows.
      if (same && anticipations === anticipatedBefore) {
        applyChanges(changes);
        painted.clear();
      } else {
        repaint();
      }
      // These changes are the preview's, not the page's scripts'.
      observer.takeRecords();
      if (!same) return say('reload:', number);
      sayOnceDrawn(number);
    };
    request.send();
  }

  window.vorlindoUpdate = update;
  window.vorlindoAnticipate = anticipateAtNextFrame;
})
