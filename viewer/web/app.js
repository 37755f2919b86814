// The live panel's page: draws the windows from the pictures the server
// sends, passes the mouse on in window pixels, and shows and sets the
// variables. Every change goes to the server as a line in the scenario
// language; the server's state comes back and is shown as it is.
'use strict';

const $ = (id) => document.getElementById(id);
const state = {
  socket: null,
  layout: null,
  windows: [],          // {canvas, ctx, width, height, chain}
  zoom: 'fit',
  running: true,
  pressed: null,        // window index while the button is held
  pendingMove: null,
  vars: new Map(),      // id -> {row, value, editing}
  shared: new Map(),
  scenario: null,       // layout's scenario: name, lines, phases
  open: new Map(),      // windows opened or closed by hand, by kind and number
  windowsSignature: '',
};

// --- The connection ----------------------------------------------------------

function connect() {
  const socket = new WebSocket(`ws://${location.host}/live`);
  socket.binaryType = 'arraybuffer';
  socket.onopen = () => { $('connection').textContent = 'live'; $('connection').className = ''; };
  socket.onclose = () => {
    $('connection').textContent = 'disconnected';
    $('connection').className = 'bad';
    state.socket = null;
    setTimeout(connect, 1000);
  };
  socket.onmessage = (e) => {
    if (typeof e.data === 'string') message(JSON.parse(e.data));
    else picture(e.data);
  };
  state.socket = socket;
}

function send(line) {
  if (state.socket && state.socket.readyState === WebSocket.OPEN) state.socket.send(line);
}

function message(m) {
  if (m.t === 'layout') layout(m);
  else if (m.t === 'state') update(m);
  else if (m.t === 'error') note(m.message);
  else if (m.t === 'recording') offerRecording(m);
}

function note(text) {
  $('message').textContent = text;
}

// --- Windows and pictures -----------------------------------------------------

function layout(m) {
  state.layout = m;
  buildWindows(m.windows);
  applyZoom();
  $('light').value = m.light;
  // Scenarios offered, and the one playing.
  const select = $('scenario-name');
  const chosen = select.value;
  select.textContent = '';
  for (const name of m.scenarios) select.append(new Option(name, name));
  if (m.scenarios.includes(chosen)) select.value = chosen;
  $('scenario-play').disabled = m.scenarios.length === 0;
  state.scenario = m.scenario;
  if (m.scenario) select.value = m.scenario.name;
  const timeline = $('timeline');
  timeline.disabled = !m.scenario;
  timeline.max = m.scenario ? m.scenario.lines : 1;
  $('scenario-stop').disabled = !m.scenario;
  const phases = $('phases');
  phases.textContent = '';
  for (const [line, title] of (m.scenario ? m.scenario.phases : [])) {
    const b = document.createElement('button');
    b.textContent = title;
    b.dataset.line = line;
    b.onclick = () => send('seek ' + line);
    phases.append(b);
  }
  // Models: one switch for all, and each.
  const each = $('models-each');
  each.textContent = '';
  for (const model of m.models) {
    const label = document.createElement('label');
    label.title = model.meaning;
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.dataset.model = model.name;
    box.onchange = () => send(`model ${model.name} ${box.checked ? 'on' : 'off'}`);
    label.append(box, ' ' + model.name + ' — ' + model.meaning);
    each.append(label);
  }
  // Variables are sent whole after a layout.
  $('vars').tBodies[0].textContent = '';
  $('shared').tBodies[0].textContent = '';
  state.vars.clear();
  state.shared.clear();
  if (m.problems.length) {
    note(`${m.problems.length} notes on the panel (point here to read them)`);
    $('message').title = m.problems.join('\n');
  }
  if (typeof studio !== 'undefined') studio.layout(m);
}

