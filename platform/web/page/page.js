// The page around the game: the picture fitted to the window, full screen, the sound started
// on a click, input let go when the tab is hidden, a line for what went wrong, and the games
// kept in the save folder, each to watch again or to download.
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

  // The kept games, newest first: "2026-12-09_19-42-05_K9A_1200.replay" shown as its date,
  // time, name and score, with a link that reloads the page to watch it and one to download it.
  const keptFolder = '/save/replays';
  const keptList = document.getElementById('kept-games');
  let downloads = [];
  function listKeptGames() {
    let names = [];
    try {
      names = Module.FS.readdir(keptFolder).filter((name) => name.endsWith('.replay'));
    } catch (error) {
      return;  // none kept yet
    }
    names.sort().reverse();
    downloads.forEach((url) => URL.revokeObjectURL(url));
    downloads = [];
    keptList.replaceChildren(...names.map((name) => {
      const item = document.createElement('li');
      const parts = name.replace(/\.replay$/, '').split('_');
      item.textContent = parts.length >= 4
        ? `${parts[0]} ${parts[1].replace(/-/g, ':')}  ${parts[2]}  ${parts[3]}`
        : name;
      const watch = document.createElement('a');
      watch.href = `?watch=${encodeURIComponent(name)}`;
      watch.textContent = 'watch';
      const download = document.createElement('a');
      const url = URL.createObjectURL(new Blob([Module.FS.readFile(`${keptFolder}/${name}`)],
        { type: 'text/plain' }));
      downloads.push(url);
      download.href = url;
      download.download = name;
      download.textContent = 'download';
      item.append(watch, download);
      return item;
    }));
    document.getElementById('kept').hidden = names.length === 0;
  }

  const watching = new URLSearchParams(location.search).get('watch');
  if (watching) say(`Watching the kept game ${watching}: Escape ends it.`);

  window.Module = {
    canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    onStorageRefused() {
      if (!Module.storageRefused) say('This browser keeps no storage for the page: scores will not be kept.');
      Module.storageRefused = true;
    },
    // The save folder read from IndexedDB at the start, or carried there after a save.
    onSaveFolderCarried() {
      listKeptGames();
    },
    onWatchFailed(why) {
      fail(`This kept game cannot be watched: ${why}`);
    },
    onGameEnded() {
      if (watching) {
        notice.replaceChildren('The watching has ended. ', Object.assign(
          document.createElement('a'), { href: location.pathname, textContent: 'Back to the game' }));
        notice.hidden = false;
        return;
      }
      say('The game has ended. Reload the page to play again.');
    },
    onAbort(what) {
      fail(`The game could not start: ${what}`);
    },
  };
})();
