// The page around the game: its files loaded with their progress shown, the picture fitted to
// the room the lines under it leave, full screen, the sound started on a click and stopped
// while the page is hidden, the pointer taken only by a click on the picture and its place for
// the game while the browser keeps the pointer lock, the browser's question before a game at
// stake is left, a new start of the game when it ends, a line for what went wrong, and the
// games kept in the save folder, each to watch again or to download, and sent to the
// leaderboard that served the page. On a touch screen: full screen at the first tap (left
// again once a game is kept, so that its rank shows), Escape as a button beside the picture,
// and the phone's keyboard for a name.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const notice = document.getElementById('notice');
  const fault = document.getElementById('fault');
  const faultLine = document.getElementById('fault-line');
  const retry = document.getElementById('retry');
  const loading = document.getElementById('loading');
  const loadingLine = document.getElementById('loading-line');
  const loadingBar = document.getElementById('loading-bar');
  const root = document.documentElement;

  // A part that brings no byte for this long has stalled: the page says so and offers to try
  // again, rather than leave a black picture for ever.
  const stallMilliseconds = 10000;

  // The largest size of the stage's room with the 640 x 480 picture's aspect, taken again
  // whenever that room changes: the window, full screen, and every line under the picture
  // that comes, goes or grows (the rank, the kept games, the help).
  function fit() {
    const scale = Math.min(stage.clientWidth / 640, stage.clientHeight / 480);
    root.style.setProperty('--fit-width', `${Math.max(1, Math.floor(640 * scale))}px`);
    root.style.setProperty('--fit-height', `${Math.max(1, Math.floor(480 * scale))}px`);
  }
  new ResizeObserver(fit).observe(stage);
  fit();

  const moreHelp = document.getElementById('more-help');
  const helpText = document.getElementById('help-more');
  moreHelp.addEventListener('click', () => {
    helpText.hidden = !helpText.hidden;
    moreHelp.setAttribute('aria-expanded', String(!helpText.hidden));
    moreHelp.blur();  // keys go to the game, not to the button
  });

  function say(line) {
    notice.textContent = line;
    notice.hidden = false;
  }

  // What keeps the game from starting takes the picture's place; with a retry where trying
  // again may help.
  function fail(line, tryAgain) {
    loading.hidden = true;
    faultLine.textContent = line;
    retry.hidden = !tryAgain;
    retry.onclick = tryAgain ? () => { fault.hidden = true; tryAgain(); } : null;
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

  const audio = () => window.Module && Module.SDL2 && Module.SDL2.audioContext;

  // Sound may start only after a gesture: the first click resumes SDL's audio context.
  function resumeSound() {
    const context = audio();
    if (context && context.state !== 'running' && !document.hidden) context.resume();
  }
  canvas.addEventListener('mousedown', resumeSound);
  window.addEventListener('keydown', resumeSound);

  // The game's keys as the keyboard sends them, held a few frames: a name's letter must be
  // held over the frame's own read of the keys and name entry's.
  const keyHoldMilliseconds = 100;
  const keysToSend = [];
  let sendingKeys = false;
  async function sendKeys() {
    if (sendingKeys) return;
    sendingKeys = true;
    while (keysToSend.length > 0) {
      const code = keysToSend.shift();
      window.dispatchEvent(new KeyboardEvent('keydown', { code, key: code, bubbles: true }));
      await new Promise((resolve) => setTimeout(resolve, keyHoldMilliseconds));
      window.dispatchEvent(new KeyboardEvent('keyup', { code, key: code, bubbles: true }));
      await new Promise((resolve) => setTimeout(resolve, keyHoldMilliseconds));
    }
    sendingKeys = false;
  }

  // Escape for fingers: "Give up" in play, "Back" on the credits and the table.
  const escapeButton = document.getElementById('escape');
  escapeButton.addEventListener('click', (event) => {
    keysToSend.push('Escape');
    sendKeys();
    event.currentTarget.blur();
  });

  // While a name is typed, a text field holds the focus so that a phone shows its keyboard;
  // each letter or digit typed there becomes the key the game reads. A real keyboard's keys
  // name themselves and go on to the game as they are, typing nothing into the field.
  const nameField = document.getElementById('name-field');
  let nameWanted = false;
  nameField.addEventListener('keydown', (event) => {
    if (event.code && event.code !== 'Unidentified') event.preventDefault();
  });
  nameField.addEventListener('input', () => {
    for (const typed of nameField.value.toUpperCase()) {
      if (/^[A-Z]$/.test(typed)) keysToSend.push(`Key${typed}`);
      if (/^[0-9]$/.test(typed)) keysToSend.push(`Digit${typed}`);
    }
    nameField.value = '';
    sendKeys();
  });
  function offerName() {
    nameField.hidden = false;
    nameField.focus({ preventScroll: true });
  }
  // A reload, Back or a closed tab would lose a game in play or its name still to come: the
  // browser asks first, in its own words.
  let gameAtStake = false;
  window.addEventListener('beforeunload', (event) => {
    if (!gameAtStake) return;
    event.preventDefault();
    event.returnValue = '';
  });

  function showScreenOffers(escape, name, atStake) {
    gameAtStake = atStake;
    escapeButton.textContent = escape;
    escapeButton.hidden = !escape;
    nameWanted = name;
    if (name) {
      offerName();
    } else {
      nameField.blur();
      nameField.hidden = true;
    }
  }

  // A tap starts the sound as a click does; the first asks for full screen, where the browser
  // allows it (only a gesture's own handler may); one while a name is wanted brings the
  // keyboard back.
  let askedFullScreen = false;
  canvas.addEventListener('touchend', () => {
    resumeSound();
    if (nameWanted) offerName();
    if (askedFullScreen || document.fullscreenElement || !stage.requestFullscreen) return;
    askedFullScreen = true;
    stage.requestFullscreen().catch(() => {});
  });
  // A game kept there is at the highscores: full screen that a tap asked for is left, so that
  // the rank and the kept games under the picture show, and the next tap asks for it again.
  function leaveTappedFullScreen() {
    if (!askedFullScreen) return;
    askedFullScreen = false;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }

  // The right button drops cream, and a long press on a phone shows no menu.
  stage.addEventListener('contextmenu', (event) => event.preventDefault());

  // A hidden page lets go of every key and button, as a window losing the focus does, and is
  // silent: the game holds, its buzzing would not.
  let soundWasRunning = false;
  document.addEventListener('visibilitychange', () => {
    window.dispatchEvent(new FocusEvent(document.hidden ? 'blur' : 'focus'));
    const context = audio();
    if (!context) return;
    if (document.hidden) {
      soundWasRunning = context.state === 'running';
      if (soundWasRunning) context.suspend();
    } else if (soundWasRunning) {
      context.resume();
    }
  });

  // Where the pointer is over the picture, in its pixels, for the game while the browser keeps
  // the pointer lock (Escape, a switch of window): the swatter follows it there. Captured on
  // the document, so that it is known before SDL's own handler on the canvas sees the move.
  const freePointer = { over: false, x: 0, y: 0 };
  document.addEventListener('mousemove', (event) => {
    const box = canvas.getBoundingClientRect();
    if (!(box.width > 0 && box.height > 0)) return;
    freePointer.x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
    freePointer.y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
    freePointer.over = freePointer.x >= 0 && freePointer.y >= 0 &&
      freePointer.x < canvas.width && freePointer.y < canvas.height;
  }, true);

  // The pointer is taken only by a press on the picture. SDL asks for the lock at whatever
  // gesture comes next (the Full screen button, a key), and after Escape has freed the pointer,
  // Escape's own key would take it back at once. A press on the picture asks again: SDL does so
  // while it wants the pointer and has not got it.
  const lockPointer = canvas.requestPointerLock;
  let pressOnPicture = false;
  window.addEventListener('mousedown', (event) => {
    pressOnPicture = event.target === canvas;
    setTimeout(() => { pressOnPicture = false; }, 0);
  }, true);
  canvas.requestPointerLock = function requestPointerLock(...options) {
    return pressOnPicture ? lockPointer.apply(this, options) : undefined;
  };

  window.addEventListener('error', (event) => {
    fail(`The game stopped: ${String(event.message || event.error || 'an error')}`);
  });

  // The kept games, newest first: "2026-12-09_19-42-05_K9A_1200.replay" shown as its date,
  // time, name and score, with a link to watch it in the page with controls and one to download it.
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
      const fields = name.replace(/\.replay$/, '').split('_');
      item.textContent = fields.length >= 4
        ? `${fields[0]} ${fields[1].replace(/-/g, ':')}  ${fields[2]}  ${fields[3]}`
        : name;
      const watch = document.createElement('a');
      watch.href = `watch.html?watch=${encodeURIComponent(name)}`;
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

  // Served by a leaderboard (its header on the page's files says where it is from here), the
  // page sends it each game it keeps and says under the picture where the game ranks. Served
  // by anything else, nothing is sent.
  const rankLine = document.getElementById('rank');
  // Asked when a game waits to be sent, and only with a network: a page played offline from its
  // kept files asks nothing, and asks once the network is back.
  let leaderboardAnswer = null;
  function leaderboardRoot() {
    if (leaderboardAnswer === null && navigator.onLine) {
      leaderboardAnswer = fetch(location.pathname, { method: 'HEAD', cache: 'no-store' })
        .then((response) => {
          const root = response.headers.get('Zimbrel-Leaderboard');
          return root === null ? null : new URL(root, location.href);
        })
        .catch(() => {
          leaderboardAnswer = null;
          return null;
        });
    }
    return leaderboardAnswer ?? Promise.resolve(null);
  }

  function showRank(...line) {
    rankLine.replaceChildren(...line);
    rankLine.hidden = false;
  }

  // What waits to be sent: the game copies each proof it keeps into replays/unsent/ of the save
  // folder in the same turn at the folder as the proof itself, so that it waits in IndexedDB
  // from one visit to the next as the desktop's waits on disk, and the page's tabs see one list.
  // The page takes a proof out only once the leaderboard has ranked it or refused the proof
  // itself; anything else leaves it for the next try: at each start of the game, after each game
  // kept, when the network comes back, and after 30 s doubled up to 10 min while the page stays.
  const unsentFolder = `${keptFolder}/unsent`;
  const saveTurnMilliseconds = 3000;     // as long as the game waits for its turn
  const answerMilliseconds = 120000;     // the leaderboard plays the game again first
  const firstRetrySeconds = 30;
  const longestRetrySeconds = 600;
  let retrySeconds = firstRetrySeconds;
  let retryTimer = null;
  let sending = Promise.resolve();

  // A turn at the save folder, the one the game's saves take with every tab
  // (platform/web/folder_lock.cpp): the folder filled afresh from IndexedDB, `work` done on it,
  // and carried back when `work` says it changed it. Null when the turn is not had in time.
  async function inSaveTurn(work) {
    const kept = window.Module?.saveFolder;
    if (!kept) return null;
    const turn = async () => {
      await kept.carry(true);
      const done = work(Module.FS);
      if (done.changed) await kept.carry(false);
      return done;
    };
    if (!navigator.locks) return turn();
    const giveUp = new AbortController();
    const timer = setTimeout(() => giveUp.abort(), saveTurnMilliseconds);
    try {
      return await navigator.locks.request('zimbrel save folder', { signal: giveUp.signal }, () => {
        clearTimeout(timer);
        return turn();
      });
    } catch {
      return null;
    }
  }

  // The oldest proof waiting that this pass has not tried yet, with its text (null where it
  // cannot be read: it is left as it is).
  function nextWaiting(FS, tried) {
    let names = [];
    try {
      names = FS.readdir(unsentFolder).filter((name) => name.endsWith('.replay') && !tried.has(name));
    } catch {
      return {};
    }
    const name = names.sort()[0];
    if (!name) return {};
    try {
      return { name, text: FS.readFile(`${unsentFolder}/${name}`, { encoding: 'utf8' }), count: names.length };
    } catch {
      return { name, text: null, count: names.length };
    }
  }

  // What the leaderboard's answer means, by the desktop sender's rules: `ranked` or `refused`
  // end the proof's sending; `waits` keeps it (a wrong address, a proxy's page, a busy or
  // broken server, no answer). Only the leaderboard's JSON counts as its word.
  async function answerTo(root, proof) {
    const giveUp = new AbortController();
    const timer = setTimeout(() => giveUp.abort(), answerMilliseconds);
    let response;
    let body = null;
    try {
      response = await fetch(new URL('api/v1/games', root), {
        method: 'POST', headers: { 'Content-Type': 'text/plain' }, body: proof, signal: giveUp.signal,
      });
      if ((response.headers.get('Content-Type') || '').startsWith('application/json')) {
        body = await response.json().catch(() => null);
      }
    } catch {
      return { fate: 'waits', said: giveUp.signal.aborted ? 'no answer in time' : 'the network failed' };
    } finally {
      clearTimeout(timer);
    }
    const status = response.status;
    const retryAfter = Number(response.headers.get('Retry-After'));
    const notTheLeaderboards = { fate: 'waits', said: `the address answered ${status}, not as the leaderboard answers` };
    if (body === null || typeof body !== 'object' || Array.isArray(body)) return notTheLeaderboards;
    if (status === 200 || status === 201) {
      const game = body.game;
      const whole = (n) => Number.isSafeInteger(n);
      if (!game || !whole(game.rank) || !whole(body.total)) return notTheLeaderboards;
      return { fate: 'ranked', rank: game.rank, total: body.total };
    }
    // Kept, but held for an operator's review: sending it again changes nothing.
    if (status === 202 && typeof body.reason === 'string') return { fate: 'held', said: body.reason.slice(0, 300) };
    if (typeof body.error !== 'string') return notTheLeaderboards;
    const why = body.error.slice(0, 300);  // a line under the picture, not a page
    // The proof itself refused: not proven, or a line of it unreadable (named "proof:LINE: ").
    if (status === 422 || (status === 400 && /^proof:[0-9]+: /.test(why))) {
      return { fate: 'refused', said: why };
    }
    return { fate: 'waits', said: `${status}, ${why}`, retryAfter };
  }

  // One pass over what waits, oldest first, one proof at a time: whether something still waits,
  // and whether that is for want of a leaderboard. Tabs take turns at it, each reading the list
  // afresh, so that no two send one proof at once.
  async function sendAllWaiting() {
    const tried = new Set();
    let root = null;
    let waits = false;
    let soonest = 0;
    for (;;) {
      const next = await inSaveTurn((FS) => nextWaiting(FS, tried));
      if (!next) return { waits: true, soonest };
      if (!next.name) return { waits, soonest };
      tried.add(next.name);
      if (next.text === null) continue;
      root = root ?? await leaderboardRoot();
      if (!root) {
        // Offline, or no answer: the games wait, and the player is told so.
        if (leaderboardAnswer === null) {
          const games = next.count === 1 ? 'A game waits' : `${next.count} games wait`;
          showRank(`${games} to be sent to the world's table: the network cannot reach it, ` +
            'and the page sends them as soon as it can.');
        }
        return { waits: true, noLeaderboard: true };
      }
      const table = (text) => Object.assign(document.createElement('a'), { href: root.href, textContent: text });
      const answer = await answerTo(root, next.text);
      if (answer.fate === 'waits') {
        waits = true;
        if (answer.retryAfter > 0) soonest = Math.max(soonest, answer.retryAfter);
        showRank('Your game could not be sent to ', table('the world\'s table'),
          ` (${answer.said}); it is kept, and sent again later.`);
        continue;
      }
      if (answer.fate === 'ranked') {
        showRank(`Your game ranks ${answer.rank} of ${answer.total} in `, table('the world\'s table'), '.');
      } else if (answer.fate === 'held') {
        showRank(table('The world\'s table'), ` holds your game for a person to review: ${answer.said}`);
      } else {
        showRank(table('The world\'s table'), ` did not rank your game: ${answer.said}`);
      }
      await inSaveTurn((FS) => {
        try {
          FS.unlink(`${unsentFolder}/${next.name}`);
        } catch {
          return {};  // another tab took it out
        }
        return { changed: true };
      });
    }
  }

  function tryAgainLater(soonest = 0) {
    const wait = Math.min(Math.max(retrySeconds, soonest), longestRetrySeconds);
    retrySeconds = Math.min(retrySeconds * 2, longestRetrySeconds);
    retryTimer = setTimeout(sendWaiting, wait * 1000);
  }

  async function sendPass() {
    clearTimeout(retryTimer);
    const left = await (navigator.locks ? navigator.locks.request('zimbrel sending', sendAllWaiting)
      : sendAllWaiting());
    if (left.noLeaderboard) {
      // Served by something else, or offline (the 'online' event brings a pass); or the
      // question went unanswered, and is asked again.
      if (leaderboardAnswer === null && navigator.onLine) tryAgainLater();
    } else if (left.waits) {
      tryAgainLater(left.soonest);
    } else {
      retrySeconds = firstRetrySeconds;
    }
  }

  function sendWaiting() {
    sending = sending.then(sendPass).catch((error) => console.warn(`Sending the kept games: ${error}`));
  }
  window.addEventListener('online', sendWaiting);

  // The game's files, named by the build's content hash, their sizes unpacked and gzipped.
  const script = document.currentScript;
  const [codeFile, wasmFile, dataFile] = script.dataset.game.split(' ');
  const [codeSize, wasmSize, dataSize] = script.dataset.sizes.split(' ').map(Number);
  const [codeGzip, wasmGzip, dataGzip] = script.dataset.gzipSizes.split(' ').map(Number);
  const parts = [
    { what: 'The game\'s program', file: codeFile, size: codeSize, travels: codeGzip },
    { what: 'The game\'s program', file: wasmFile, size: wasmSize, travels: wasmGzip },
    { what: 'The game\'s pictures and sounds', file: dataFile, size: dataSize, travels: dataGzip },
  ];
  const megabytes = (bytes) => (bytes / 1e6).toFixed(1);
  // The bytes unpacked so far counted as a share of what travels: the reader gets them unpacked.
  const travelled = (part) => ((part.loaded || 0) / part.size) * part.travels;
  // A repeat visit takes the files from the service worker's copy: nothing travels then.
  const fromThisDevice = Boolean(navigator.serviceWorker?.controller);

  function showProgress() {
    const loaded = parts.reduce((sum, part) => sum + travelled(part), 0);
    const total = parts.reduce((sum, part) => sum + part.travels, 0);
    loadingLine.textContent = fromThisDevice ? 'Loading the game kept on this device…'
      : `Loading the game: ${megabytes(loaded)} of ${megabytes(total)} MB`;
    loadingBar.value = total > 0 ? loaded / total : 0;
  }

  // One part's bytes, counted as they come; rejects with the line to show. An XMLHttpRequest
  // gathers the bytes itself and tells the page their count at most every 50 ms: a stream's
  // reader handed the page every piece, a third of a second of long tasks for the data. Taken
  // as a Blob, read off the page's thread: as an ArrayBuffer, the data's load took 0.1 s more.
  function fetchPart(part) {
    part.loaded = 0;
    const blob = new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      let timer;
      const watch = () => {
        clearTimeout(timer);
        timer = setTimeout(() => request.abort(), stallMilliseconds);
      };
      const end = (error, bytes) => {
        clearTimeout(timer);
        if (error) reject(new Error(`${part.what} (${part.file}) ${error}`)); else resolve(bytes);
      };
      request.open('GET', part.file);
      request.responseType = 'blob';
      request.onreadystatechange = () => {
        if (request.readyState !== XMLHttpRequest.HEADERS_RECEIVED) return;
        if (request.getResponseHeader('Content-Encoding') !== 'gzip') part.travels = part.size;
      };
      request.onprogress = (event) => {
        part.loaded = Math.min(event.loaded, part.size);
        showProgress();
        watch();
      };
      request.onload = () => {
        if (request.status !== 200) {
          end(`could not be loaded from this server (${request.status} ${request.statusText}), ` +
            'so the game cannot start.');
        } else {
          end(null, request.response);
        }
      };
      request.onerror = () => end('could not be loaded: the network failed.');
      request.onabort = () => end(`stopped coming: ${megabytes(travelled(part))} of ` +
        `${megabytes(part.travels)} MB came, then nothing for ${stallMilliseconds / 1000} s.`);
      watch();
      request.send();
    });
    return blob.then((bytes) => bytes.arrayBuffer());
  }

  // A repeat visit reads the service worker's copy of a part from its cache itself: through the
  // worker, the pieces came one task of the page's at a time, half a second for the data.
  async function keptCopy(part) {
    if (!fromThisDevice || !window.caches) return null;
    try {
      const kept = await caches.match(part.file);
      return kept ? await kept.arrayBuffer() : null;
    } catch {
      return null;  // read as any other visit's
    }
  }

  // Loads the parts not loaded yet; on a failure, says which and offers to load them again.
  async function load() {
    loading.hidden = false;
    canvas.hidden = false;
    showProgress();
    const wanted = parts.filter((part) => !part.bytes);
    const results = await Promise.allSettled(wanted.map(async (part) => {
      part.bytes = await keptCopy(part) ?? await fetchPart(part);
    }));
    const failure = results.find((result) => result.status === 'rejected');
    if (failure) {
      fail(failure.reason.message, load);
      return;
    }
    try {
      const code = document.createElement('script');
      code.src = URL.createObjectURL(new Blob([parts[0].bytes], { type: 'text/javascript' }));
      await new Promise((resolve, reject) => {
        code.onload = resolve;
        code.onerror = () => reject(new Error('The game\'s program could not be read.'));
        document.body.appendChild(code);
      });
      parts[1].compiled = await WebAssembly.compile(parts[1].bytes);
    } catch (error) {
      fail(String(error.message || error));
      return;
    }
    // A later visit plays without the network: the service worker keeps this build's files.
    // Only now, so that it takes them from the browser's cache rather than download them a
    // second time beside the page.
    if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
    startGame();
  }

  // A fresh start of the game on the files already loaded: at the page's opening, and again
  // when the game has ended (the exit picture's click), so that the title comes back.
  function startGame() {
    loadingLine.textContent = 'Starting the game…';
    const config = {
      canvas,
      freePointer,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      instantiateWasm(imports, done) {
        WebAssembly.instantiate(parts[1].compiled, imports).then((instance) => done(instance));
        return {};
      },
      getPreloadedPackage: () => parts[2].bytes,
      onGameStarting() {
        loading.hidden = true;
        sendWaiting();
      },
      onStorageRefused() {
        if (!window.storageRefused) say('This browser keeps no storage for the page: scores will not be kept.');
        window.storageRefused = true;
      },
      onProofKept() {
        leaveTappedFullScreen();
        sendWaiting();
      },
      // The save folder read from IndexedDB at the start, or carried there after a save.
      onSaveFolderCarried() {
        listKeptGames();
      },
      onScreenOffers: showScreenOffers,
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
        setTimeout(startGame, 0);  // once this run has wound down
      },
      onAbort(what) {
        fail(`The game could not start: ${what}`);
      },
    };
    window.Module = config;
    createZimbrel(config);
  }

  load();
})();
