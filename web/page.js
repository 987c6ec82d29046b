// The page around the game: its URL parameters and its stored settings
// become the game's command line and settings file, it shows the loading,
// gives the game the keyboard while the picture has focus and a touch pad
// on a touch screen, keeps the games played in the browser's storage, and
// when the game ends says why, with the exit code the desktop game would
// give and the line it would print, and shows the best games kept.
//
//   index.html                   play
//   ?NAME[=VALUE]                an option of the game's table, as --NAME[=VALUE]
//   ?KEY=VALUE                   a switch by its settings key (?sound=no is --no-sound)
//   ?play=URL, ?keep=URL, ?verify=URL
//                                the option, of the recording fetched from URL
//                                (relative to the page); with ?fast, unpaced
//   ?open, ?keep-opened          play back, or keep, the recording last
//                                opened or dropped on the page
//   ?record                      offer the game's recording when it ends
//   ?picture=W.B,W.B,...         take pictures of these frames (world frame
//                                W, box frame B after it, 0 for the world
//                                frame itself) into kuurakarpalo.pictures
//
// A parameter that is none of these is ignored, with a line in the console,
// so that a link a sharing site adds to (?fbclid=...) still plays.
//
// The settings are the text of the game's settings file, stored under
// kuurakarpalo.conf and written where the game reads it; the parameters
// override them for one game. The settings panel reads them, and writes its
// changes, through the game's own reader. The state is kept in
// window.kuurakarpalo for whoever drives the page.
'use strict';

var kuurakarpalo = {
  state: 'loading',   // then 'running', 'ended'
  exitcode: null,
  message: '',        // the line the game printed last on its error output
  score: null,
  args: [],           // the command line the page gave the game
  recording: null,    // the recording's text, with ?record, once ended
  pictures: [],       // the pictures asked for, as PNG data URLs, in order
  firstframe: null,   // milliseconds from navigation to the first picture shown
  swaps: [],          // when the last pictures were shown, milliseconds
  shown: 0,           // pictures shown
  table: null,        // the best games kept, once ended: rows of the end panel
  kept: [],           // the recordings kept before this game, by name
  notkept: '',        // why this game could not be stored, if it could not
  offline: false,     // the site is stored for offline play
  update: false,      // a new version waits for the next game
  persisted: null,    // whether the browser keeps the storage for good
  actions: [],        // the touch pad's actions as they were pushed: [name, down, world frames read before]
};

