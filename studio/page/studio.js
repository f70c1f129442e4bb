// Morvessan Studio's page: controls made from the field table the server declares,
// a live preview that follows every edit (one request in flight, later edits merged
// into the next), and the library, presets, exports and commands over the studio's API.
'use strict';

const studio = {
  meta: null,          // the server's declarations: fields, textures, limits
  fields: {},          // every field's text, as the field table reads it back
  seq: 0,              // grows with each edit; the server drops overtaken previews
  page: Math.random().toString(36).slice(2) + Date.now().toString(36), // this tab, to the server
  inFlight: false,
  dirty: false,
  steps: [],           // transformation steps not yet sent
  editStarted: 0,      // when the oldest edit not yet shown was made
  timings: [],         // input-to-picture times in ms, the latest last
  previewUrl: null,
  chosenStop: 0,
  loopTimer: null,
  controls: {},        // field name -> function that shows the field's text
};
window.studio = studio;

const $ = (id) => document.getElementById(id);

function say(text, isError) {
  const line = $('message');
  line.textContent = text;
  line.classList.toggle('error', !!isError);
}

async function api(path, options = {}) {
  const response = await fetch('api/' + path, options);
  if (!response.ok) {
    let reason = response.status + ' ' + response.statusText;
    try { reason = (await response.json()).error || reason; } catch (_) { /* not JSON */ }
    const error = new Error(reason);
    error.status = response.status;
    throw error;
  }
  return response;
}

const postJson = (path, body) => api(path, {
  method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body),
});

// ---- the texture as a request ----

function exportSize() {
  return [Math.max(1, +$('export-width').value || 1), Math.max(1, +$('export-height').value || 1)];
}

// The preview keeps the export's proportions, so that it shows what the export will.
function previewSize() {
  const [w, h] = exportSize();
  const box = Math.min(512, Math.max(160, Math.floor(($('stage').clientWidth || 560) - 40)));
  const scale = Math.min(box / w, box / h);
  return [Math.max(1, Math.round(w * scale)), Math.max(1, Math.round(h * scale))];
}

function textureRequest(width, height) {
  const request = {
    fields: { ...studio.fields }, width, height,
    tileable: $('tileable').checked,
    background: $('background').value,
  };
  const size = Math.max(0, Math.floor(+$('pattern-size').value || 0));
  if (size > 0) request.patternSize = size;
  return request;
}

// What the export writes: previews stay 8-bit colour.
function exportRequest() {
  const request = textureRequest(...exportSize());
  const kind = $('export-kind').value;
  if (kind === 'height') request.heightMap = true;
  else if (kind === 'normal') request.normalMap = true;
  else request.depth = +kind;
  return request;
}

// ---- the live preview ----

function edited() {
  studio.seq += 1;
  if (!studio.editStarted) studio.editStarted = performance.now();
  stopLoop();
  refreshPreview();
  refreshCommand();
}

async function refreshPreview() {
  if (studio.inFlight) { studio.dirty = true; return; }
  studio.inFlight = true;
  studio.dirty = false;
  const [width, height] = previewSize();
  const request = textureRequest(width, height);
  request.seq = studio.seq;
  request.page = studio.page;
  const steps = studio.steps.splice(0);
  if (steps.length) request.steps = steps;
  const started = studio.editStarted;
  studio.editStarted = 0;
  try {
    const response = await postJson('preview', request);
    const matrix = response.headers.get('X-Morvessan-Transformation');
    if (matrix && steps.length) setField('transformation', matrix, false);
    showPicture(await response.blob(), width, height);
    if (started) {
      const ms = Math.round(performance.now() - started);
      studio.timings.push(ms);
      $('status').textContent = `Preview ${width}×${height} in ${ms} ms from the edit`;
    }
    if (!studio.dirty && $('message').classList.contains('error')) say('');
  } catch (error) {
    // 409: a later edit of this page took its place, and its own request follows.
    if (error.status !== 409) say(error.message, true);
  } finally {
    studio.inFlight = false;
    if (studio.dirty) {
      if (!studio.editStarted) studio.editStarted = started || performance.now();
      refreshPreview();
    }
  }
}

