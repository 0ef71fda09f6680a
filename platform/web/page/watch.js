// The page that plays a game's replay with controls: a ranked game's proof (data-proof, from
// the leaderboard) or a kept game of the save folder (?watch=NAME). The game runs headless and
// stops at every flip for the page's word (watch_controls.cpp): the page shows the flip, keeps
// a copy of the whole program now and then, and lets it go on at the recorded pace times the
// speed. The game shows from its start at once (or runs unseen to the flip the address asks
// for), and learns its copies and its stages' starts as it goes. Going back puts the nearest
// copy at or before the flip back and runs on from there without showing, so every flip shown
// is the one the game drew at that point; going beyond what is known runs on from the last copy.
'use strict';

(function () {
  const script = document.currentScript;
  const [codeFile, wasmFile, dataFile] = script.dataset.game.split(' ');
  const proofAddress = script.dataset.proof;
  const canvas = document.getElementById('canvas');
  const painter = canvas.getContext('2d');
  const picture = painter.createImageData(640, 480);
  const status = document.getElementById('status');
  const playButton = document.getElementById('play');
  const speedChoice = document.getElementById('speed');
  const where = document.getElementById('where');
  const bar = document.getElementById('bar');
  const played = document.getElementById('played');
  const speeds = [0.25, 0.5, 1, 2, 4, 8];

  // A copy of the program every so many flips (the most a seek runs without showing), and no
  // more than so many copies in a long game.
  const fewestFlipsBetweenCopies = 60;
  const mostCopies = 150;
  // Behind the recorded pace by more than this, the pace starts again from here.
  const latestMilliseconds = 250;

  const watch = {
    first: 0,           // the replay's first and last flips
    last: 0,
    flip: -1,           // the flip the game waits at
    firstReached: 0,    // the first flip the game showed
    times: [],          // the game's time at each flip reached, in ms from the first
    clocks: [],         // the rules clock's reading at each flip reached
    stages: new Map(),  // each stage's first flip
    copies: new Map(),  // the program's copies, by flip
    paused: false,
    prepared: false,    // at the first flip shown
    asked: null,        // the flip the address asks for
    flipsBetweenCopies: fewestFlipsBetweenCopies,
    speed: 1,
    target: null,       // the flip a seek runs to, unshown until it is reached
    wake: null,         // ends the wait at the flip, for a control
    paceFlip: 0,        // where the pace was last set: a flip and its wall time
    paceWall: 0,
    frame: null,        // the flip's picture and sound, while the game waits
  };

  const milliseconds = (flip) => watch.times[flip - watch.first] ?? 0;

  function paint(pixels) {
    const rgba = picture.data;
    for (let i = 0, j = 0; i < pixels.length; i += 1, j += 4) {
      const word = pixels[i];
      rgba[j] = (word >>> 16) & 255;
      rgba[j + 1] = (word >>> 8) & 255;
      rgba[j + 2] = word & 255;
      rgba[j + 3] = 255;
    }
    painter.putImageData(picture, 0, 0);
  }

  function clockText(ms) {
    const seconds = ms / 1000;
    return `${Math.floor(seconds / 60)}:${(seconds % 60).toFixed(2).padStart(5, '0')}`;
  }

  function showPlace() {
    const span = Math.max(1, watch.last - watch.first);
    const at = Math.min(Math.max(watch.flip, watch.first), watch.last);
    where.textContent = `flip ${at} · ${clockText(milliseconds(at))}`;
    played.style.width = `${(100 * (at - watch.first)) / span}%`;
    bar.setAttribute('aria-valuenow', String(at));
    playButton.textContent = watch.paused ? 'Play' : 'Pause';
  }

  function markStage(flip, stage) {
    if (watch.stages.has(stage)) return;
    watch.stages.set(stage, flip);
    const mark = document.createElement('div');
    mark.className = 'stage';
    mark.style.left = `${(100 * (flip - watch.first)) / Math.max(1, watch.last - watch.first)}%`;
    mark.title = `Stage ${stage}`;
    mark.append(Object.assign(document.createElement('span'), { textContent: String(stage) }));
    bar.append(mark);
  }

  // The sound of each flip played at 1x only: slower or faster it would be another sound.
  let listening = null;
  let soundAt = 0;
  function startSound() {
    if (listening) return;
    listening = new AudioContext({ sampleRate: 44100 });
  }
  function hear(samples) {
    if (!listening || watch.speed !== 1 || samples.length === 0) return;
    const frames = samples.length / 2;
    const buffer = listening.createBuffer(2, frames, 44100);
    const left = buffer.getChannelData(0);
    const right = buffer.getChannelData(1);
    for (let i = 0; i < frames; i += 1) {
      left[i] = samples[2 * i] / 32768;
      right[i] = samples[2 * i + 1] / 32768;
    }
    const source = listening.createBufferSource();
    source.buffer = buffer;
    source.connect(listening.destination);
    soundAt = Math.max(soundAt, listening.currentTime + 0.05);
    source.start(soundAt);
    soundAt += frames / 44100;
  }

  function setPaused(paused) {
    watch.paused = paused;
    if (listening) {
      if (paused) listening.suspend(); else listening.resume();
    }
    repace();
    showPlace();
    wakeUp();
  }

  function repace() {
    watch.paceFlip = watch.flip;
    watch.paceWall = performance.now();
  }

  function wakeUp() {
    const wake = watch.wake;
    watch.wake = null;
    if (wake) wake();
  }

  function seek(flip) {
    if (!watch.prepared) return;
    const to = Math.round(Math.min(Math.max(flip, watch.firstReached), watch.last));
    if (Number.isNaN(to) || to === watch.flip) return;
    watch.target = to;
    wakeUp();
  }

  function step(by) {
    if (!watch.paused) setPaused(true);
    seek(watch.flip + by);
  }

  function setSpeed(speed) {
    watch.speed = speed;
    speedChoice.value = String(speed);
    soundAt = 0;
    repace();
    wakeUp();
  }

  function faster(by) {
    const index = speeds.indexOf(watch.speed) + by;
    if (index >= 0 && index < speeds.length) setSpeed(speeds[index]);
  }

  // The machinery the program lends the page (watch_controls.cpp): a copy of itself, and one
  // put back.
  const machinery = () => window.Module.watchMachinery;

  // The nearest copy at or before `flip`.
  function copyBefore(flip) {
    let best = null;
    for (const [at, copy] of watch.copies) if (at <= flip && (!best || at > best.flip)) best = copy;
    return best;
  }

  // The flip's picture, painted at the browser's next frame: faster than the display, only the
  // last flip before it is seen.
  const shown = new Uint32Array(640 * 480);
  let painting = false;
  function show(pixels) {
    shown.set(pixels);
    if (painting) return;
    painting = true;
    requestAnimationFrame(() => {
      painting = false;
      paint(shown);
    });
  }

  // Held without a break for this long, the page gets its turn before the next flip.
  const longestRunMilliseconds = 30;
  let ranSince = performance.now();
  const pause = (milliseconds) => new Promise((resolve) => {
    watch.wake = resolve;
    setTimeout(resolve, milliseconds);
  });

  // The game waits at `flip`, its picture and sound given: where the page decides what comes
  // next. Returning lets it go on to the next flip.
  async function atFlip(flip, clockMs, stage, playing) {
    // Asyncify unwinds the game's stack into memory once this has returned its promise: only
    // from here on may a copy be kept or put back.
    await null;
    watch.flip = flip;
    const index = flip - watch.first;
    if (watch.times[index] === undefined) {
      // The first flip shown is the game's time 0.
      const before = watch.clocks[index - 1] ?? clockMs;
      const step = clockMs > before && clockMs - before < 1000 ? clockMs - before : 1000 / 60;
      watch.times[index] = (watch.times[index - 1] ?? -step) + step;
      watch.clocks[index] = clockMs;
    }
    if (playing) markStage(flip, stage);
    if (watch.copies.size === 0) watch.firstReached = flip;
    if ((watch.copies.size === 0 || index % watch.flipsBetweenCopies === 0) && !watch.copies.has(flip)) {
      watch.copies.set(flip, machinery().keep(flip, watch.frame.pointer, watch.frame.pixels.length));
    }
    const ahead = watch.target !== null && copyBefore(watch.target);
    if (watch.target !== null && watch.target > flip && ahead.flip <= flip) {  // running on to it, unshown
      if (performance.now() - ranSince > longestRunMilliseconds) {
        // Beyond what is known the run may be long: say how far it has come.
        if (watch.times[index + 1] === undefined) status.textContent = `Going on to flip ${watch.target}: at ${flip}`;
        await pause(0);
        ranSince = performance.now();
      }
      return;
    }
    // At the flip asked for, or the first: shown from here on, paused at a flip asked for.
    if (!watch.prepared) {
      watch.prepared = true;
      watch.paused = watch.asked !== null;
      repace();
    }
    if (status.textContent) status.textContent = '';
    if (watch.target === flip) watch.target = null;
    let pixels = watch.frame.pixels;
    const samples = watch.frame.samples;
    for (;;) {
      if (watch.target !== null) {
        // Back, or ahead past a copy: the nearest copy put back, the game standing at its flip.
        const copy = copyBefore(watch.target);
        if (watch.target < watch.flip || (copy && copy.flip > watch.flip)) {
          pixels = machinery().putBack(copy);
          watch.flip = copy.flip;
          if (watch.target !== copy.flip) return;  // runs on to it from the copy
          watch.target = null;
          repace();
        } else if (watch.target > watch.flip) {
          return;
        } else {
          watch.target = null;
        }
      }
      if (!watch.paused) {
        const due = watch.paceWall + (milliseconds(watch.flip) - milliseconds(watch.paceFlip)) / watch.speed;
        const wait = due - performance.now();
        if (wait > 0) {
          await pause(Math.min(wait, latestMilliseconds));
          continue;  // a control may have come meanwhile
        }
        if (wait < -latestMilliseconds) repace();
      }
      show(pixels);
      showPlace();
      if (watch.flip >= watch.last && !watch.paused) setPaused(true);
      if (watch.paused) {
        await new Promise((resolve) => { watch.wake = resolve; });
        ranSince = performance.now();
        continue;
      }
      hear(samples);
      if (performance.now() - ranSince > longestRunMilliseconds) {
        await pause(0);
        ranSince = performance.now();
      }
      return;
    }
  }

  // The controls: keys, buttons, the bar (click, drag, touch) and the speed's selector.
  const keys = {
    ' ': () => setPaused(!watch.paused),
    ',': () => step(-1),
    '.': () => step(1),
    '-': () => faster(-1),
    '+': () => faster(1),
    '=': () => faster(1),  // + unshifted
    Home: () => seek(watch.firstReached),
    End: () => seek(watch.last),
  };
  window.addEventListener('keydown', (event) => {
    startSound();
    const control = keys[event.key];
    if (!control || event.ctrlKey || event.metaKey || event.altKey || event.target === speedChoice) return;
    event.preventDefault();
    control();
  });
  const button = (id, control) => document.getElementById(id).addEventListener('click', (event) => {
    startSound();
    control();
    event.currentTarget.blur();  // Space stays the page's, not the button's
  });
  button('play', () => setPaused(!watch.paused));
  button('back', () => step(-1));
  button('forward', () => step(1));
  button('fullscreen', () => {
    const stage = document.getElementById('stage');
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen?.().catch(() => {});
  });
  button('copy', () => {
    const address = `${location.origin}${location.pathname}${location.search}#flip=${watch.flip}`;
    navigator.clipboard?.writeText(address).catch(() => {});
    history.replaceState(null, '', address);
  });
  speedChoice.addEventListener('change', () => setSpeed(Number(speedChoice.value)));
  canvas.addEventListener('pointerdown', () => {
    startSound();
    setPaused(!watch.paused);
  });
  function seekAt(event) {
    const box = bar.getBoundingClientRect();
    const fraction = Math.min(Math.max((event.clientX - box.left) / box.width, 0), 1);
    seek(watch.first + fraction * (watch.last - watch.first));
  }
  bar.addEventListener('pointerdown', (event) => {
    startSound();
    bar.setPointerCapture(event.pointerId);
    seekAt(event);
  });
  bar.addEventListener('pointermove', (event) => {
    if (bar.hasPointerCapture(event.pointerId)) seekAt(event);
  });

  // A link to a moment, #flip=N, opens paused there.
  function flipAsked() {
    const asked = /^#flip=([0-9]{1,9})$/.exec(location.hash);
    return asked ? Number(asked[1]) : null;
  }

  // The game's files, the proof, then the game started with the page's side of the watching.
  async function fetched(address, how) {
    const response = await fetch(address);
    if (!response.ok) throw new Error(`${address}: ${response.status} ${response.statusText}`);
    return response[how]();
  }

  async function start() {
    const kept = new URLSearchParams(location.search).get('watch');
    if (!proofAddress && !kept) throw new Error('This page names no game to watch.');
    if (!proofAddress) {
      document.getElementById('game').replaceChildren(
        Object.assign(document.createElement('h1'), { textContent: kept.replace(/\.replay$/, '') }),
        Object.assign(document.createElement('p'), { textContent: 'One of your kept games. ' }));
      document.querySelector('#game p').append(
        Object.assign(document.createElement('a'), { href: './', textContent: 'Back to the game' }));
    }
    const [code, wasm, data, proof] = await Promise.all([
      fetched(codeFile, 'text'), fetched(wasmFile, 'arrayBuffer'), fetched(dataFile, 'arrayBuffer'),
      proofAddress ? fetched(proofAddress, 'text') : null]);
    const program = document.createElement('script');
    program.src = URL.createObjectURL(new Blob([code], { type: 'text/javascript' }));
    await new Promise((resolve, reject) => {
      program.onload = resolve;
      program.onerror = () => reject(new Error('The game\'s program could not be read.'));
      document.body.append(program);
    });
    watch.asked = flipAsked();
    window.Module = {
      canvas,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      getPreloadedPackage: () => data,
      instantiateWasm(imports, done) {
        WebAssembly.instantiate(wasm, imports).then((result) => done(result.instance));
        return {};
      },
      preRun: [() => {
        if (proof !== null) {
          window.Module.FS.writeFile('/ranked.replay', proof);
          window.Module.watchedProof = '/ranked.replay';
        }
      }],
      watchRange(first, last) {
        watch.first = first;
        watch.last = last;
        watch.flipsBetweenCopies = Math.max(fewestFlipsBetweenCopies, Math.ceil((last - first) / mostCopies));
        watch.target = watch.asked;
        bar.setAttribute('aria-valuemin', String(first));
        bar.setAttribute('aria-valuemax', String(last));
      },
      watchShow(pixels, width, height, samples, pointer) {
        watch.frame = { pixels, samples, pointer };
      },
      watchFlipped: atFlip,
      onGameStarting() {
        status.textContent = '';
        repace();
      },
      onWatchFailed(why) {
        status.textContent = `This game cannot be watched: ${why}`;
      },
      onAbort(what) {
        status.textContent = `The game stopped: ${what}`;
      },
    };
    createZimbrel(window.Module);
  }

  start().catch((error) => { status.textContent = String(error.message || error); });
})();