// Windows as the simulator shows them: those that start visible (visible=1)
// in place, the others, and the virtual cockpit's textures, as pop-ups that
// the Windows menu opens and closes, as the simulator's View > Instrument
// Panel menu does; Shift+1 to Shift+9 open and close Window00 to Window08.
// A window whose picture keeps its size keeps its canvas (and what is drawn
// on it) when the layout changes.
function buildWindows(list) {
  const signature = JSON.stringify(list.map((w) => [w.kind, w.number, w.visible, w.title, w.width, w.height]));
  if (signature === state.windowsSignature) {
    state.windows.forEach((win, i) => { win.info = list[i]; });
    return;
  }
  state.windowsSignature = signature;
  const panel = $('panel');
  const old = state.windows;
  panel.textContent = '';
  for (const popup of document.querySelectorAll('.window.popup')) popup.remove();
  state.windows = list.map((w, i) => {
    const was = old[i];
    const popup = w.kind !== 'window' || !w.visible;
    const id = w.kind + w.number;
    const box = document.createElement('div');
    box.className = 'window' + (popup ? ' popup' : '');
    box.dataset.window = i;
    const title = document.createElement('div');
    title.className = 'title';
    const name = document.createElement('span');
    name.textContent = w.title;
    title.append(name);
    const key = windowKey(w);
    if (key) {
      const hint = document.createElement('span');
      hint.className = 'key';
      hint.textContent = key;
      title.append(hint);
    }
    const close = document.createElement('button');
    close.className = 'small close';
    close.textContent = '×';
    close.title = 'Close (the Windows menu opens it again)';
    close.onclick = () => showWindow(i, false);
    title.append(close);
    let canvas;
    if (was && was.width === w.width && was.height === w.height) {
      canvas = was.canvas;
    } else {
      canvas = document.createElement('canvas');
      canvas.id = 'window' + i;
      canvas.width = w.width;
      canvas.height = w.height;
      mouse(canvas, i);
    }
    const frame = document.createElement('div');
    frame.className = 'frame';
    const overlay = document.createElement('div');
    overlay.className = 'overlay';
    frame.append(canvas, overlay);
    box.append(title, frame);
    if (popup) {
      document.body.append(box);
      dragByTitle(box, title);
    } else {
      panel.append(box);
    }
    const open = state.open.has(id) ? state.open.get(id) : !popup;
    const win = { canvas, ctx: canvas.getContext('2d'), width: w.width, height: w.height,
                  chain: was && was.canvas === canvas ? was.chain : Promise.resolve(),
                  box, overlay, popup, id, info: w, placed: false };
    box.hidden = !open;
    return win;
  });
  for (const win of state.windows) if (!win.box.hidden && win.popup) placePopup(win);
  windowMenu();
}

// The key the simulator gives a window: Shift+1 to Shift+9 for Window00 to
// Window08 (docs/live.md, "Windows").
function windowKey(w) {
  return w.kind === 'window' && w.number < 9 ? 'Shift+' + (w.number + 1) : '';
}

function showWindow(i, open) {
  const win = state.windows[i];
  if (!win) return;
  win.box.hidden = !open;
  state.open.set(win.id, open);
  if (open && win.popup) placePopup(win);
  applyZoom();
  windowMenu();
}

// A pop-up opens where its window's `position` puts it (0 top left to 8
// bottom right, row by row), within the panel's part of the page.
function placePopup(win) {
  if (win.placed) return;
  win.placed = true;
  const keys = win.info.keys || {};
  const position = /^[0-8]$/.test((keys.position || '').trim()) ? +keys.position.trim() : 0;
  const room = $('panel').getBoundingClientRect();
  const r = win.box.getBoundingClientRect();
  const col = position % 3, row = Math.floor(position / 3);
  win.box.style.left = Math.max(0, room.left + col * Math.max(0, room.width - r.width) / 2) + 'px';
  win.box.style.top = Math.max(0, room.top + row * Math.max(0, room.height - r.height) / 2) + 'px';
}

