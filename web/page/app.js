'use strict';
// The sign's own page: the form, the commands, the preview and the communication settings, over
// the server's JSON API. Every change is a POST that carries the session's token.
(() => {
  const $ = (id) => document.getElementById(id);
  let token = '';
  let lastJob = 0;
  let polling = null;
  let previewKey = '';
  let editing = false;   // a field has changes the server has not been sent yet
  let foundShown = null; // the search whose ways are listed

  const textFields = ['webServer', 'webPath', 'updateMinutes', 'textBefore', 'textAfter', 'leadingComment'];
  const flagFields = ['autoUpdate', 'condensed', 'showTime'];
  const done = { update: 'Sign updated.', clear: 'Sign cleared.', source: 'Page downloaded.' };

  async function call(method, path, body) {
    const options = { method, headers: {} };
    if (method === 'POST') {
      options.headers['Content-Type'] = 'application/json';
      options.headers['X-Tickerlux-Token'] = token;
      options.body = JSON.stringify(body || {});
    }
    const response = await fetch(path, options);
    const data = await response.json().catch(() => ({}));
    if (response.status === 401 && path !== '/api/login') showLogin(data.error);
    return { ok: response.ok, status: response.status, data };
  }

  function formFields() {
    const fields = {};
    for (const id of textFields) fields[$(id).name] = $(id).value;
    for (const id of flagFields) fields[$(id).name] = $(id).checked;
    if ($('color').selectedIndex >= 0) fields.ColorIndex = $('color').selectedIndex;
    fields.HeadlineSource = $('headlineSource').selectedIndex;
    return fields;
  }

  function showFields(fields) {
    for (const id of textFields) $(id).value = fields[$(id).name];
    for (const id of flagFields) $(id).checked = fields[$(id).name] === true;
    const color = fields.ColorIndex;
    $('color').selectedIndex = color >= 0 && color < $('color').options.length ? color : -1;
    $('headlineSource').selectedIndex = fields.HeadlineSource;
  }

  function fillList(list, entries) {
    if (list.options.length) return;
    for (const entry of entries) list.add(new Option(entry, entry));
  }

  function showComm(comm) {
    $('connection').value = comm.Connection;
    if ($('connection').value !== comm.Connection) $('connection').selectedIndex = -1;
    const usb = comm.Connection === 'usb - betabrite prism';
    $('comPort').value = usb || !comm.Connection ? '' : comm.ComPort;
    $('baudRate').value = usb || !comm.Connection ? '' : comm.BaudRate;
    $('byteSize').value = usb ? '' : String(comm.ByteSize);
    $('parity').value = usb ? '' : comm.Parity;
    $('stopBits').value = usb ? '' : String(comm.StopBits);
    commRules(false);
    if (!comm.stored) $('commPanel').open = true;
  }

  // The dialog's rules: the classic sign fixes its line, a custom line takes every value, USB none.
  function commRules(chosen) {
    const kind = $('connection').value;
    const classic = kind === 'serial port - betabrite classic';
    const custom = kind === 'serial port - custom settings';
    $('comPort').disabled = !(classic || custom);
    for (const id of ['baudRate', 'byteSize', 'parity', 'stopBits']) $(id).disabled = !custom;
    if (!chosen) return;
    if (kind === 'usb - betabrite prism') {
      for (const id of ['comPort', 'baudRate', 'byteSize', 'parity', 'stopBits']) $(id).value = '';
    } else if (classic) {
      $('baudRate').value = '9600'; $('byteSize').value = '7'; $('parity').value = 'even'; $('stopBits').value = '1';
    }
  }

  function showPreview(preview) {
    if (preview.key === previewKey) return;
    previewKey = preview.key;
    const image = $('previewImage');
    image.onload = () => {
      for (const animation of image.getAnimations()) animation.cancel();
      if (!preview.scrolls) return;
      const from = $('preview').clientWidth;
      const to = -image.naturalWidth;
      image.animate([{ transform: `translateX(${from}px)` }, { transform: `translateX(${to}px)` }],
        { duration: (from - to) / preview.pixelsPerSecond * 1000, iterations: Infinity });
    };
    image.src = '/api/preview.png?v=' + encodeURIComponent(preview.key);
  }

  function showJob(job) {
    $('job').hidden = !job.running;
    for (const button of document.querySelectorAll('[data-command], #find')) button.disabled = job.running;
    if (job.running) {
      const progress = $('progress');
      if (job.total > 0) {
        progress.max = job.total; progress.value = job.sent;
        $('progressText').textContent = `Sending: ${job.sent} of ${job.total} bytes`;
      } else {
        progress.removeAttribute('value');
        // As the desktop counts: whole kilobytes, a started one counted.
        $('progressText').textContent = job.command === 'clear' ? 'Sending…'
          : job.received > 0 ? `Downloading page… ${Math.ceil(job.received / 1024)} KB` : 'Downloading page…';
      }
      $('stop').disabled = job.stopping;
    } else if (job.number === lastJob && lastJob) {
      const outcome = $('outcome');
      outcome.textContent = job.messages.length ? job.messages.join('\n') : done[job.command];
      outcome.classList.toggle('failed', !job.succeeded);
      lastJob = 0;
    }
  }

  async function loadState(withFields) {
    const { ok, data } = await call('GET', '/api/state');
    if (!ok) return null;
    fillList($('color'), data.choices.colors);
    fillList($('connection'), data.choices.connections);
    $('title').textContent = '— ' + data.title;
    $('modified').hidden = !data.modified;
    if (withFields && !editing) {
      showFields(data.fields);
      showComm(data.comm);
      $('cleanup').checked = data.cleanup;
    }
    if ($('sourceWindow').value !== data.source) $('sourceWindow').value = data.source;
    showPreview(data.preview);
    showJob(data.job);
    showFound(data.found);
    return data;
  }

  function watchJob() {
    clearInterval(polling);
    polling = setInterval(async () => {
      const state = await loadState(false);
      if (state && !state.job.running) {
        clearInterval(polling);
        polling = null;
        await loadState(true);
      }
    }, 300);
  }

  async function post(path, body) {
    const result = await call('POST', path, body);
    if (!result.ok) {
      $('outcome').textContent = result.data.error || 'The server did not take the request.';
      $('outcome').classList.add('failed');
    }
    return result;
  }

  async function sendFields() {
    editing = false;
    await post('/api/fields', { fields: formFields() });
    await loadState(true);
  }

  function watch(job) {
    lastJob = job.number;
    showJob(job);
    watchJob();
  }

  async function runCommand(command) {
    $('outcome').textContent = '';
    const result = await post('/api/command', { command, fields: formFields() });
    editing = false;
    if (result.ok) watch(result.data);
  }

  // A full address in Web Server: the server splits it, and with no markers finds the headlines.
  async function takeAddress() {
    $('outcome').textContent = '';
    const result = await post('/api/address', { address: $('webServer').value, fields: formFields() });
    editing = !result.ok;  // a refused address stays in the field to be corrected
    if (result.ok && result.data.searching) watch(result.data.job);
    else if (result.ok) loadState(true);
  }

  function element(tag, text, className) {
    const made = document.createElement(tag);
    if (text) made.textContent = text;
    if (className) made.className = className;
    return made;
  }

  // The ways the last search found, best first, each with a button that chooses it.
  function showFound(found) {
    if (!found || found.number === foundShown) return;
    foundShown = found.number;
    const list = element('ol');
    const leftOut = element('ul');
    found.candidates.forEach((way, index) => {
      if (way.leftOut) { leftOut.append(element('li', `${way.address}: ${way.leftOut}`)); return; }
      const item = element('li');
      const count = `${way.count} headline${way.count === 1 ? '' : 's'}`;
      item.append(element('strong', way.what), `: ${count}`);
      if (way.source === 1) item.append(element('div', way.address, 'address'));
      else item.append(element('div', `${way.before} … ${way.after}`, 'markers'));
      const headlines = element('ul');
      for (const headline of way.headlines) headlines.append(element('li', headline));
      const choose = element('button', 'Choose');
      choose.type = 'button';
      choose.addEventListener('click', async () => {
        const result = await post('/api/choose', { find: found.number, index });
        if (result.ok) { $('outcome').textContent = `Chose ${way.what}; Save keeps it.`; $('outcome').classList.remove('failed'); }
        editing = false;
        loadState(true);
      });
      item.append(headlines, choose);
      list.append(item);
    });
    const shown = [list];
    if (leftOut.children.length) shown.push(element('p', 'Left out:'), leftOut);
    $('found').replaceChildren(...shown);
  }

  function showLogin(message) {
    $('app').hidden = true;
    $('logout').hidden = true;
    $('login').hidden = false;
    $('loginMessage').textContent = message || '';
    $('password').focus();
  }

  async function start() {
    const session = await call('GET', '/api/session');
    token = session.data.token;
    if (!session.data.loggedIn) return showLogin('');
    $('login').hidden = true;
    $('app').hidden = false;
    $('logout').hidden = !session.data.passwordNeeded;
    const state = await loadState(true);
    if (state && state.job.running) { lastJob = state.job.number; watchJob(); }
  }

  $('login').addEventListener('submit', async (event) => {
    event.preventDefault();
    const result = await call('POST', '/api/login', { password: $('password').value });
    $('password').value = '';
    if (!result.ok) { $('loginMessage').textContent = result.data.error; return; }
    token = result.data.token;
    start();
  });
  $('logout').addEventListener('click', async () => { await post('/api/logout'); start(); });

  for (const field of $('feed').elements) {
    field.addEventListener('input', () => { editing = true; $('modified').hidden = false; });
    field.addEventListener('change', () => (field.id === 'webServer' && field.value.includes('://') ? takeAddress() : sendFields()));
  }
  $('feed').addEventListener('submit', (event) => event.preventDefault());
  for (const button of document.querySelectorAll('[data-command]'))
    button.addEventListener('click', () => runCommand(button.dataset.command));
  $('stop').addEventListener('click', () => { $('stop').disabled = true; post('/api/stop'); });
  $('save').addEventListener('click', async () => {
    const result = await post('/api/save', { fields: formFields() });
    editing = false;
    if (result.ok) { $('outcome').textContent = 'Saved.'; $('outcome').classList.remove('failed'); }
    loadState(true);
  });
  $('clearSource').addEventListener('click', async () => { await post('/api/clear-source'); loadState(true); });
  $('cleanup').addEventListener('change', async () => {
    await post('/api/cleanup', { on: $('cleanup').checked });
    loadState(true);
  });
  $('find').addEventListener('click', async () => {
    $('outcome').textContent = '';
    const result = await post('/api/find', { address: $('findAddress').value.trim(), fields: formFields() });
    editing = false;
    if (result.ok) watch(result.data);
  });

  $('connection').addEventListener('change', () => commRules(true));
  async function sendComm(save) {
    const values = { Connection: $('connection').value };
    for (const id of ['comPort', 'baudRate', 'byteSize', 'parity', 'stopBits'])
      values[id.charAt(0).toUpperCase() + id.slice(1)] = $(id).value;
    const result = await call('POST', '/api/comm', { values, save });
    $('commMessage').textContent = result.ok ? (save ? 'Saved.' : 'In use until the server stops.') : result.data.error;
    $('commMessage').classList.toggle('failed', !result.ok);
    loadState(true);
  }
  $('commOk').addEventListener('click', () => sendComm(false));
  $('commSave').addEventListener('click', () => sendComm(true));

  // Other browsers' changes show up here too.
  setInterval(() => { if (!polling && !$('app').hidden && !document.hidden) loadState(!editing); }, 5000);
  start();
})();