function showPicture(blob, width, height) {
  if (studio.previewUrl) URL.revokeObjectURL(studio.previewUrl);
  studio.previewUrl = URL.createObjectURL(blob);
  const img = $('preview');
  img.width = width;
  img.height = height;
  img.src = studio.previewUrl;
  // Three by three copies in the preview's own box: the seams, if any, show at once.
  const tiled = $('tiled');
  tiled.style.width = width + 'px';
  tiled.style.height = height + 'px';
  tiled.style.backgroundImage = `url("${studio.previewUrl}")`;
  tiled.style.backgroundSize = `${width / 3}px ${height / 3}px`;
  img.dataset.ready = String(studio.seq);
}

function showTiled() {
  const on = $('show-tiled').checked;
  $('tiled').hidden = !on;
  $('preview').hidden = on;
  $('rotate-handle').hidden = on;
}

// ---- the evolving loop ----

function stopLoop() {
  if (studio.loopTimer) clearInterval(studio.loopTimer);
  studio.loopTimer = null;
  $('play-loop').textContent = 'Play evolving loop';
}

async function playLoop() {
  if (studio.loopTimer) { stopLoop(); return; }
  const frames = Math.min(240, Math.max(2, Math.floor(+$('loop-frames').value || 24)));
  const step = +$('loop-step').value || 0.05;
  const [width, height] = previewSize();
  const seq = studio.seq;
  const pictures = [];
  $('play-loop').textContent = 'Stop';
  try {
    for (let k = 0; k < frames; k += 1) {
      if (seq !== studio.seq) return;
      const request = { ...textureRequest(width, height), seq, page: studio.page, evolve: step, loop: frames, frame: k };
      const blob = await (await postJson('preview', request)).blob();
      pictures.push(URL.createObjectURL(blob));
      $('status').textContent = `Loop: frame ${k + 1}/${frames}`;
    }
  } catch (error) {
    stopLoop();
    if (error.status !== 409) say(error.message, true);
    return;
  }
  let k = 0;
  studio.loopTimer = setInterval(() => {
    $('preview').src = pictures[k];
    $('tiled').style.backgroundImage = `url("${pictures[k]}")`;
    k = (k + 1) % pictures.length;
  }, 1000 / 12);
}

// ---- the fields, made from their declarations ----

function setField(name, text, redraw = true) {
  studio.fields[name] = text;
  if (studio.controls[name]) studio.controls[name](text);
  if (redraw) edited();
}

const label = (field) => field.meaning.charAt(0).toUpperCase() + field.meaning.slice(1).replace(/,.*$/, '');

function row(field, ...parts) {
  const line = document.createElement('div');
  line.className = 'field';
  line.dataset.field = field.name;
  const name = document.createElement('span');
  name.textContent = label(field);
  name.title = `${field.name}: ${field.range}`;
  line.append(name, ...parts);
  return line;
}

function input(type, attributes) {
  const element = document.createElement('input');
  element.type = type;
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
  return element;
}

function numberControl(field) {
  const step = field.step > 0 ? field.step : 'any';
  const slider = input('range', { min: field.low, max: field.high, step, 'aria-label': label(field) });
  const box = input('number', { min: field.low, max: field.high, step, name: field.name, 'aria-label': label(field) });
  const pair = document.createElement('div');
  pair.className = 'pair';
  pair.append(slider, box);
  slider.addEventListener('input', () => { box.value = slider.value; setField(field.name, slider.value); });
  box.addEventListener('change', () => {
    const value = Math.min(field.high, Math.max(field.low, +box.value));
    if (Number.isFinite(value)) { box.value = slider.value = value; setField(field.name, String(value)); }
  });
  studio.controls[field.name] = (text) => { slider.value = box.value = text; };
  return row(field, pair);
}