function dragByTitle(box, title) {
  title.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || e.target.tagName === 'BUTTON') return;
    const r = box.getBoundingClientRect();
    const dx = e.clientX - r.left, dy = e.clientY - r.top;
    title.setPointerCapture(e.pointerId);
    const move = (ev) => {
      box.style.left = Math.max(0, ev.clientX - dx) + 'px';
      box.style.top = Math.max(0, ev.clientY - dy) + 'px';
    };
    const up = () => {
      title.removeEventListener('pointermove', move);
      title.removeEventListener('pointerup', up);
    };
    title.addEventListener('pointermove', move);
    title.addEventListener('pointerup', up);
    for (const other of document.querySelectorAll('.window.popup')) other.classList.remove('front');
    box.classList.add('front');
  });
}

// The Windows menu: every window by its title, with its key.
function windowMenu() {
  const list = $('window-list');
  list.textContent = '';
  state.windows.forEach((win, i) => {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = !win.box.hidden;
    box.dataset.window = i;
    box.onchange = () => showWindow(i, box.checked);
    const key = windowKey(win.info);
    label.append(box, ' ' + win.info.title + (win.info.kind === 'window' ? '' : ' (virtual cockpit)') +
                 (key ? '  ' + key : ''));
    list.append(label);
  });
}

// The pictures of one update: each a 16-byte header (window, x, y, width,
// height, 0 as 16-bit words, then the PNG's length as 32 bits), then the PNG.
function picture(buffer) {
  const h = new DataView(buffer);
  for (let at = 0; at + 16 <= buffer.byteLength;) {
    const [w, x, y] = [h.getUint16(at, true), h.getUint16(at + 2, true), h.getUint16(at + 4, true)];
    const length = h.getUint32(at + 12, true);
    const png = buffer.slice(at + 16, at + 16 + length);
    at += 16 + length;
    const win = state.windows[w];
    if (!win) continue;
    // Pictures are drawn in the order they came, each as soon as decoded.
    const decoded = createImageBitmap(new Blob([png], { type: 'image/png' }));
    win.chain = win.chain.then(() => decoded).then((bitmap) => {
      win.ctx.drawImage(bitmap, x, y);
      bitmap.close();
    }, () => {});
  }
}

function applyZoom() {
  const zoom = $('zoom').value;
  for (const win of state.windows) {
    let scale = parseFloat(zoom);
    if (zoom === 'fit') {
      const room = $('panel').clientWidth - 24;
      scale = Math.min(1, room / win.width);
    }
    win.canvas.style.width = Math.round(win.width * scale) + 'px';
    win.canvas.style.height = Math.round(win.height * scale) + 'px';
  }
}

// --- The mouse ----------------------------------------------------------------

// The point in the window's own pixels.
function windowPoint(canvas, e) {
  const r = canvas.getBoundingClientRect();
  return [Math.floor((e.clientX - r.left) * canvas.width / r.width),
          Math.floor((e.clientY - r.top) * canvas.height / r.height)];
}

// The entry on top at a point, its area there (first in list order) and the
// point in the gauge's pixels, as the server finds them.
function areaAt(w, x, y) {
  if (!state.layout) return null;
  const entries = state.layout.entries.filter((e) => e.window === w && e.loaded);
  for (let i = entries.length - 1; i >= 0; --i) {
    const e = entries[i];
    if (x < e.x || y < e.y || x >= e.x + e.width || y >= e.y + e.height) continue;
    const gx = Math.floor((x - e.x) / e.sx), gy = Math.floor((y - e.y) / e.sy);
    const area = e.areas.find((a) => gx >= a.x && gy >= a.y && gx < a.x + a.width && gy < a.y + a.height);
    return { entry: e, area, tip: (area && area.tooltip) || e.tooltip || e.module };
  }
  return null;
}

