// The panel studio: the live page's edit mode. It outlines every gauge's
// place (placeholders of missing modules too), selects, drags, resizes and
// nudges gauges, adds and removes them, changes the windows' keys, undoes,
// redoes and saves, and shows the findings of `kestrel check` on the gauges
// they concern. Every edit goes to the server as a session line (place, add,
// remove, window, undo, redo, save, reload: docs/live.md) and comes back as
// the layout: nothing here changes the panel by itself. Flying stays the
// default; the Edit button switches.
'use strict';

const studio = (() => {
  const s = {
    on: false,
    layout: null,
    file: null,          // the state's `file`: modified, undo, redo, conflict, backup
    selected: null,      // {window, number}: a window index and a gauge's NN
    editWindow: 0,       // the window index whose keys the form shows
    drag: null,          // a move or resize under way
    nudge: null,         // arrow keys pressed, not sent yet
    pendingSelect: null, // the gauge an `add` will give
    held: null,          // a layout that came during a drag
  };
  const $ = (id) => document.getElementById(id);

  // --- What the layout says --------------------------------------------------

  const entriesOf = (w) => (s.layout ? s.layout.entries.filter((e) => e.window === w) : []);
  const entry = (sel) => sel && s.layout.entries.find((e) => e.window === sel.window && e.number === sel.number);
  const windowInfo = (w) => s.layout.windows[w];
  const editable = (w) => s.layout && s.layout.editable && windowInfo(w) && windowInfo(w).kind === 'window';
  const checksOf = (w, number) => (s.layout.checks || []).filter((c) => c.window === w &&
                                                                  (number === undefined ? c.entry === undefined : c.entry === number));

  // --- Session lines ---------------------------------------------------------

  function place(e, x, y, w, h) {
    const nn = windowInfo(e.window).number;
    let line = `place ${nn} ${e.number} ${Math.round(x)} ${Math.round(y)}`;
    if (w !== undefined) line += ` ${Math.max(1, Math.round(w))} ${Math.max(1, Math.round(h))}`;
    else if (e.given[0] > 0) line += ` ${e.given[0]}` + (e.given[1] > 0 ? ` ${e.given[1]}` : '');
    send(line);
  }

  // --- Outlines on every window ------------------------------------------------

  function layout(m) {
    if (s.drag) { s.held = m; return; }
    s.layout = m;
    if (s.pendingSelect) {
      const list = entriesOf(s.pendingSelect.window);
      if (list.length > s.pendingSelect.count) s.selected = { window: s.pendingSelect.window, number: list[list.length - 1].number };
      s.pendingSelect = null;
    }
    if (s.selected && !entry(s.selected)) s.selected = null;
    if (!windowInfo(s.editWindow) || windowInfo(s.editWindow).kind !== 'window') s.editWindow = 0;
    $('edit-toggle').disabled = !m.editable;
    $('edit-toggle').title = m.editable ? $('edit-toggle').title : 'This panel file cannot be edited: ' + m.not_editable;
    outlines();
    modules();
    windowForm();
    checks();
    selection();
  }

  function outlines() {
    state.windows.forEach((win, w) => {
      const overlay = win.overlay;
      overlay.textContent = '';
      if (!overlay.dataset.bound) bindOverlay(overlay, w);
      for (const e of entriesOf(w)) {
        const box = document.createElement('div');
        box.className = 'box' + (e.loaded ? '' : ' missing');
        box.dataset.number = e.number;
        setBox(box, w, e.x, e.y, e.width, e.height);
        const label = document.createElement('span');
        label.className = 'label';
        label.textContent = e.loaded ? String(e.number).padStart(2, '0') : `${e.number} ${e.module}`;
        box.append(label);
        const found = checksOf(w, e.number);
        if (found.some((c) => c.severity === 'error')) box.classList.add('error');
        else if (found.some((c) => c.severity === 'warning')) box.classList.add('warning');
        box.title = `gauge${String(e.number).padStart(2, '0')}=${e.module}${e.gauge ? '!' + e.gauge : ''}` +
                    found.map((c) => `\n${c.severity}: ${c.message}`).join('');
        if (s.selected && s.selected.window === w && s.selected.number === e.number) {
          box.classList.add('selected');
          for (const corner of ['nw', 'ne', 'sw', 'se']) {
            const handle = document.createElement('div');
            handle.className = 'handle ' + corner;
            handle.dataset.corner = corner;
            box.append(handle);
          }
        }
        overlay.append(box);
      }
    });
  }

  // A box in the window's pixels, as fractions of the window so that it
  // follows the zoom.
  function setBox(box, w, x, y, width, height) {
    const info = windowInfo(w);
    box.style.left = (100 * x / info.width) + '%';
    box.style.top = (100 * y / info.height) + '%';
    box.style.width = (100 * width / info.width) + '%';
    box.style.height = (100 * height / info.height) + '%';
  }

  function boxElement(sel) {
    const win = state.windows[sel.window];
    return win && win.overlay.querySelector(`.box[data-number="${sel.number}"]`);
  }

  // --- The mouse: select, move, resize ------------------------------------------

  // A point of the window in its own pixels, not rounded.
  function point(overlay, w, ev) {
    const r = overlay.getBoundingClientRect();
    const info = windowInfo(w);
    return [(ev.clientX - r.left) * info.width / r.width, (ev.clientY - r.top) * info.height / r.height];
  }

  // The entry drawn on top at a point (the last in its window), loaded or not.
  function entryAt(w, x, y) {
    const list = entriesOf(w);
    for (let i = list.length - 1; i >= 0; --i) {
      const e = list[i];
      if (x >= e.x && y >= e.y && x < e.x + e.width && y < e.y + e.height) return e;
    }
    return null;
  }

  function bindOverlay(overlay, w) {
    overlay.dataset.bound = '1';
    overlay.addEventListener('pointerdown', (ev) => {
      if (ev.button !== 0 || !s.on) return;
      ev.preventDefault();
      const [x, y] = point(overlay, w, ev);
      const corner = ev.target.dataset.corner;
      const e = corner ? entry(s.selected) : entryAt(w, x, y);
      s.editWindow = w;
      if (!e) {
        select(null);
        windowForm();
        return;
      }
      if (!corner) select({ window: w, number: e.number });
      if (!editable(w)) return;
      overlay.setPointerCapture(ev.pointerId);
      s.drag = { w, e, corner, overlay, start: [x, y], from: { x: e.x, y: e.y, w: e.width, h: e.height }, moved: false };
      s.drag.now = { ...s.drag.from };
    });
    overlay.addEventListener('pointermove', (ev) => {
      const d = s.drag;
      if (!d || d.overlay !== overlay) return;
      const [x, y] = point(overlay, w, ev);
      const dx = x - d.start[0], dy = y - d.start[1];
      if (!d.moved && Math.abs(dx) < 2 && Math.abs(dy) < 2) return;
      if (!d.moved) {
        d.moved = true;
        ghost(d);
      }
      d.now = d.corner ? resized(d, dx, dy, ev.shiftKey) : { ...d.from, x: d.from.x + dx, y: d.from.y + dy };
      d.now.x = Math.round(d.now.x);
      d.now.y = Math.round(d.now.y);
      d.now.w = Math.round(d.now.w);
      d.now.h = Math.round(d.now.h);
      const box = boxElement({ window: w, number: d.e.number });
      if (box) setBox(box, w, d.now.x, d.now.y, d.now.w, d.now.h);
      fields(d.now);
    });
    const up = () => {
      const d = s.drag;
      if (!d || d.overlay !== overlay) return;
      s.drag = null;
      if (d.moved) {
        if (d.corner) place(d.e, d.now.x, d.now.y, d.now.w, d.now.h);
        else place(d.e, d.now.x, d.now.y);
      }
      if (s.held) {
        const m = s.held;
        s.held = null;
        layout(m);
      }
    };
    overlay.addEventListener('pointerup', up);
    overlay.addEventListener('pointercancel', up);
  }

  // The gauge's picture goes with the box while it is dragged.
  function ghost(d) {
    const box = boxElement({ window: d.w, number: d.e.number });
    if (!box || !d.e.loaded) return;
    const win = state.windows[d.w];
    const c = document.createElement('canvas');
    c.className = 'ghost';
    c.width = Math.max(1, Math.round(d.from.w));
    c.height = Math.max(1, Math.round(d.from.h));
    c.getContext('2d').drawImage(win.canvas, d.from.x, d.from.y, d.from.w, d.from.h, 0, 0, c.width, c.height);
    box.prepend(c);
  }

  // A corner dragged by (dx, dy); with Shift the box keeps its proportions.
  function resized(d, dx, dy, keep) {
    const f = d.from;
    const west = d.corner[1] === 'w', north = d.corner[0] === 'n';
    let w = Math.max(1, f.w + (west ? -dx : dx));
    let h = Math.max(1, f.h + (north ? -dy : dy));
    if (keep && f.w > 0 && f.h > 0) {
      const ratio = f.w / f.h;
      if (w / h > ratio) h = w / ratio; else w = h * ratio;
    }
    return { x: west ? f.x + f.w - w : f.x, y: north ? f.y + f.h - h : f.y, w, h };
  }

  // --- Selection, fields, keys ----------------------------------------------------

  function select(sel) {
    s.selected = sel;
    if (sel) s.editWindow = sel.window;
    outlines();
    selection();
    windowForm();
  }

  function fields(box) {
    for (const [id, v] of [['field-x', box.x], ['field-y', box.y], ['field-w', box.w], ['field-h', box.h]])
      if (document.activeElement !== $(id)) $(id).value = v === undefined ? '' : Math.round(v);
  }

  function selection() {
    const e = entry(s.selected);
    const text = $('selection');
    $('gauge-fields').hidden = !e;
    $('gauge-checks').textContent = '';
    if (!e) {
      text.textContent = 'Click a gauge to select it; drag it to move it, its corners to resize it (Shift keeps ' +
                         'its shape), arrows nudge it by 1 pixel (Shift: 10).';
      return;
    }
    const nn = String(e.number).padStart(2, '0');
    const own = e.natural[0] > 0 ? `own size ${e.natural[0]}×${e.natural[1]}` : 'module not loaded: drawn as a placeholder';
    text.textContent = `gauge${nn} of ${windowInfo(e.window).title} — ${e.module}${e.gauge ? '!' + e.gauge : ''}\n` +
                       `box ${e.x}, ${e.y}, ${Math.round(e.width)}×${Math.round(e.height)} (${own})\n` +
                       `line ${e.line} of ${s.layout.panel.split('/').pop()}`;
    fields({ x: e.x, y: e.y, w: e.given[0] || undefined, h: e.given[1] || undefined });
    $('field-w').placeholder = String(Math.round(e.width));
    $('field-h').placeholder = String(Math.round(e.height));
    for (const c of checksOf(e.window, e.number)) $('gauge-checks').append(checkItem(c));
    for (const id of ['field-x', 'field-y', 'field-w', 'field-h', 'own-size', 'remove']) $(id).disabled = !editable(e.window);
  }

  function fromFields() {
    const e = entry(s.selected);
    if (!e) return;
    const x = parseInt($('field-x').value, 10), y = parseInt($('field-y').value, 10);
    const w = parseInt($('field-w').value, 10), h = parseInt($('field-h').value, 10);
    if (!Number.isFinite(x) || !Number.isFinite(y)) return note('x and y are whole numbers');
    if (!Number.isFinite(w)) return send(`place ${windowInfo(e.window).number} ${e.number} ${x} ${y}`);
    send(`place ${windowInfo(e.window).number} ${e.number} ${x} ${y} ${w}` + (Number.isFinite(h) ? ` ${h}` : ''));
  }

  // Arrow keys move the selected gauge at once on the page; the line goes
  // when they rest, so that a run of presses is one edit.
  function nudge(dx, dy) {
    const e = entry(s.selected);
    if (!e || !editable(e.window)) return;
    if (!s.nudge || s.nudge.e !== e) s.nudge = { e, x: e.x, y: e.y };
    s.nudge.x += dx;
    s.nudge.y += dy;
    const box = boxElement(s.selected);
    if (box) setBox(box, e.window, s.nudge.x, s.nudge.y, e.width, e.height);
    fields({ x: s.nudge.x, y: s.nudge.y, w: e.given[0] || undefined, h: e.given[1] || undefined });
    clearTimeout(s.nudge.timer);
    s.nudge.timer = setTimeout(() => {
      const n = s.nudge;
      s.nudge = null;
      place(n.e, n.x, n.y);
    }, 350);
  }

  function remove() {
    const e = entry(s.selected);
    if (!e || !editable(e.window)) return;
    select(null);
    send(`remove ${windowInfo(e.window).number} ${e.number}`);
  }

  function keydown(ev) {
    if (!s.on) return;
    const typing = /^(INPUT|SELECT|TEXTAREA)$/.test(document.activeElement.tagName);
    const ctrl = ev.ctrlKey || ev.metaKey;
    if (ctrl && !ev.altKey) {
      const k = ev.key.toLowerCase();
      if (k === 's') { ev.preventDefault(); send('save'); return; }
      if (typing) return;
      if (k === 'z' && !ev.shiftKey) { ev.preventDefault(); send('undo'); return; }
      if (k === 'y' || (k === 'z' && ev.shiftKey)) { ev.preventDefault(); send('redo'); return; }
      return;
    }
    if (typing || ev.altKey) return;
    const step = ev.shiftKey ? 10 : 1;
    const moves = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step] };
    if (moves[ev.key] && s.selected) {
      ev.preventDefault();
      nudge(...moves[ev.key]);
    } else if ((ev.key === 'Delete' || ev.key === 'Backspace') && s.selected) {
      ev.preventDefault();
      remove();
    } else if (ev.key === 'Escape') {
      select(null);
    }
  }

  // --- Adding, windows, the file ------------------------------------------------------

  function modules() {
    const list = $('add-module');
    const chosen = list.value;
    list.textContent = '';
    for (const m of s.layout.modules || []) {
      const name = m.module + (m.gauge ? '!' + m.gauge : '');
      const size = m.width > 0 ? ` — ${m.width}×${m.height}` : ' — size unknown';
      const option = new Option(name + size, name);
      option.dataset.width = m.width;
      option.dataset.height = m.height;
      list.append(option);
    }
    if ([...list.options].some((o) => o.value === chosen)) list.value = chosen;
    $('add').disabled = list.options.length === 0;
  }

  // A module's gauge, at its own size, in the middle of the window shown in
  // the form; it is selected when it comes.
  function add() {
    const option = $('add-module').selectedOptions[0];
    const w = s.editWindow;
    if (!option || !editable(w)) return note('choose a module, and a window to add it to');
    const info = windowInfo(w);
    const mw = +option.dataset.width || 64, mh = +option.dataset.height || 64;
    const x = Math.max(0, Math.round((info.width - mw) / 2)), y = Math.max(0, Math.round((info.height - mh) / 2));
    s.pendingSelect = { window: w, count: entriesOf(w).length };
    send(`add ${info.number} ${option.value} ${x} ${y}`);
  }

  function windowForm() {
    const list = $('edit-window');
    list.textContent = '';
    s.layout.windows.forEach((w, i) => {
      if (w.kind === 'window') list.append(new Option(`Window${String(w.number).padStart(2, '0')} — ${w.title}`, i));
    });
    list.value = s.editWindow;
    const w = windowInfo(s.editWindow);
    const keys = (w && w.keys) || {};
    const size = (keys.size_mm || '').split(',').map((v) => v.trim());
    const set = (id, v) => { if (document.activeElement !== $(id)) $(id).value = v; };
    set('window-title', w ? w.title : '');
    set('window-width', size[0] || '');
    set('window-height', size[1] || '');
    set('window-position', /^[0-8]$/.test((keys.position || '').trim()) ? keys.position.trim() : '0');
    $('window-visible').checked = w ? w.visible : false;
    set('window-ident', keys.ident || '');
    set('window-file', keys.file || '');
    const rgb = (keys.background_color || '').split(',').map((v) => parseInt(v, 10));
    set('window-color', rgb.length === 3 && rgb.every(Number.isFinite)
      ? '#' + rgb.map((v) => Math.max(0, Math.min(255, v)).toString(16).padStart(2, '0')).join('')
      : (w && w.background) || '#000000');
    for (const input of $('window-fields').querySelectorAll('input, select')) input.disabled = !editable(s.editWindow);
  }

  function windowKey(key, value) {
    const w = windowInfo(s.editWindow);
    if (!w || !editable(s.editWindow)) return;
    send(`window ${w.number} ${key} ${value}`);
  }

  function addWindow() {
    const next = s.layout.windows.filter((w) => w.kind === 'window').length;
    s.editWindow = next;
    send(`window ${next} title Window ${String(next).padStart(2, '0')}`);
  }

  function checkItem(c) {
    const li = document.createElement('li');
    li.className = c.severity;
    li.textContent = (c.line > 0 ? `line ${c.line}: ` : '') + `${c.severity}: ${c.message}`;
    if (c.entry !== undefined) {
      li.classList.add('link');
      li.onclick = () => {
        if (state.windows[c.window] && state.windows[c.window].box.hidden) showWindow(c.window, true);
        select({ window: c.window, number: c.entry });
        const box = boxElement(s.selected);
        if (box) box.scrollIntoView({ block: 'center', inline: 'center' });
      };
    }
    return li;
  }

  function checks() {
    const list = $('checks');
    list.textContent = '';
    const all = s.layout.checks || [];
    for (const c of all) list.append(checkItem(c));
    const errors = all.filter((c) => c.severity === 'error').length;
    const warnings = all.filter((c) => c.severity === 'warning').length;
    $('check-count').textContent = all.length ? `${errors} errors, ${warnings} warnings` : 'no problems found';
  }

  // The state's word on the file.
  function stateMessage(m) {
    if (!m.file) return;
    s.file = m.file;
    $('undo').disabled = !m.file.undo;
    $('redo').disabled = !m.file.redo;
    $('file-status').textContent = m.file.modified ? 'edited, not saved' : m.file.backup ? 'saved' : 'as read';
    $('file-status').title = m.file.backup ? 'the file as it was is kept as ' + m.file.backup : '';
    $('conflict').hidden = !m.file.conflict;
    $('edit-toggle').classList.toggle('modified', m.file.modified);
  }

  function toggle(on) {
    s.on = on === undefined ? !s.on : on;
    document.body.classList.toggle('editing', s.on);
    $('studio').hidden = !s.on;
    $('edit-toggle').textContent = s.on ? 'Fly' : 'Edit panel';
    $('edit-toggle').classList.toggle('on', s.on);
    $('tip').style.display = 'none';
    if (s.layout) outlines();
  }

  // --- Controls ---------------------------------------------------------------------------

  $('edit-toggle').onclick = () => toggle();
  $('undo').onclick = () => send('undo');
  $('redo').onclick = () => send('redo');
  $('save').onclick = () => send('save');
  $('reload').onclick = () => {
    if (!s.file || !s.file.modified || confirm('Read panel.cfg again from disk? The edits not saved are lost.')) send('reload');
  };
  for (const id of ['field-x', 'field-y', 'field-w', 'field-h']) $(id).onchange = fromFields;
  $('own-size').onclick = () => {
    const e = entry(s.selected);
    if (e) send(`place ${windowInfo(e.window).number} ${e.number} ${e.x} ${e.y}`);
  };
  $('remove').onclick = remove;
  $('add').onclick = add;
  $('edit-window').onchange = () => { s.editWindow = +$('edit-window').value; windowForm(); };
  $('add-window').onclick = addWindow;
  $('window-title').onchange = () => windowKey('title', $('window-title').value.trim());
  const size = () => windowKey('size_mm', `${$('window-width').value.trim()} ${$('window-height').value.trim()}`.trim());
  $('window-width').onchange = size;
  $('window-height').onchange = size;
  $('window-position').onchange = () => windowKey('position', $('window-position').value);
  $('window-visible').onchange = () => {
    // The window being edited stays open, in place or as a pop-up.
    const win = state.windows[s.editWindow];
    if (win) state.open.set(win.id, true);
    windowKey('visible', $('window-visible').checked ? 1 : 0);
  };
  $('window-ident').onchange = () => windowKey('ident', $('window-ident').value.trim());
  $('window-file').onchange = () => windowKey('file', $('window-file').value.trim());
  $('window-color').onchange = () => {
    const v = $('window-color').value;
    windowKey('background_color', [1, 3, 5].map((i) => parseInt(v.slice(i, i + 2), 16)).join(' '));
  };
  document.addEventListener('keydown', keydown);

  return { layout, state: stateMessage, toggle, editing: () => s.on };
})();