function choiceControl(field) {
  const select = document.createElement('select');
  select.name = field.name;
  for (const word of field.choices) select.add(new Option(word, word));
  select.addEventListener('change', () => setField(field.name, select.value));
  studio.controls[field.name] = (text) => {
    const match = field.choices.find((word) => word.toLowerCase() === text.toLowerCase());
    select.value = match || field.choices[0];
  };
  return row(field, select);
}

function flagControl(field) {
  const box = input('checkbox', { name: field.name });
  box.addEventListener('change', () => setField(field.name, box.checked ? 'on' : 'off'));
  studio.controls[field.name] = (text) => { box.checked = text === 'on'; };
  return row(field, box);
}

// Weights on a scale of powers of two, as the octaves' weights halve.
function weightsControl(field) {
  const box = document.createElement('div');
  box.className = 'weights';
  const sliders = [];
  const lowest = Math.log2(field.low);
  for (let i = 0; i < 12; i += 1) {
    const slider = input('range', { min: lowest, max: 0, step: 0.25, 'aria-label': `Octave ${i + 1} weight` });
    slider.addEventListener('input', () => {
      const values = sliders.map((s) => 2 ** +s.value);
      setField(field.name, values.map((v) => +v.toPrecision(6)).join(','));
    });
    sliders.push(slider);
    box.append(slider);
  }
  studio.controls[field.name] = (text) => {
    const values = text.split(',').map(Number);
    sliders.forEach((s, i) => { s.value = Math.log2(values[Math.min(i, values.length - 1)] || field.low); });
  };
  return row(field, box);
}

function matrixControl(field) {
  const grid = document.createElement('div');
  grid.className = 'matrix';
  const boxes = [];
  for (let i = 0; i < 9; i += 1) {
    const box = input('number', { step: 'any', 'aria-label': `Matrix ${Math.floor(i / 3) + 1},${(i % 3) + 1}` });
    box.addEventListener('change', () => setField(field.name, boxes.map((b) => +b.value || 0).join(',')));
    boxes.push(box);
    grid.append(box);
  }
  studio.controls[field.name] = (text) => { text.split(',').forEach((v, i) => { if (boxes[i]) boxes[i].value = v; }); };
  return row(field, grid);
}

function pathControl(field) {
  const select = document.createElement('select');
  select.name = field.name;
  select.add(new Option('(none)', ''));
  for (const name of studio.meta.textures) select.add(new Option(name, name));
  select.addEventListener('change', () => {
    studio.fields[field.name] = select.value;
    setField('textureEnabled', select.value ? 'on' : 'off');
  });
  studio.controls[field.name] = (text) => {
    const name = text.split(/[\\/]/).pop();
    if (![...select.options].some((o) => o.value === name) && name) select.add(new Option(name, name));
    select.value = name;
  };
  return row(field, select);
}

// ---- the gradient: stops "#RRGGBB[AA]@POS" ----

function parseStops(text) {
  return text.split(',').map((part) => {
    const [colour, at] = part.split('@');
    return { rgb: colour.slice(0, 7), alpha: colour.length > 7 ? parseInt(colour.slice(7, 9), 16) : 255, at: +at };
  });
}

function stopsText(stops) {
  const hex = (n) => n.toString(16).padStart(2, '0').toUpperCase();
  return stops.slice().sort((a, b) => a.at - b.at)
    .map((s) => s.rgb.toUpperCase() + (s.alpha === 255 ? '' : hex(s.alpha)) + '@' + s.at).join(',');
}

