// The page around the game: the picture fitted to the window, full screen, the sound started
// on a click, input let go when the tab is hidden, and a line for what went wrong.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const notice = document.getElementById('notice');
  const fault = document.getElementById('fault');
  const root = document.documentElement;

  // The largest size of the stage's room with the 640 x 480 picture's aspect.
  function fit() {
    const scale = Math.min(stage.clientWidth / 640, stage.clientHeight / 480);
    root.style.setProperty('--fit-width', `${Math.max(1, Math.floor(640 * scale))}px`);
    root.style.setProperty('--fit-height', `${Math.max(1, Math.floor(480 * scale))}px`);
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  function say(line) {
    notice.textContent = line;
    notice.hidden = false;
  }

  // What keeps the game from starting takes the picture's place, said once.
  function fail(line) {
    if (!fault.hidden) return;
    fault.textContent = line;
    fault.hidden = false;
    canvas.hidden = true;
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => say('This browser refused full screen.'));
    }
  }
  document.getElementById('fullscreen').addEventListener('click', (event) => {
    toggleFullScreen();
    event.currentTarget.blur();  // keys go to the game, not to the button
  });
  // Alt+Enter is the page's, before the game's key handlers see it: only a key's own handler
  // may ask for full screen.
  window.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && event.altKey) {
      event.preventDefault();
      event.stopImmediatePropagation();
      if (!event.repeat) toggleFullScreen();
    }
  }, true);

  // Sound may start only after a gesture: the first click resumes SDL's audio context.
  function resumeSound() {
    const audio = Module.SDL2 && Module.SDL2.audioContext;
    if (audio && audio.state !== 'running') audio.resume();
  }
  canvas.addEventListener('mousedown', resumeSound);
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());  // the right button drops cream
  window.addEventListener('keydown', resumeSound);

  // Escape with the pointer captured is the browser's own: it gives the pointer back. The
  // game hears the key where the browser passes it on, and at the next press in any case.

  // A hidden tab lets go of every key and button, as a window losing the focus does.
  document.addEventListener('visibilitychange', () => {
    window.dispatchEvent(new FocusEvent(document.hidden ? 'blur' : 'focus'));
  });

  window.addEventListener('error', (event) => {
    const what = String(event.message || event.error || 'an error');
    if (/zimbrel\.data|NetworkError|Not Found/i.test(what)) {
      fail('The game\'s pictures and sounds (zimbrel.data) could not be loaded from this ' +
           'server, so the game cannot start.');
    } else {
      fail(`The game stopped: ${what}`);
    }
  });

  window.Module = {
    canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    onStorageRefused() {
      if (!Module.storageRefused) say('This browser keeps no storage for the page: scores will not be kept.');
      Module.storageRefused = true;
    },
    onGameEnded() {
      say('The game has ended. Reload the page to play again.');
    },
    onAbort(what) {
      fail(`The game could not start: ${what}`);
    },
  };
})();
