// Inside the game's module, after emscripten's own library: what the browser
// needs adapted for the game to see it as it sees a desktop.

// An opaque drawing buffer, as the desktop window's: the game clears to a
// transparent black, which must not let the page show through.
(function () {
  var createcontext = Browser.createContext;
  Browser.createContext = function (canvas, useWebGL, setInModule, attributes) {
    if (attributes) attributes.alpha = false;
    return createcontext.call(Browser, canvas, useWebGL, setInModule, attributes);
  };
})();

// The first gamepad, as SDL's joystick 0. Browsers show a gamepad only once
// one of its buttons has been pressed, long after the game looked for one,
// so joystick 0 is always there and stands for the first gamepad connected,
// or for a pad at rest. A standard pad's cross acts as the hat does on the
// desktop, through the stick's axes, not as buttons.
(function () {
  var getgamepads = navigator.getGamepads ? navigator.getGamepads.bind(navigator) : function () { return []; };
  var CROSS = [12, 13, 14, 15];   // up, down, left, right
  function pressed(b) { return typeof b == 'object' ? b.pressed : b > 0; }
  function standin(pad) {
    var axes = [0, 0], buttons = [];
    if (pad) {
      axes = [pad.axes[0] || 0, pad.axes[1] || 0];
      for (var i = 0; i < pad.buttons.length; i++) {
        if (pad.mapping == 'standard' && CROSS.indexOf(i) >= 0) continue;
        buttons.push({ pressed: pressed(pad.buttons[i]) });
      }
      if (pad.mapping == 'standard') {
        var b = pad.buttons;
        var dx = (b[15] && pressed(b[15]) ? 1 : 0) - (b[14] && pressed(b[14]) ? 1 : 0);
        var dy = (b[13] && pressed(b[13]) ? 1 : 0) - (b[12] && pressed(b[12]) ? 1 : 0);
        if (dx) axes[0] = dx;
        if (dy) axes[1] = dy;
      }
    }
    while (buttons.length < 12) buttons.push({ pressed: false });
    return { id: pad ? pad.id : 'gamepad', index: 0, connected: true, mapping: 'standard',
             timestamp: 0, axes: axes, buttons: buttons };
  }
  navigator.getGamepads = function () {
    var pads = getgamepads() || [];
    var first = null;
    for (var i = 0; i < pads.length; i++) if (pads[i] && pads[i].connected) { first = pads[i]; break; }
    return [standin(first)];
  };
})();

// What the game played, for whoever drives the page: how often the music and
// the effects were started, and the state of the audio context ('none'
// before the game opened one); and the context resumed, as the page asks on
// a player's gesture.
(function () {
  var sounds = Module.sounds = { music: 0, effects: 0 };
  sounds.context = function () { return SDL.audioContext ? SDL.audioContext.state : 'none'; };
  sounds.resume = function () {
    if (SDL.audioContext && SDL.audioContext.state != 'running') SDL.audioContext.resume().catch(function () {});
  };
  var playwebaudio = SDL.playWebAudio;
  SDL.playWebAudio = function (audio) {
    if (audio === SDL.music.audio) sounds.music++;
    else sounds.effects++;
    return playwebaudio.apply(SDL, arguments);
  };
})();

// The picture's focus, as SDL 1.2 tells a desktop window's: the game pauses
// when it loses the keyboard (a click elsewhere on the page, another tab or
// window) or is hidden. Emscripten's SDL tells focus only as SDL 2 window
// events, which the game does not read, and only for the browser's window;
// these come as SDL 1.2 active events instead, as SDL_PushEvent would put
// them: a copy of the event in the module's memory, freed when taken.
(function () {
  var ACTIVEEVENT = 0x7000, INPUTFOCUS = 2, ACTIVE = 4;
  var SIZE = 32;   // bytes: SDL copies as many as an SDL_KeyboardEvent holds, 28
  function push(gain, state) {
    if (!SDL.screen) return;   // before the game opened its display
    var event = _malloc(SIZE);
    HEAPU8.fill(0, event, event + SIZE);
    HEAP32[event >> 2] = ACTIVEEVENT;
    HEAPU8[event + 4] = gain;
    HEAPU8[event + 5] = state;
    SDL.events.push(event);
  }
  var canvas = Module.canvas;
  if (!canvas) return;
  canvas.addEventListener('blur', function () { push(0, INPUTFOCUS); });
  canvas.addEventListener('focus', function () { push(1, INPUTFOCUS); });
  document.addEventListener('visibilitychange', function () { push(document.hidden ? 0 : 1, ACTIVE); });
})();