function coloursControl(field) {
  const box = document.createElement('div');
  box.id = 'gradient';
  const strip = document.createElement('canvas');
  strip.id = 'gradient-strip';
  strip.width = 256;
  strip.height = 28;
  strip.title = 'Click to add a stop';
  const marks = document.createElement('div');
  marks.id = 'gradient-stops';
  const colour = input('color', { 'aria-label': 'Stop colour', id: 'stop-colour' });
  const alpha = input('range', { min: 0, max: 255, step: 1, 'aria-label': 'Stop opacity', id: 'stop-alpha' });
  const at = input('number', { min: 0, max: 255, step: 1, 'aria-label': 'Stop position', id: 'stop-position' });
  const remove = document.createElement('button');
  remove.type = 'button';
  remove.textContent = 'Remove stop';
  const tools = document.createElement('div');
  tools.className = 'pair';
  tools.append(colour, alpha, at, remove);
  box.append(strip, marks, tools);
  let stops = [];
  const commit = () => setField(field.name, stopsText(stops));
  const draw = () => {
    const g = strip.getContext('2d');
    g.clearRect(0, 0, 256, 28);
    for (let x = 0; x < 256; x += 8) for (let y = 0; y < 28; y += 8) {
      g.fillStyle = ((x + y) / 8) % 2 ? '#555' : '#888';
      g.fillRect(x, y, 8, 8);
    }
    const sorted = stops.slice().sort((a, b) => a.at - b.at);
    const fill = g.createLinearGradient(0, 0, 255, 0);
    for (const s of sorted) fill.addColorStop(s.at / 255, s.rgb + (s.alpha.toString(16).padStart(2, '0')));
    g.fillStyle = fill;
    g.fillRect(0, 0, 256, 28);
    marks.replaceChildren(...stops.map((s, i) => {
      const mark = document.createElement('button');
      mark.type = 'button';
      mark.className = 'stop' + (i === studio.chosenStop ? ' chosen' : '');
      mark.style.left = (s.at / 255 * 100) + '%';
      mark.style.background = s.rgb;
      mark.setAttribute('aria-label', `Stop ${i + 1} at ${s.at}`);
      mark.addEventListener('pointerdown', (event) => {
        studio.chosenStop = i;
        choose();
        mark.setPointerCapture(event.pointerId);
        const width = marks.getBoundingClientRect();
        const move = (e) => {
          s.at = Math.round(Math.min(255, Math.max(0, (e.clientX - width.left) / width.width * 255)));
          at.value = s.at;
          mark.style.left = (s.at / 255 * 100) + '%';
        };
        const up = () => { mark.removeEventListener('pointermove', move); commit(); };
        mark.addEventListener('pointermove', move);
        mark.addEventListener('pointerup', up, { once: true });
      });
      return mark;
    }));
  };
  const choose = () => {
    const s = stops[studio.chosenStop];
    if (!s) return;
    colour.value = s.rgb.toLowerCase();
    alpha.value = s.alpha;
    at.value = s.at;
    remove.disabled = stops.length <= 1;
    draw();
  };
  colour.addEventListener('input', () => { stops[studio.chosenStop].rgb = colour.value; commit(); });
  alpha.addEventListener('input', () => { stops[studio.chosenStop].alpha = +alpha.value; commit(); });
  at.addEventListener('change', () => {
    stops[studio.chosenStop].at = Math.min(255, Math.max(0, Math.round(+at.value || 0)));
    commit();
  });
  remove.addEventListener('click', () => {
    if (stops.length <= 1) return;
    stops.splice(studio.chosenStop, 1);
    studio.chosenStop = 0;
    commit();
  });
  strip.addEventListener('click', (event) => {
    if (stops.length >= 8) { say('A gradient holds at most 8 stops.', true); return; }
    const box = strip.getBoundingClientRect();
    const position = Math.round((event.clientX - box.left) / box.width * 255);
    const pixel = strip.getContext('2d').getImageData(Math.min(255, Math.max(0, position)), 14, 1, 1).data;
    const hex = (n) => n.toString(16).padStart(2, '0');
    stops.push({ rgb: '#' + hex(pixel[0]) + hex(pixel[1]) + hex(pixel[2]), alpha: 255, at: position });
    studio.chosenStop = stops.length - 1;
    commit();
  });
  studio.controls[field.name] = (text) => {
    stops = parseStops(text);
    // The stops keep their order on the strip, so the chosen one stays chosen.
    stops.sort((a, b) => a.at - b.at);
    studio.chosenStop = Math.min(studio.chosenStop, stops.length - 1);
    choose();
  };
  return row(field, box);
}

