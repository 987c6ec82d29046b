// The page around the game: its URL parameters become the game's command
// line, it shows the loading, gives the game the keyboard while the picture
// has focus, and when the game ends says why, with the exit code the
// desktop game would give and the line it would print.
//
//   index.html                   play
//   ?play=URL[&fast]             play back the recording at URL (relative
//                                to the page), unpaced with fast
//   ?record                      offer the game's recording when it ends
//   ?nosound                     play silently
//   ?picture=W.B,W.B,...         take pictures of these frames (world frame
//                                W, box frame B after it, 0 for the world
//                                frame itself) into kuurakarpalo.pictures
//   ?NAME[=VALUE]                any other option of the game, as --NAME[=VALUE]
//
// The state is kept in window.kuurakarpalo for whoever drives the page.
'use strict';

var kuurakarpalo = {
  state: 'loading',   // then 'running', 'ended'
  exitcode: null,
  message: '',        // the line the game printed last on its error output
  score: null,
  recording: null,    // the recording's text, with ?record, once ended
  pictures: [],       // the pictures asked for, as PNG data URLs, in order
  firstframe: null,   // milliseconds from navigation to the first picture shown
  swaps: [],          // when the last pictures were shown, milliseconds
  shown: 0,           // pictures shown
};

(function () {
  var $ = function (id) { return document.getElementById(id); };
  var canvas = $('canvas');
  var params = new URLSearchParams(location.search);
  var RECORDING = '/kuurakarpalo.rec';
  var escaped = false;

  function show(id, on) { $(id).hidden = !on; }

  // The game's command line, from the page's parameters.
  function commandline() {
    var args = [];
    params.forEach(function (value, name) {
      if (name == 'play' || name == 'record' || name == 'nosound' || name == 'picture') return;
      args.push(value === '' ? '--' + name : '--' + name + '=' + value);
    });
    if (params.has('nosound')) args.push('--no-sound');
    if (params.has('record')) args.push('--record', RECORDING);
    return args;
  }

  function end(code, message) {
    if (kuurakarpalo.state == 'ended') return;
    kuurakarpalo.state = 'ended';
    kuurakarpalo.exitcode = code;
    if (message) kuurakarpalo.message = message;
    document.title = 'Kuurakarpalo: exit ' + code;
    show('loading', false);
    show('focus', false);
    var why;
    if (code == 0 && params.has('play')) why = escaped ? 'The playback was stopped' : 'The recording has played to its end';
    else if (code == 0 && kuurakarpalo.darkend) why = 'The hero has fallen, and the world went dark';
    else if (code == 0) why = 'You left the game';
    else if (code == 3) why = 'The recording no longer matches the game';
    else if (code == 2) why = 'The page asked the game for something it does not know';
    else why = 'The game could not go on';
    $('why').textContent = why;
    $('score').textContent = kuurakarpalo.score === null ? '' : 'Score: ' + kuurakarpalo.score;
    $('message').textContent = code == 0 ? '' : kuurakarpalo.message;
    show('end', true);
    $('again').focus();
  }

  function fail(message) {
    end(1, 'kuurakarpalo: ' + message);
  }

  function hasWebGL() {
    try {
      var probe = document.createElement('canvas');
      return !!(window.WebGLRenderingContext && (probe.getContext('webgl') || probe.getContext('experimental-webgl')));
    } catch (e) {
      return false;
    }
  }

  // The recording to play back, in the game's file system; one that cannot
  // be fetched is left out, so that the game itself reports it missing.
  function fetchrecording() {
    if (!params.has('play')) return Promise.resolve(null);
    var url = params.get('play');
    var name = '/' + (url.split('/').pop().split('?')[0] || 'recording');
    return fetch(url).then(function (response) {
      if (!response.ok) {
        kuurakarpalo.fetcherror = url + ': ' + response.status + ' ' + response.statusText;
        return name;
      }
      return response.arrayBuffer().then(function (bytes) {
        Module.FS.writeFile(name, new Uint8Array(bytes));
        return name;
      });
    }, function (error) {
      kuurakarpalo.fetcherror = url + ': ' + error.message;
      return name;
    });
  }

  function start() {
    fetchrecording().then(function (recording) {
      var args = commandline();
      if (recording) args.push('--play', recording);
      if (params.has('picture')) askpictures(params.get('picture'));
      show('loading', false);
      kuurakarpalo.state = 'running';
      focushint();
      Module.callMain(args);
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
  function topicture(index, pixels) {
    var w = canvas.width, h = canvas.height;
    var c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    var context = c.getContext('2d');
    var image = context.createImageData(w, h);
    for (var y = 0; y < h; y++) {
      var row = pixels.subarray((h - 1 - y) * w * 4, (h - y) * w * 4);
      image.data.set(row, y * w * 4);
    }
    for (var i = 3; i < image.data.length; i += 4) image.data[i] = 255;
    context.putImageData(image, 0, 0);
    kuurakarpalo.pictures[index] = c.toDataURL('image/png');
  }

  function focushint() {
    show('focus', kuurakarpalo.state == 'running' && document.activeElement !== canvas);
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
        kuurakarpalo.darkend = Module._pagedarkend() != 0;
      } catch (e) {}
      if (params.has('record')) {
        try {
          kuurakarpalo.recording = Module.FS.readFile(RECORDING, { encoding: 'utf8' });
          var link = $('recording');
          link.href = URL.createObjectURL(new Blob([kuurakarpalo.recording], { type: 'text/plain' }));
          show('download', true);
        } catch (e) {}
      }
      if (kuurakarpalo.fetcherror && code == 1)
        kuurakarpalo.message += '\n(the page could not fetch ' + kuurakarpalo.fetcherror + ')';
      end(code);
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

  canvas.addEventListener('click', function () { canvas.focus(); });
  canvas.addEventListener('focus', focushint);
  canvas.addEventListener('blur', focushint);
  canvas.addEventListener('keydown', function (event) { if (event.key == 'Escape') escaped = true; });
  $('fullscreen').addEventListener('click', function () {
    var stage = $('stage');
    (stage.requestFullscreen ? stage.requestFullscreen() : Promise.resolve()).then(function () { canvas.focus(); }, function () {});
  });
  $('again').addEventListener('click', function () { location.reload(); });

  if (!hasWebGL()) {
    fail('cannot open a 1024x768 OpenGL display: this browser has no WebGL');
    return;
  }
  var script = document.createElement('script');
  script.src = 'kuurakarpalo.js';
  script.onerror = function () { fail('cannot load the game (kuurakarpalo.js)'); };
  document.body.appendChild(script);
})();