(function () {
  var $ = function (id) { return document.getElementById(id); };
  var canvas = $('canvas');
  var params = new URLSearchParams(location.search);
  var RECORDING = '/kuurakarpalo.rec';
  var SETTINGS = 'kuurakarpalo.conf';
  // The left-handed pad's own key of earlier versions, and the panel's
  // changes on their way through a reload into the settings.
  var OLDLEFTHANDED = 'kuurakarpalo.lefthanded', CHANGES = 'kuurakarpalo.changes';
  var FETCHED = ['play', 'keep', 'verify'];
  var PAGEPARAMS = ['record', 'picture', 'open', 'keep-opened'];
  // Parameters of earlier versions of the page, and the options they are.
  var OLDNAMES = { nosound: 'no-sound' };
  var escaped = false;
  var table = null;   // the game's option table and facts, once it is loaded
  var settings = { values: {}, warnings: [] };   // what the stored settings give, as the game reads them
  var folder = '';    // the games folder
  var store = '';     // the folder the browser's storage keeps, above the games folder
  var gamepads = navigator.getGamepads ? navigator.getGamepads.bind(navigator) : null;

  function show(id, on) { $(id).hidden = !on; }
  // The page again with the parameters given, and those of how this one
  // plays (fast, silent) carried over.
  function again(search) {
    ['fast', 'no-sound'].forEach(function (name) { if (params.has(name)) search += '&' + name; });
    location.search = search;
  }
  function stored(name) { try { return localStorage.getItem(name); } catch (e) { return null; } }
  function storeitem(name, value) { try { localStorage.setItem(name, value); } catch (e) {} }
  function forget(name) { try { localStorage.removeItem(name); } catch (e) {} }
  // A call into the game that gives JSON.
  function ask(name, args) {
    return JSON.parse(Module.ccall(name, 'string', args.map(function () { return 'string'; }), args));
  }

  // The game's command line, from the page's parameters through the
  // game's option table.
  function commandline(fetched) {
    var args = [];
    params.forEach(function (value, name) {
      if (FETCHED.indexOf(name) >= 0 || PAGEPARAMS.indexOf(name) >= 0) return;
      if (OLDNAMES[name]) name = OLDNAMES[name], value = '';
      if (!table.rows.some(function (r) { return r.name == name || r.setting == name; })) {
        console.warn('kuurakarpalo: the parameter ?' + name + ' is none of the game\'s options: ignored');
        return;
      }
      var row = table.rows.filter(function (r) { return r.name == name; })[0] ||
                table.rows.filter(function (r) { return r.setting == name && r.value == value; })[0];
      if (row && row.name != name) args.push('--' + row.name);
      else args.push(value === '' && !(row && row.argument) ? '--' + name : '--' + name + '=' + value);
    });
    Object.keys(fetched).forEach(function (name) { args.push('--' + name, fetched[name]); });
    if (params.has('open')) args.push('--play', store + '/opened.rec');
    if (params.has('keep-opened')) args.push('--keep', store + '/opened.rec');
    if (params.has('record')) args.push('--record', RECORDING);
    return args;
  }

  function end(code, message) {
    if (kuurakarpalo.state == 'ended') return;
    kuurakarpalo.state = 'ended';
    kuurakarpalo.exitcode = code;
    if (message) kuurakarpalo.message = message;
    document.title = 'Kuurakarpalo: exit ' + code;
    release();
    show('loading', false);
    show('focus', false);
    var ending = kuurakarpalo.ending, endings = table ? table.endings : {};
    var why;
    if (code == 0 && ending == endings.stopped) why = 'The playback was stopped';
    else if (code == 0 && (ending == endings.played || ending == endings.cut)) why = 'The recording has played to its end';
    else if (code == 0 && ending == endings.dark) why = 'The hero has fallen, and the world went dark';
    else if (code == 0) why = 'You left the game';
    else if (code == 3) why = 'The recording no longer matches the game';
    else if (code == 2) why = 'The page asked the game for something it does not know';
    else why = 'The game could not go on';
    $('why').textContent = why;
    $('score').textContent = kuurakarpalo.score === null ? '' : 'Score: ' + kuurakarpalo.score;
    $('message').textContent = code == 0 && ending != endings.cut ? '' : kuurakarpalo.message;
    show('keep', params.has('open') && code == 0 && ending == endings.played);
    showtable();
    show('end', true);
    $('again').focus();
  }

  function fail(message) {
    end(1, 'kuurakarpalo: ' + message);
  }

  // The best games kept, the game just played marked, each to watch or to
  // download.
  function showtable() {
    var rows = kuurakarpalo.table || [];
    var body = $('best').tBodies[0];
    body.textContent = '';
    rows.forEach(function (row) {
      var tr = body.insertRow();
      if (kuurakarpalo.kept.indexOf(row.name) < 0) tr.className = 'new';
      [row.rank, row.score, row.date, row.length, row.language, row.version].forEach(function (text) {
        tr.insertCell().textContent = text;
      });
      var cell = tr.insertCell();
      var watch = document.createElement('button');
      watch.textContent = 'Watch';
      watch.onclick = function () { again('?watch=' + row.rank); };
      var download = document.createElement('button');
      download.textContent = 'Download';
      download.onclick = function () { save(row.name); };
      cell.append(watch, ' ', download);
    });
    show('best', rows.length > 0);
    $('notkept').textContent = kuurakarpalo.notkept;
    show('notkept', !!kuurakarpalo.notkept);
  }

  function save(name) {
    var bytes = Module.FS.readFile(folder + '/' + name);
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
  }

  function hasWebGL() {
    try {
      var probe = document.createElement('canvas');
      return !!(window.WebGLRenderingContext && (probe.getContext('webgl') || probe.getContext('experimental-webgl')));
    } catch (e) {
      return false;
    }
  }

  // The recordings the parameters name, in the game's file system; one that
  // cannot be fetched is left out, so that the game itself reports it
  // missing.
  function fetchrecordings() {
    var fetched = {};
    return Promise.all(FETCHED.filter(function (name) { return params.has(name); }).map(function (option) {
      var url = params.get(option);
      var name = '/' + (url.split('/').pop().split('?')[0] || 'recording');
      fetched[option] = name;
      return fetch(url).then(function (response) {
        if (!response.ok) {
          kuurakarpalo.fetcherror = url + ': ' + response.status + ' ' + response.statusText;
          return;
        }
        return response.arrayBuffer().then(function (bytes) { Module.FS.writeFile(name, new Uint8Array(bytes)); });
      }, function (error) {
        kuurakarpalo.fetcherror = url + ': ' + error.message;
      });
    })).then(function () { return fetched; });
  }

  // The browser's storage, one write at a time: the games folder's parent
  // in IndexedDB.
  var syncing = false, waiting = [];
  function sync(done) {
    if (done) waiting.push(done);
    if (syncing || !store) return;
    syncing = true;
    var these = waiting;
    waiting = [];
    Module.FS.syncfs(false, function (error) {
      syncing = false;
      if (error) kuurakarpalo.notkept = 'This game was not kept: the browser would not store it (' +
        (error.name || error.message || error) + '), its storage may be full.';
      these.forEach(function (f) { f(error); });
      if (waiting.length) sync();
    });
  }

  function mountstore(done) {
    var FS = Module.FS;
    folder = Module.UTF8ToString(Module._pagegamesfolder());
    store = folder.replace(/\/[^/]*$/, '');
    try {
      FS.mkdirTree(store);
      FS.mount(FS.filesystems.IDBFS, {}, store);
    } catch (e) {
      console.warn('kuurakarpalo: the games are not kept in this browser: ' + e);
      store = '';
      return done();
    }
    FS.syncfs(true, function (error) {
      if (error) console.warn('kuurakarpalo: the games kept in this browser cannot be read: ' + error);
      try { kuurakarpalo.kept = FS.readdir(folder).filter(function (n) { return /\.rec$/.test(n); }); } catch (e) {}
      done();
    });
  }

  // The stored settings, where the game's own settings reader finds them.
  function writesettings() {
    var text = stored(SETTINGS);
    if (text === null) return;
    var path = Module.UTF8ToString(Module._pagesettingsfile());
    Module.FS.mkdirTree(path.replace(/\/[^/]*$/, ''));
    Module.FS.writeFile(path, text);
  }

  // The settings as the game reads them, after the panel's changes (and
  // the old left-handed key) are taken into the stored text through the game.
  function readsettings() {
    var changes = '', warnings = [];
    try { changes = sessionStorage.getItem(CHANGES) || ''; sessionStorage.removeItem(CHANGES); } catch (e) {}
    if (stored(OLDLEFTHANDED) !== null) {
      if (stored(OLDLEFTHANDED) == '1') changes = 'left-handed = yes\n' + changes;
      forget(OLDLEFTHANDED);
    }
    if (changes) {
      var merged = ask('pagemergesettings', [stored(SETTINGS) || '', changes]);
      storeitem(SETTINGS, merged.text);
      warnings = merged.warnings;
    }
    settings = ask('pagesettings', [stored(SETTINGS) || '']);
    settings.warnings.forEach(function (line) { console.warn(line); });
    document.body.classList.toggle('lefthanded', settings.values['left-handed'] == 'yes');
    fit();
    settingspanel();
    if (warnings.length) {
      $('s-warnings').textContent = 'Not saved: ' + warnings.join('; ').replace(/kuurakarpalo: /g, '');
      show('settings', true);
    }
  }

  function start() {
    table = JSON.parse(Module.UTF8ToString(Module._pageoptions()));
    readsettings();
    mountstore(function () {
      fetchrecordings().then(function (fetched) {
        var args = kuurakarpalo.args = commandline(fetched);
        writesettings();
        if (params.has('picture')) askpictures(params.get('picture'));
        Module._pageprepare();
        show('loading', false);
        kuurakarpalo.state = 'running';
        focushint();
        Module.callMain(args);
      });
    });
  }

  // The frames to take pictures of, handed to the game before it starts.
  function askpictures(list) {
    var places = list.split(',').map(function (p) {
      var wb = p.split('.');
      return [Number(wb[0]), Number(wb[1] || 0)];
    });
    var at = Module._malloc(places.length * 8);
    places.forEach(function (p, i) {
      Module.HEAP32[(at >> 2) + 2 * i] = p[0];
      Module.HEAP32[(at >> 2) + 2 * i + 1] = p[1];
    });
    Module._pagepictures(at, places.length);
  }

  // A picture of the game, bottom row first, as a PNG data URL.
  function topicture(index, pixels, w, h) {
    var c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    var context = c.getContext('2d');
    var image = context.createImageData(w, h);
    for (var y = 0; y < h; y++) image.data.set(pixels.subarray((h - 1 - y) * w * 4, (h - y) * w * 4), y * w * 4);
    for (var i = 3; i < image.data.length; i += 4) image.data[i] = 255;
    context.putImageData(image, 0, 0);
    kuurakarpalo.pictures[index] = c.toDataURL('image/png');
  }

  function touchscreen() { return document.body.classList.contains('touch'); }

  function focushint() {
    show('focus', kuurakarpalo.state == 'running' && !touchscreen() && document.activeElement !== canvas);
  }

  window.Module = {
    canvas: canvas,
    keyboardListeningElement: canvas,
    // The game's sounds are read from its files as it loads them.
    noAudioDecoding: true,
    print: function (text) { console.log(text); },
    printErr: function (text) {
      console.warn(text);
      if (/^kuurakarpalo: /.test(text)) kuurakarpalo.message = text;
    },
    setStatus: function (text) {
      var m = /\((\d+)\/(\d+)\)/.exec(text);
      if (m) $('progress').value = Number(m[1]) / Number(m[2]);
      if (text) $('status').textContent = text.replace(/\s*\(.*\)/, '');
    },
    onRuntimeInitialized: start,
    onpicture: topicture,
    onsaved: function () { sync(); },
    ontable: function (json) { kuurakarpalo.table = JSON.parse(json); },
    onswap: function () {
      var now = performance.now();
      if (kuurakarpalo.firstframe === null) kuurakarpalo.firstframe = now;
      kuurakarpalo.swaps.push(now);
      kuurakarpalo.shown++;
      if (kuurakarpalo.swaps.length > 2000) kuurakarpalo.swaps.splice(0, 1000);
    },
    onExit: function (code) {
      try {
        kuurakarpalo.score = Module._pagescore();
        kuurakarpalo.ending = Module._pageending();
      } catch (e) {}
      if (params.has('record')) {
        try {
          kuurakarpalo.recording = Module.FS.readFile(RECORDING, { encoding: 'utf8' });
          $('recording').href = URL.createObjectURL(new Blob([kuurakarpalo.recording], { type: 'text/plain' }));
          show('download', true);
        } catch (e) {}
      }
      if (kuurakarpalo.fetcherror && code == 1)
        kuurakarpalo.message += '\n(the page could not fetch ' + kuurakarpalo.fetcherror + ')';
      sync(function () { end(code); });
      if (!store) end(code);
    },
    onAbort: function (what) { fail('the game stopped: ' + what); },
  };

  // Anything thrown outside the game (the data that would not load, above
  // all) ends it as a failure, never as a blank page.
  window.addEventListener('error', function (event) {
    var text = String(event.message || event.error || 'an error');
    if (/ExitStatus/.test(text)) return;
    if (kuurakarpalo.state == 'loading') fail("cannot load the game's data: " + text.replace(/^Uncaught (Error: )?/, ''));
    else fail(text);
  });

  // ---------------------------------------------------------------------
  // The touch pad. Every finger is followed by its identifier; what the
  // fingers hold together is pushed to the game as actions, each change
  // once. A finger on the directions holds the one or two its place points
  // to (eight ways), and none once it slides off the pad; a finger on the
  // picture taps, which closes a message box. A cancelled touch, a lost
  // focus, a hidden page, a rotation or a resize lets go of everything.
  // ---------------------------------------------------------------------
  var fingers = {};   // identifier: {kind: 'dirs', 'swing', 'pause' or 'tap', x, y}
  var held = {};      // action name: pushed down
  var DIRECTIONS = [['right'], ['down', 'right'], ['down'], ['down', 'left'],
                    ['left'], ['up', 'left'], ['up'], ['up', 'right']];

  function inside(r, x, y, margin) {
    margin = margin || 0;
    return x >= r.left - margin && x <= r.right + margin && y >= r.top - margin && y <= r.bottom + margin;
  }

  function kindat(x, y) {
    if (!$('end').hidden || !$('settings').hidden || !$('loading').hidden) return null;
    if (touchscreen() && inside($('dirs').getBoundingClientRect(), x, y)) return 'dirs';
    if (touchscreen() && inside($('buttons').getBoundingClientRect(), x, y)) {
      var p = document.querySelector('[data-action="pause"]').getBoundingClientRect();
      return inside(p, x, y, p.width * 0.3) ? 'pause' : 'swing';
    }
    if (inside($('picture').getBoundingClientRect(), x, y)) return 'tap';
    return null;
  }

  function directions(x, y) {
    var dirs = $('dirs').getBoundingClientRect();
    if (!inside(dirs, x, y)) return [];
    var r = document.querySelector('.cross').getBoundingClientRect();
    var dx = x - (r.left + r.width / 2), dy = y - (r.top + r.height / 2);
    if (Math.hypot(dx, dy) < r.width * 0.12) return [];
    return DIRECTIONS[(Math.round(Math.atan2(dy, dx) / (Math.PI / 4)) + 8) % 8];
  }

  function apply() {
    var now = {};
    Object.keys(fingers).forEach(function (id) {
      var f = fingers[id];
      (f.kind == 'dirs' ? directions(f.x, f.y) : [f.kind]).forEach(function (a) { now[a] = true; });
    });
    Object.keys(table ? table.actions : {}).forEach(function (name) {
      var down = !!now[name];
      if (down == !!held[name]) return;
      held[name] = down;
      kuurakarpalo.actions.push([name, down, kuurakarpalo.state == 'running' ? Module._pageworldframes() : null]);
      if (kuurakarpalo.state == 'running') Module._pageaction(table.actions[name], down ? 1 : 0);
      var art = document.querySelector('[data-action="' + name + '"]');
      if (art) art.classList.toggle('held', down);
    });
  }

  function release() {
    fingers = {};
    apply();
  }

  function touches(event) {
    var changed = event.changedTouches;
    var ours = false;
    for (var i = 0; i < changed.length; i++) {
      var t = changed[i];
      if (event.type == 'touchstart') {
        var kind = kindat(t.clientX, t.clientY);
        if (kind) fingers[t.identifier] = { kind: kind, x: t.clientX, y: t.clientY };
      } else if (fingers[t.identifier] && event.type == 'touchmove') {
        fingers[t.identifier].x = t.clientX;
        fingers[t.identifier].y = t.clientY;
      } else if (fingers[t.identifier]) {
        delete fingers[t.identifier];
      }
      ours = ours || !!fingers[t.identifier] || event.type != 'touchstart';
    }
    if (event.type == 'touchcancel') fingers = {};
    if (event.type == 'touchstart') {
      document.body.classList.add('touch');
      document.body.classList.remove('keyboard');
      fit();
      if (Object.keys(fingers).length && document.activeElement !== canvas) canvas.focus({ preventScroll: true });
    }
    apply();
    // Our own touches neither scroll, nor zoom, nor become mouse clicks.
    if (ours && event.cancelable && kindat(changed[0].clientX, changed[0].clientY)) event.preventDefault();
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    document.addEventListener(type, touches, { passive: false });
  });
  window.addEventListener('blur', release);
  window.addEventListener('pagehide', function () { sync(); });
  window.addEventListener('resize', function () { release(); fit(); });
  window.addEventListener('orientationchange', release);
  document.addEventListener('visibilitychange', release);
  // A keyboard or a gamepad in use hides the pad until the next touch.
  document.addEventListener('keydown', function (event) {
    if (event.isTrusted && touchscreen()) document.body.classList.add('keyboard');
  }, true);
  function gamepadused() {
    var pads = gamepads ? gamepads() || [] : [];
    for (var i = 0; i < pads.length; i++) {
      var pad = pads[i];
      if (!pad) continue;
      if (pad.buttons.some(function (b) { return b.pressed; }) ||
          pad.axes.some(function (a) { return Math.abs(a) > 0.5; })) return true;
    }
    return false;
  }

  // ---------------------------------------------------------------------
  // The layout: the picture as large as it can be at 4:3, the pad beside
  // it in landscape and below it in portrait.
  // ---------------------------------------------------------------------
  function fit() {
    var main = $('stage');
    var w = main.clientWidth, h = main.clientHeight;
    var pw, ph;
    var portrait = h > w * 0.9;
    document.body.classList.toggle('portrait', portrait);
    if (!touchscreen()) {
      pw = Math.min(w, h * 4 / 3);
    } else if (portrait) {
      pw = Math.min(w, (h - Math.min(220, h * 0.3)) * 4 / 3);
      var pad = Math.min(w / 2, h - pw * 3 / 4);
      main.style.setProperty('--cross', Math.min(pad * 0.9, w * 0.45, 260) + 'px');
    } else {
      var side = Math.max(110, Math.min(260, (w - h * 4 / 3) / 2));
      pw = Math.min(w - 2 * side, h * 4 / 3);
      side = (w - pw) / 2;
      main.style.setProperty('--pad', side + 'px');
      main.style.setProperty('--cross', Math.min(side * 0.92, h * 0.6, 260) + 'px');
    }
    main.style.setProperty('--swing', 'calc(var(--cross) * 0.6)');
    ph = pw * 3 / 4;
    // On the stage, not the canvas: emscripten sets the canvas's own style.
    main.style.setProperty('--width', Math.floor(pw) + 'px');
    main.style.setProperty('--height', Math.floor(ph) + 'px');
    if (portrait && touchscreen()) $('picture').style.height = Math.floor(ph) + 'px';
    else $('picture').style.height = '';
  }
  if ((window.matchMedia && matchMedia('(pointer: coarse)').matches) || navigator.maxTouchPoints > 0)
    document.body.classList.add('touch');
  fit();

  // ---------------------------------------------------------------------
  // Sound starts on a player's gesture: the end of a touch, a click, a key.
  // The audio context is asked to run on each until it does.
  // ---------------------------------------------------------------------
  ['touchend', 'pointerup', 'click', 'keydown'].forEach(function (type) {
    document.addEventListener(type, function (event) {
      if (event.isTrusted && Module.sounds) Module.sounds.resume();
    }, true);
  });

  // The screen stays awake while the game runs, not while it waits in a
  // pause or has ended; and a gamepad in use hides the touch pad.
  var wakelock = null, askingwake = false;
  setInterval(function () {
    var awake = kuurakarpalo.state == 'running' && !document.hidden && Module._pagepausing && !Module._pagepausing();
    if (awake && !wakelock && !askingwake && navigator.wakeLock) {
      askingwake = true;
      navigator.wakeLock.request('screen').then(function (lock) {
        wakelock = lock;
        lock.addEventListener('release', function () { wakelock = null; });
      }, function () {}).then(function () { askingwake = false; });
    } else if (!awake && wakelock) {
      wakelock.release().catch(function () {});
      wakelock = null;
    }
    kuurakarpalo.awake = !!wakelock;
    if (touchscreen() && gamepadused()) document.body.classList.add('keyboard');
  }, 500);

  // ---------------------------------------------------------------------
  // The settings panel: the settings file's text, its keys those of the
  // game's option table; lines the panel does not set are kept as written.
  // ---------------------------------------------------------------------
  function settingspanel() {
    var values = settings.values;
    var keys = $('s-keys');
    keys.textContent = '';
    table.rows.filter(function (r) { return r.setting && /^key-/.test(r.setting); }).forEach(function (row) {
      var label = document.createElement('label');
      label.textContent = row.setting.slice(4);
      label.htmlFor = 's-' + row.setting;
      var input = document.createElement('input');
      input.id = 's-' + row.setting;
      input.value = values[row.setting] || '';
      keys.append(label, input);
    });
    var language = $('s-language');
    language.textContent = '';
    [''].concat(table.languages).forEach(function (code) {
      var name = code ? code : "the browser's";
      try { if (code) name = new Intl.DisplayNames([code], { type: 'language' }).of(code); } catch (e) {}
      language.add(new Option(name, code));
    });
    language.value = values.language || '';
    $('s-sound').checked = values.sound == 'yes';
    ['music-volume', 'effects-volume'].forEach(function (key) {
      var range = $('s-' + key);
      range.min = table.volume.min;
      range.max = table.volume.max;
      range.value = values[key];
    });
    $('s-lefthanded').checked = values['left-handed'] == 'yes';
  }

  // The panel's changes, as lines of the settings file (an empty value takes
  // a key's lines away), taken in by the game as the page loads again.
  function savesettings() {
    var now = { language: $('s-language').value, sound: $('s-sound').checked ? 'yes' : 'no',
                'music-volume': $('s-music-volume').value, 'effects-volume': $('s-effects-volume').value,
                'left-handed': $('s-lefthanded').checked ? 'yes' : 'no' };
    table.rows.forEach(function (r) { if (r.setting && /^key-/.test(r.setting)) now[r.setting] = $('s-' + r.setting).value.trim(); });
    var changes = Object.keys(now).filter(function (key) { return now[key] != settings.values[key]; })
      .map(function (key) { return key + ' = ' + now[key] + '\n'; }).join('');
    try { sessionStorage.setItem(CHANGES, changes); } catch (e) {}
  }

  $('opensettings').addEventListener('click', function () {
    if (table) settingspanel();
    release();
    show('settings', true);
  });
  $('s-close').addEventListener('click', function () { show('settings', false); canvas.focus(); });
  $('s-save').addEventListener('click', function () {
    if (table) savesettings();
    location.reload();
  });
  // The browser is asked to keep the storage for good; when it will not,
  // the panel says so.
  if (navigator.storage && navigator.storage.persist) {
    navigator.storage.persist().then(function (granted) {
      kuurakarpalo.persisted = granted;
      $('s-storage').textContent = granted ? 'The browser keeps the settings and the games for good.' :
        'The browser did not promise to keep its storage: it may clear the settings and the kept games when it needs room.';
    }, function () {});
  }

  // ---------------------------------------------------------------------
  // A recording opened or dropped on the page plays back: stored beside
  // the kept games, then the page starts again to play it.
  // ---------------------------------------------------------------------
  function openrecording(file) {
    if (!file) return;
    if (!store || file.size > table.recordingmax) {
      alert(store ? 'That file is too large for a recording.' : 'The game has not loaded yet.');
      return;
    }
    file.arrayBuffer().then(function (bytes) {
      Module.FS.writeFile(store + '/opened.rec', new Uint8Array(bytes));
      sync(function () { again('?open'); });
    });
  }
  $('open').addEventListener('click', function () { $('file').click(); });
  $('file').addEventListener('change', function () { openrecording($('file').files[0]); });
  document.addEventListener('dragover', function (event) { event.preventDefault(); });
  document.addEventListener('drop', function (event) {
    event.preventDefault();
    if (event.dataTransfer && event.dataTransfer.files.length) openrecording(event.dataTransfer.files[0]);
  });
  $('keep').addEventListener('click', function () { again('?keep-opened'); });

  canvas.addEventListener('click', function () { canvas.focus(); });
  canvas.addEventListener('focus', focushint);
  canvas.addEventListener('blur', focushint);
  canvas.addEventListener('keydown', function (event) { if (event.key == 'Escape') escaped = true; });
  // Full screen, turned to landscape where the browser allows it.
  if (!document.documentElement.requestFullscreen) show('fullscreen', false);
  $('fullscreen').addEventListener('click', function () {
    document.documentElement.requestFullscreen().then(function () {
      if (screen.orientation && screen.orientation.lock) return screen.orientation.lock('landscape').catch(function () {});
    }).then(function () { fit(); canvas.focus(); }, function () {});
  });
  $('again').addEventListener('click', function () { location.search = ''; });

  // ---------------------------------------------------------------------
  // The worker that keeps the site offline. A new build's worker takes
  // over only here, before a game starts; one that arrives during a game
  // waits, and the page says it is ready. So does one that takes over
  // only after the page gave up waiting for it: a reload then would end
  // the game in progress.
  // ---------------------------------------------------------------------
  function takeover() {
    if (!('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)) return Promise.resolve();
    var sw = navigator.serviceWorker;
    sw.register('sw.js').then(function (registration) {
      registration.addEventListener('updatefound', function () {
        var worker = registration.installing;
        worker.addEventListener('statechange', function () {
          if (worker.state == 'installed' && sw.controller && kuurakarpalo.state != 'loading') {
            kuurakarpalo.update = true;
            show('update', true);
          }
        });
      });
    }, function (error) { console.warn('kuurakarpalo: no offline play: ' + error.message); });
    sw.ready.then(function () { kuurakarpalo.offline = true; });
    return sw.getRegistration().then(function (registration) {
      if (!registration || !registration.waiting || !sw.controller) return;
      return new Promise(function (done) {
        var starting = true;
        sw.addEventListener('controllerchange', function () {
          if (starting) return location.reload();
          kuurakarpalo.update = true;
          show('update', true);
        });
        registration.waiting.postMessage('take over');
        setTimeout(function () { starting = false; done(); }, 5000);
      });
    }, function () {});
  }

  if (!hasWebGL()) {
    fail('cannot open a 1024x768 OpenGL display: this browser has no WebGL');
    return;
  }
  takeover().then(function () {
    var script = document.createElement('script');
    script.src = 'kuurakarpalo.js';
    script.onerror = function () {
      fail(navigator.onLine === false ? 'cannot load the game: the network is gone, and this browser has not kept the game yet'
                                      : 'cannot load the game (kuurakarpalo.js)');
    };
    document.body.appendChild(script);
  });
})();