function buildFields() {
  const list = $('field-list');
  const makers = {
    choice: choiceControl, integer: numberControl, decimal: numberControl, flag: flagControl,
    weights: weightsControl, colours: coloursControl, matrix: matrixControl, path: pathControl,
  };
  for (const field of studio.meta.fields) {
    list.append(makers[field.kind](field));
    studio.fields[field.name] = field.default;
  }
  const seed = list.querySelector('[data-field="noiseSeed"] .pair');
  const randomise = document.createElement('button');
  randomise.type = 'button';
  randomise.id = 'randomise';
  randomise.textContent = 'Randomise';
  const [low, high] = studio.meta.limits.seed;
  randomise.addEventListener('click', () => {
    setField('noiseSeed', String(low + Math.floor(Math.random() * (high - low + 1))));
  });
  seed.append(randomise);
}

function showFields(texts) {
  for (const [name, text] of Object.entries(texts)) {
    studio.fields[name] = text;
    if (studio.controls[name]) studio.controls[name](text);
  }
  edited();
}

// ---- dragging, the wheel, the rotate handle and the keys ----

function step(kind, value) {
  studio.steps.push({ [kind]: value });
  edited();
}

function pixelScale() {
  const img = $('preview');
  return img.width / Math.max(1, img.getBoundingClientRect().width);
}

function wireTransform() {
  const frame = $('preview-frame');
  frame.addEventListener('pointerdown', (event) => {
    if (event.target.id === 'rotate-handle') return;
    frame.setPointerCapture(event.pointerId);
    frame.classList.add('dragging');
    let last = [event.clientX, event.clientY];
    const move = (e) => {
      const scale = pixelScale();
      const dx = (e.clientX - last[0]) * scale;
      const dy = (e.clientY - last[1]) * scale;
      last = [e.clientX, e.clientY];
      // Merged with the steps still waiting: one move per request.
      const waiting = studio.steps[studio.steps.length - 1];
      if (waiting && waiting.move) { waiting.move[0] += dx; waiting.move[1] += dy; edited(); }
      else step('move', [dx, dy]);
    };
    const up = () => {
      frame.classList.remove('dragging');
      frame.removeEventListener('pointermove', move);
    };
    frame.addEventListener('pointermove', move);
    frame.addEventListener('pointerup', up, { once: true });
    frame.addEventListener('pointercancel', up, { once: true });
  });
  frame.addEventListener('wheel', (event) => {
    event.preventDefault();
    step('zoom', event.deltaY < 0 ? 1.1 : 1 / 1.1);
  }, { passive: false });
  const handle = $('rotate-handle');
  handle.addEventListener('pointerdown', (event) => {
    event.stopPropagation();
    handle.setPointerCapture(event.pointerId);
    const box = frame.getBoundingClientRect();
    const centre = [box.left + box.width / 2, box.top + box.height / 2];
    const angle = (e) => Math.atan2(e.clientY - centre[1], e.clientX - centre[0]) * 180 / Math.PI;
    let last = angle(event);
    const move = (e) => {
      const now = angle(e);
      let turn = now - last;
      if (turn > 180) turn -= 360;
      if (turn < -180) turn += 360;
      last = now;
      step('rotate', turn);
    };
    handle.addEventListener('pointermove', move);
    handle.addEventListener('pointerup', () => handle.removeEventListener('pointermove', move), { once: true });
  });
  frame.addEventListener('keydown', (event) => {
    const moves = { ArrowLeft: [-8, 0], ArrowRight: [8, 0], ArrowUp: [0, -8], ArrowDown: [0, 8] };
    if (moves[event.key]) step('move', moves[event.key]);
    else if (event.key === '+' || event.key === '=') step('zoom', 1.1);
    else if (event.key === '-') step('zoom', 1 / 1.1);
    else if (event.key === '[') step('rotate', -5);
    else if (event.key === ']') step('rotate', 5);
    else return;
    event.preventDefault();
  });
  $('apply-steps').addEventListener('click', () => {
    const dx = +$('step-move-x').value || 0;
    const dy = +$('step-move-y').value || 0;
    const turn = +$('step-rotate').value || 0;
    const zoom = +$('step-zoom').value || 1;
    // The numbers are in the export's pixels; the preview's steps are in its own.
    const scale = previewSize()[0] / exportSize()[0];
    if (dx || dy) studio.steps.push({ move: [dx * scale, dy * scale] });
    if (turn) studio.steps.push({ rotate: turn });
    if (zoom !== 1 && zoom > 0) studio.steps.push({ zoom });
    edited();
  });
  $('reset-view').addEventListener('click', () => setField('transformation', '1,0,0,0,1,0,0,0,1'));
}

