// The page when things go wrong: served without its data file, and in a browser that keeps no
// storage for it.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { serve } from '../../tools/web/serve.mjs';
import { webDir } from './support/builds.mjs';

const require = createRequire(`${webDir}/npm/`);
const puppeteer = require('puppeteer-core');
const site = path.join(webDir, 'site');
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let browser;
before(async () => {
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'],
  });
});
after(async () => browser?.close());

// The page's lines (the fault in the picture's place, the notice under it) once it settles.
async function visit(url, prepare = async () => {}) {
  const page = await browser.newPage();
  await prepare(page);
  await page.goto(url);
  await sleep(3000);
  const lines = await page.evaluate(() => ({
    fault: document.getElementById('fault').hidden ? '' : document.getElementById('fault').textContent,
    notice: document.getElementById('notice').hidden ? '' : document.getElementById('notice').textContent,
    canvasShown: !document.getElementById('canvas').hidden,
    running: typeof Module !== 'undefined' && Module.calledRun === true,
  }));
  await page.close();
  return lines;
}

test('served without its data file, the page says so in one line instead of a blank picture',
  async () => {
    const served = await serve(site, { leaveOut: ['zimbrel.data'] });
    try {
      const lines = await visit(served.url);
      assert.match(lines.fault, /zimbrel\.data/);
      assert.equal(lines.canvasShown, false);
    } finally {
      served.server.close();
    }
  });

test('where the browser refuses storage, the game plays and says once that scores are not kept',
  async () => {
    const served = await serve(site);
    try {
      const lines = await visit(served.url, (page) => page.evaluateOnNewDocument(() => {
        Object.defineProperty(window, 'indexedDB', { get() { throw new Error('refused'); } });
      }));
      assert.equal(lines.fault, '');
      assert.match(lines.notice, /scores will not be kept/);
      assert.equal(lines.running, true);
      assert.equal(lines.canvasShown, true);
    } finally {
      served.server.close();
    }
  });