function mouse(canvas, w) {
  const tip = $('tip');
  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    canvas.setPointerCapture(e.pointerId);
    state.pressed = w;
    const [x, y] = windowPoint(canvas, e);
    send(`press ${w} ${x} ${y}`);
    e.preventDefault();
  });
  canvas.addEventListener('pointermove', (e) => {
    const [x, y] = windowPoint(canvas, e);
    if (state.pressed === w) {
      // One move a frame of the page is plenty.
      if (!state.pendingMove) requestAnimationFrame(() => { send(state.pendingMove); state.pendingMove = null; });
      state.pendingMove = `move ${w} ${x} ${y}`;
      return;
    }
    const hit = areaAt(w, x, y);
    canvas.style.cursor = hit && hit.area ? hit.area.cursor : 'default';
    if (hit) {
      tip.textContent = hit.tip;
      tip.style.left = e.clientX + 14 + 'px';
      tip.style.top = e.clientY + 16 + 'px';
      tip.style.display = 'block';
    } else {
      tip.style.display = 'none';
    }
  });
  canvas.addEventListener('pointerleave', () => { tip.style.display = 'none'; });
  const up = () => {
    if (state.pressed !== w) return;
    state.pressed = null;
    if (state.pendingMove) { send(state.pendingMove); state.pendingMove = null; }
    send('release');
  };
  canvas.addEventListener('pointerup', up);
  canvas.addEventListener('pointercancel', up);
}

// --- State: time, variables, log ------------------------------------------------

function update(m) {
  if ('frame' in m) {
    state.running = m.running;
    $('run').textContent = m.running ? 'Pause' : 'Run';
    $('speed').value = String(m.speed);
    $('clock').textContent = `frame ${m.frame}  tick ${m.tick}  ${m.fps} fps`;
  }
  if (m.shared) for (const s of m.shared) sharedRow(s);
  if (m.vars) for (const v of m.vars) varRow(v);
  if (m.log) for (const l of m.log) logLine(l);
  if (m.models) {
    let all = m.models.length > 0;
    for (const [name, on] of m.models) {
      const box = document.querySelector(`#models-each input[data-model="${name}"]`);
      if (box) box.checked = on;
      all = all && on;
    }
    $('models').checked = all;
  }
  if ('scenario' in m) scenarioStatus(m.scenario);
  if ('recording' in m) recordingStatus(m.recording);
  if ('watch' in m) watchStatus(m.watch);
  if (typeof studio !== 'undefined') studio.state(m);
}

// A row with a value, a field to type a new one and, where the range is
// known, a slider; `command` makes the line that sets it.
function editor(row, command, min, max) {
  const cell = row.insertCell();
  cell.className = 'set';
  const field = document.createElement('input');
  field.type = 'text';
  field.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' && field.value.trim() !== '') { send(command(field.value.trim())); field.blur(); }
  });
  cell.append(field);
  if (min !== undefined && max !== undefined) {
    const slider = document.createElement('input');
    slider.type = 'range';
    slider.min = min;
    slider.max = max;
    slider.step = max - min <= 2 ? 1 : 'any';
    slider.addEventListener('input', () => send(command(slider.value)));
    cell.append(slider);
    row.slider = slider;
  }
  row.field = field;
}

function varRow(v) {
  let r = state.vars.get(v.id);
  if (!r) {
    const body = $('vars').tBodies[0];
    const row = document.createElement('tr');
    row.dataset.id = v.id;
    row.insertCell().className = 'id';
    row.insertCell().className = 'name';
    row.insertCell().className = 'value';
    row.cells[0].textContent = v.id;
    row.cells[1].textContent = v.name || '';
    editor(row, (value) => v.bcd && !/^bcd /.test(value) ? `set ${v.id} bcd ${value}` : `set ${v.id} ${value.replace(/^bcd /, 'bcd ')}`,
           v.min, v.max);
    // Rows in the order of their ids.
    const n = parseInt(v.id, 16);
    const after = [...body.rows].find((x) => parseInt(x.dataset.id, 16) > n);
    body.insertBefore(row, after || null);
    r = { row };
    state.vars.set(v.id, r);
  }
  r.row.cells[2].textContent = v.v;
  if (r.row.slider && document.activeElement !== r.row.slider && isFinite(parseFloat(v.v))) r.row.slider.value = v.v;
}