// ---- the library ----

async function loadLibrary(chooseFile) {
  const library = await (await api('library')).json();
  studio.library = library;
  const select = $('library-file');
  select.replaceChildren(...library.files.map((file, i) =>
    new Option(file.name + (file.shipped ? ' (shipped)' : ''), String(i))));
  const wanted = library.files.findIndex((file) => file.name === chooseFile);
  if (wanted >= 0) select.value = String(wanted);
  showLibraryFile();
  for (const bad of library.unreadable) say(`${bad.name}: ${bad.error}`, true);
}

function presetButton(label, thumbnail, apply) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'preset';
  button.setAttribute('role', 'listitem');
  button.title = label;
  const img = document.createElement('img');
  img.loading = 'lazy';
  img.alt = '';
  if (thumbnail) img.src = thumbnail;
  const name = document.createElement('span');
  name.textContent = label;
  button.append(img, name);
  button.addEventListener('click', () => {
    document.querySelectorAll('.preset.chosen').forEach((b) => b.classList.remove('chosen'));
    button.classList.add('chosen');
    apply();
  });
  return button;
}

function showLibraryFile() {
  const file = studio.library.files[+$('library-file').value];
  const grid = $('library-grid');
  grid.replaceChildren();
  if (!file) return;
  for (const category of file.categories) {
    const heading = document.createElement('div');
    heading.className = 'category';
    heading.textContent = category.name;
    grid.append(heading);
    for (const name of category.presets) {
      const query = new URLSearchParams({ file: file.name, category: category.name, name, size: '88' });
      grid.append(presetButton(name, 'api/thumbnail?' + query, async () => {
        try {
          const chosen = await (await postJson('preset', { file: file.name, category: category.name, name })).json();
          showFields(chosen.fields);
          $('save-name').value = name;
          say(`Chose ${chosen.chosen}`);
        } catch (error) { say(error.message, true); }
      }));
    }
  }
}

// ---- saving, exporting, the block and importing ----

async function savePreset() {
  const request = {
    ...textureRequest(...exportSize()),
    file: $('save-file').value, category: $('save-category').value, name: $('save-name').value,
  };
  try {
    const added = await (await postJson('save-preset', request)).json();
    say(`Saved '${added.name}' to ${added.file} / ${added.category} (${added.path})`);
    await loadLibrary(added.file);
  } catch (error) { say(error.message, true); }
}

async function exportPicture() {
  const request = {
    ...exportRequest(),
    file: $('export-name').value, overwrite: $('export-overwrite').checked,
  };
  const bar = $('export-progress');
  try {
    const { id } = await (await postJson('export', request)).json();
    $('export').disabled = true;
    for (;;) {
      await new Promise((resolve) => setTimeout(resolve, 200));
      const state = await (await api('export/' + id)).json();
      bar.value = state.total ? state.done / state.total : 0;
      if (state.state === 'running') continue;
      if (state.state === 'done') {
        bar.value = 1;
        say(`Exported ${state.path} (${state.bytes} bytes)`);
      } else {
        say(state.error, true);
      }
      break;
    }
  } catch (error) {
    say(error.status === 409 ? error.message + ': tick Replace to write over it' : error.message, true);
  } finally {
    $('export').disabled = false;
  }
}