function sharedRow(s) {
  let r = state.shared.get(s.name);
  if (!r) {
    const row = $('shared').tBodies[0].insertRow();
    row.dataset.name = s.name;
    row.insertCell().className = 'id';
    row.insertCell().className = 'value';
    row.insertCell().className = 'name';
    row.insertCell().className = 'name';
    row.cells[0].textContent = s.name;
    editor(row, (value) => `shared ${s.name} ${value}`);
    r = { row };
    state.shared.set(s.name, r);
  }
  r.row.cells[1].textContent = s.v;
  r.row.cells[2].textContent = s.owner;
  r.row.cells[3].textContent = s.binders.join(', ');
}

function logLine(l) {
  const li = document.createElement('li');
  li.className = l.k;
  if (l.g) {
    const g = document.createElement('span');
    g.className = 'gauge';
    g.textContent = l.g + ': ';
    li.append(g);
  }
  li.append(l.text);
  const log = $('log');
  log.prepend(li);
  while (log.childElementCount > 200) log.lastElementChild.remove();
  if (l.sound && $('sound').checked && state.layout && state.layout.sounds) {
    new Audio('/sound/' + encodeURIComponent(l.sound)).play().catch(() => {});
  }
}

function scenarioStatus(s) {
  const status = $('scenario-status');
  if (!s || !state.scenario) { status.textContent = ''; return; }
  const timeline = $('timeline');
  if (document.activeElement !== timeline) timeline.value = s.line;
  let text = `line ${s.line} of ${state.scenario.lines}, frame ${s.frames}, ${s.expectations} expectations, ${s.failures} failed`;
  if (s.finished) text += s.error ? ' — stopped: ' + s.error : ' — ended';
  status.textContent = text;
  let current = null;
  for (const b of $('phases').children) {
    if (+b.dataset.line <= s.line) current = b;
    b.classList.remove('current');
  }
  if (current) current.classList.add('current');
}

// --- Controls -------------------------------------------------------------------

$('run').onclick = () => send(state.running ? 'pause' : 'run');
$('step').onclick = () => send('step');
$('slow').onclick = () => send('slow');
$('speed').onchange = () => send('speed ' + $('speed').value);
$('reset').onclick = () => send('reset');
$('models').onchange = () => send(`model all ${$('models').checked ? 'on' : 'off'}`);
$('light').onchange = () => send('light ' + $('light').value);
$('zoom').onchange = applyZoom;
window.addEventListener('resize', applyZoom);
$('scenario-play').onclick = () => send('scenario ' + $('scenario-name').value);
$('scenario-stop').onclick = () => send('stop');
$('timeline').onchange = () => send('seek ' + $('timeline').value);
$('clear-log').onclick = () => { $('log').textContent = ''; };
// Shift+1 to Shift+9 open and close Window00 to Window08, as in the simulator.
document.addEventListener('keydown', (e) => {
  if (!e.shiftKey || e.ctrlKey || e.altKey || e.metaKey || !/^Digit[1-9]$/.test(e.code)) return;
  if (/^(INPUT|SELECT|TEXTAREA)$/.test(document.activeElement.tagName)) return;
  const number = +e.code.slice(5) - 1;
  const i = state.windows.findIndex((w) => w.info.kind === 'window' && w.info.number === number);
  if (i < 0) return;
  e.preventDefault();
  showWindow(i, state.windows[i].box.hidden);
});
$('add-var').onsubmit = (e) => {
  e.preventDefault();
  const id = $('add-id').value.trim();
  if (id) send('watch ' + id);
  $('add-id').value = '';
};

connect();