async function downloadBlock() {
  try {
    const blob = await (await postJson('block', textureRequest(...exportSize()))).blob();
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = 'texture.bin';
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  } catch (error) { say(error.message, true); }
}

async function importBytes(bytes, name) {
  try {
    const read = await (await api('import', {
      method: 'POST', headers: { 'Content-Type': 'application/octet-stream' }, body: bytes,
    })).json();
    if (read.kind === 'block') {
      showFields(read.fields);
      say(`Read the block ${name}`);
      return;
    }
    const grid = $('imported-grid');
    grid.replaceChildren(...read.presets.map((p) => presetButton(p.name, null, () => showFields(p.fields))));
    $('imported').hidden = false;
    say(`Read ${read.presets.length} presets from ${name}` + (read.damage ? ` (reading stopped at ${read.damage})` : ''),
      !!read.damage);
  } catch (error) { say(`${name}: ${error.message}`, true); }
}

let commandTimer = null;
function refreshCommand() {
  clearTimeout(commandTimer);
  commandTimer = setTimeout(async () => {
    try {
      const made = await (await postJson('command', { ...exportRequest(), file: $('export-name').value })).json();
      $('command-line').textContent = made.commandLine;
      $('python-call').textContent = made.python;
    } catch (error) {
      $('command-line').textContent = $('python-call').textContent = '';
    }
  }, 150);
}

async function copyText(id, button) {
  const text = $(id).textContent;
  try {
    await navigator.clipboard.writeText(text);
  } catch (_) {
    const range = document.createRange();
    range.selectNodeContents($(id));
    getSelection().removeAllRanges();
    getSelection().addRange(range);
    document.execCommand('copy');
  }
  button.textContent = 'Copied';
  setTimeout(() => { button.textContent = 'Copy'; }, 1200);
}

// ---- start ----

async function start() {
  try {
    studio.meta = await (await api('fields')).json();
  } catch (error) {
    say('The studio does not answer: ' + error.message, true);
    return;
  }
  buildFields();
  for (const name of Object.keys(studio.fields)) studio.controls[name] && studio.controls[name](studio.fields[name]);
  $('export-width').max = $('export-height').max = studio.meta.limits.exportSide;
  wireTransform();
  $('library-file').addEventListener('change', showLibraryFile);
  for (const id of ['tileable', 'background', 'pattern-size', 'export-width', 'export-height']) {
    $(id).addEventListener('change', edited);
  }
  $('export-name').addEventListener('change', refreshCommand);
  $('export-kind').addEventListener('change', refreshCommand);
  $('show-tiled').addEventListener('change', showTiled);
  $('play-loop').addEventListener('click', playLoop);
  $('quit').addEventListener('click', async () => {
    try {
      await api('quit', { method: 'POST' });
      document.body.replaceChildren(Object.assign(document.createElement('p'), {
        id: 'stopped', textContent: 'The studio has stopped. Start it again with "morvessan studio".',
      }));
    } catch (error) { say(error.message, true); }
  });
  $('save-preset').addEventListener('click', savePreset);
  $('export').addEventListener('click', exportPicture);
  $('download-block').addEventListener('click', downloadBlock);
  document.querySelectorAll('[data-copy]').forEach((b) => b.addEventListener('click', () => copyText(b.dataset.copy, b)));
  $('import-file').addEventListener('change', async (event) => {
    const file = event.target.files[0];
    if (file) await importBytes(await file.arrayBuffer(), file.name);
  });
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file) await importBytes(await file.arrayBuffer(), file.name);
  });
  await loadLibrary();
  // The showcase first, as "morvessan render" draws it with nothing chosen.
  if (studio.library.showcase) {
    showFields(studio.library.showcase.fields);
    say(`Showing ${studio.library.showcase.chosen}`);
  } else {
    edited();
  }
  $('status').textContent = 'Ready';
}

start();
