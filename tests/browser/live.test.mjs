// The live panel in a real browser: Debian's chromium, headless, driven by
// playwright-core. Starts `kestrel serve` on a free port, opens the page and
// works the panel as a user would, checking what the page shows.
//
//   KESTREL=build/native/kestrel node --test tests/browser/live.test.mjs
//
// KESTREL_PICTURE=FILE also saves a picture of the page (the README's).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { copyFileSync, existsSync, mkdtempSync, readdirSync, readFileSync, renameSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const kestrel = process.env.KESTREL || 'build/native/kestrel';

// Starts the server with `options` (a panel, --watch ...); resolves with its
// process and address.
function serve(options = []) {
  return new Promise((resolve, reject) => {
    const child = spawn(kestrel, ['serve', '--port', '0', ...options], { stdio: ['ignore', 'pipe', 'inherit'] });
    let out = '';
    const timer = setTimeout(() => reject(new Error('kestrel serve did not start: ' + out)), 60000);
    child.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/is at (http:\/\/127\.0\.0\.1:\d+\/)/);
      if (m) { clearTimeout(timer); resolve({ child, url: m[1], output: () => out }); }
    });
    child.on('exit', (code) => reject(new Error(`kestrel serve ended with ${code}: ${out}`)));
  });
}

function stopped(child) {
  return new Promise((resolve) => { child.on('exit', (code, signal) => resolve({ code, signal })); child.kill('SIGINT'); });
}

// Sum of the absolute differences of two pictures' pixels.
function difference(a, b) {
  let sum = 0;
  for (let i = 0; i < a.length; ++i) sum += Math.abs(a[i] - b[i]);
  return sum;
}

// Headless chromium with a profile of its own; errors of the page collected.
async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'kestrel-chromium-'));
  const browser = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    acceptDownloads: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 1800, height: 1250 },
  });
  const errors = [];
  const page = browser.pages()[0] || await browser.newPage();
  page.on('pageerror', (e) => errors.push(e.message));
  return { profile, browser, page, errors };
}

// The panel's pixels in a box of window 0, as the page's canvas holds them.
function windowPixels(page, x, y, w, h) {
  return page.evaluate(([x, y, w, h]) =>
    Array.from(document.getElementById('window0').getContext('2d').getImageData(x, y, w, h).data), [x, y, w, h]);
}

test('the live panel in a browser', { timeout: 240000 }, async (t) => {
  const server = await serve();
  const { profile, browser, page, errors } = await launch();
  try {
    await page.goto(server.url);
    await page.selectOption('#zoom', '1');
    await page.waitForSelector('#shared tr[data-name="power"]');

    const pixels = (x, y, w, h) => windowPixels(page, x, y, w, h);
    // A point of window 0 on the screen (zoom 100%), scrolled into view.
    const at = async (x, y) => {
      await page.evaluate(([x, y]) => {
        const c = document.getElementById('window0');
        const r = c.getBoundingClientRect();
        document.getElementById('panel').scrollBy(0, r.top + y - innerHeight / 2);
      }, [x, y]);
      const r = await page.locator('#window0').boundingBox();
      return [r.x + x + 0.5, r.y + y + 0.5];
    };
    const shared = (name) => page.textContent(`#shared tr[data-name="${name}"] td.value`);
    const frame = async () => Number((await page.textContent('#clock')).match(/frame (\d+)/)[1]);
    const setVar = async (id, value) => {
      await page.fill(`#vars tr[data-id="${id}"] td.set input[type=text]`, String(value));
      await page.press(`#vars tr[data-id="${id}"] td.set input[type=text]`, 'Enter');
    };

    await t.test('the avionics switch lights the panel', async () => {
      assert.equal(await shared('power'), '0');
      const flaps = [834, 700, 93, 122];
      await page.waitForFunction(() => document.querySelector('#vars tr[data-id="0x148"]'));
      const before = await pixels(...flaps);
      // How long the page takes to show the click: from the button going
      // down to the flap lever's picture changing on the page.
      await page.evaluate(([x, y, w, h]) => {
        const canvas = document.getElementById('window0');
        const ctx = canvas.getContext('2d');
        const sum = () => ctx.getImageData(x, y, w, h).data.reduce((a, b) => a + b, 0);
        const start = sum();
        canvas.addEventListener('pointerdown', () => {
          const down = performance.now();
          const look = () => {
            if (sum() !== start) window.answered = performance.now() - down;
            else requestAnimationFrame(look);
          };
          requestAnimationFrame(look);
        }, { once: true });
      }, flaps);
      const [x, y] = await at(10 + 290, 10 + 67);  // AVNCS on the overhead switch panel
      await page.mouse.click(x, y);
      const answered = await (await page.waitForFunction(() => window.answered)).jsonValue();
      console.log(`# the click was answered on the page in ${answered.toFixed(0)} ms`);
      assert.ok(answered < 1000, `the click is answered within a second (${answered} ms)`);
      await page.waitForFunction(() =>
        document.querySelector('#shared tr[data-name="power"] td.value').textContent === '1');
      await page.waitForTimeout(300);  // the next picture
      const after = await pixels(...flaps);
      assert.ok(difference(before, after) > 50000, 'the flap lever\'s marks light up');
      const log = await page.textContent('#log');
      assert.match(log, /overhead_switches: shared power 0 -> 1/);
    });

    await t.test('the flap handle set in the inspector moves the knob to F', async () => {
      // The knob's column of the lever: where its light grey is, top to bottom.
      const knob = async () => {
        const p = await pixels(834 + 8, 700, 26, 122);
        let sum = 0, n = 0;
        for (let i = 0; i < p.length; i += 4) {
          if (p[i] + p[i + 1] + p[i + 2] > 3 * 90) { sum += Math.floor(i / 4 / 26); ++n; }
        }
        return n ? sum / n : -1;
      };
      assert.ok((await knob()) < 40, 'the knob starts at 0, at the top');
      await setVar('0x148', 16384);
      await page.waitForFunction(() =>
        document.querySelector('#vars tr[data-id="0x148"] td.value').textContent === '16384');
      await page.waitForTimeout(300);
      assert.ok((await knob()) > 95, 'the knob stands at F, at the bottom');
    });

    await t.test('a held click repeats', async () => {
      await setVar('0x16C', 1);  // the battery master
      let [x, y] = await at(635 + 16, 96 + 10);  // ENG 1's cover open
      await page.mouse.click(x, y);
      await page.click('#clear-log');
      [x, y] = await at(635 + 17, 96 + 26);  // ENG 1's start button, held for a second
      await page.mouse.move(x, y);
      await page.mouse.down();
      await page.waitForTimeout(1000);
      await page.mouse.up();
      await page.waitForTimeout(300);
      const repeats = (await page.textContent('#log')).match(/key 0x102FC/g) || [];
      assert.ok(repeats.length >= 8, `the starter's key event repeats while held (${repeats.length} times)`);
    });

    await t.test('pause, one frame, run', async () => {
      await page.click('#run');
      await page.waitForFunction(() => document.getElementById('run').textContent === 'Run');
      const paused = await frame();
      await page.waitForTimeout(400);
      assert.equal(await frame(), paused, 'no frame runs while paused');
      await page.click('#step');
      await page.waitForFunction((f) => document.getElementById('clock').textContent.includes(`frame ${f + 1} `), paused);
      await page.waitForTimeout(300);
      assert.equal(await frame(), paused + 1, 'one frame');
      await page.click('#run');
      await page.waitForTimeout(500);
      assert.ok((await frame()) > paused + 4, 'running again');
    });

    await t.test('zoomed to 200%, a click and a drag land on the areas drawn under them', async () => {
      await page.selectOption('#zoom', '2');
      // A point of window 0 on the screen at 200%, scrolled into view.
      const zoomed = async (x, y) => {
        await page.evaluate(([x, y]) => {
          const r = document.getElementById('window0').getBoundingClientRect();
          document.getElementById('panel').scrollBy(r.left + 2 * x - innerWidth / 2, r.top + 2 * y - innerHeight / 2);
        }, [x, y]);
        const r = await page.locator('#window0').boundingBox();
        assert.equal(Math.round(r.width), 2 * 1290, 'the window is drawn twice its size');
        return [r.x + 2 * x + 1, r.y + 2 * y + 1];
      };
      await page.click('#clear-log');
      // The flap lever's flaps-up area, near its lower edge (at 100% this
      // screen point would be far from it).
      let [x, y] = await zoomed(834 + 20, 700 + 50);
      await page.mouse.click(x, y);
      // The thrust levers' forward area, dragged up.
      [x, y] = await zoomed(557 + 140, 700 + 60);
      await page.mouse.move(x, y);
      await page.mouse.down();
      for (let i = 1; i <= 6; ++i) {
        await page.mouse.move(x, y - 8 * i);
        await page.waitForTimeout(120);
      }
      await page.mouse.up();
      await page.waitForTimeout(300);
      const log = await page.textContent('#log');
      assert.match(log, /flap_lever: key 0x100DF/);
      const thrust = log.match(/throttle_quadrant: key 0x1003E/g) || [];
      assert.ok(thrust.length >= 3, `the drag sends the thrust event as it moves (${thrust.length} times)`);
      await page.selectOption('#zoom', '1');
    });

    if (process.env.KESTREL_PICTURE) {
      // The panel in flight, flaps 2, the displays on.
      await page.setViewportSize({ width: 1240, height: 760 });
      await page.click('#clear-log');
      await page.selectOption('#zoom', 'fit');
      for (const [id, v] of [['0x148', 6553.6], ['0x3D', 180], ['0x4A', 3000], ['0x33D', 914], ['0x51', 262],
                             ['0x50', 12], ['0x4E', -5], ['0x22C', 20], ['0x4C', 29.92]]) {
        if (await page.$(`#vars tr[data-id="${id}"]`)) await setVar(id, v);
      }
      for (const name of ['display', 'eicas']) {
        await page.fill(`#shared tr[data-name="${name}"] td.set input`, '1');
        await page.press(`#shared tr[data-name="${name}"] td.set input`, 'Enter');
      }
      await page.waitForTimeout(800);
      await page.evaluate(() => {
        document.getElementById('panel').scrollTo(0, 0);
        document.getElementById('inspector').scrollTo(0, 0);
      });
      await page.screenshot({ path: process.env.KESTREL_PICTURE });
    }
    assert.deepEqual(errors, [], 'the page ran without errors');
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
    const end = await stopped(server.child);
    assert.equal(end.code, 0, 'Ctrl-C stops the server cleanly');
    assert.match(server.output(), /kestrel: stopped/);
  }
});

test('a rebuilt module reloaded in place, and a session recorded', { timeout: 240000 }, async () => {
  // The modules in a Gauges folder of the test's own, where one is "rebuilt".
  const built = join(dirname(kestrel), 'Gauges');
  const gauges = mkdtempSync(join(tmpdir(), 'kestrel-gauges-'));
  for (const f of readdirSync(built)) copyFileSync(join(built, f), join(gauges, f));
  const server = await serve(['--gauges', gauges, '--watch']);
  const { profile, browser, page, errors } = await launch();
  try {
    await page.goto(server.url);
    await page.selectOption('#zoom', '1');
    await page.waitForSelector('#shared tr[data-name="power"]');
    assert.equal(await page.textContent('#watch'), 'reload on');

    // Record, then stop: the page offers the file by the name given.
    await page.click('#record');
    await page.waitForFunction(() => document.getElementById('record').textContent === 'Stop recording');
    page.once('dialog', (d) => d.accept('flaps'));
    const download = page.waitForEvent('download');
    await page.click('#record');
    assert.equal((await download).suggestedFilename(), 'flaps.kes');
    assert.match(await page.textContent('#log'), /recording flaps\.kes/);

    // The flap lever rebuilt as another lever: written beside, then renamed over, as a linker does.
    const flaps = [834, 700, 93, 122];
    const before = await windowPixels(page, ...flaps);
    copyFileSync(join(built, 'spoiler_lever.gau'), join(gauges, 'flap_lever.gau.new'));
    renameSync(join(gauges, 'flap_lever.gau.new'), join(gauges, 'flap_lever.gau'));
    await page.waitForFunction(() => /reloaded flap_lever in \d+ ms/.test(document.getElementById('log').textContent),
                               null, { timeout: 10000 });
    await page.waitForTimeout(500);  // the next picture
    const after = await windowPixels(page, ...flaps);
    assert.ok(difference(before, after) > 0, 'the new module\'s picture');
    assert.deepEqual(errors, [], 'the page ran without errors');
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
    await stopped(server.child);
    rmSync(gauges, { recursive: true, force: true });
  }
});

// The panel studio as a panel builder uses it: the cockpit panel copied into
// a folder with blanks and non-ASCII letters, served, a gauge dragged in
// edit mode, saved; the file then differs in exactly that gauge's line, and
// the file as it was is kept beside it.
test('the panel studio: drag a gauge, save, exactly its line changed', { timeout: 240000 }, async () => {
  const folder = mkdtempSync(join(tmpdir(), 'kestrel studio é ü-'));
  const panel = join(folder, 'panel.cfg');
  copyFileSync(fileURLToPath(new URL('../../panels/development/panel.cfg', import.meta.url)), panel);
  const original = readFileSync(panel);
  const server = await serve([panel]);
  const { profile, browser, page, errors } = await launch();
  try {
    await page.goto(server.url);
    await page.selectOption('#zoom', '1');
    await page.waitForSelector('#shared tr[data-name="power"]');
    assert.equal(await page.isVisible('#studio'), false, 'flying is the default');
    await page.click('#edit-toggle');
    await page.waitForSelector('#studio', { state: 'visible' });
    // Every gauge's place outlined: the cockpit's 31.
    assert.equal(await page.locator('#window0 + .overlay .box').count(), 31);

    // The flap lever (gauge27 at 834, 700, 93 x 122), dragged 20 right, 10 down.
    await page.evaluate(() => {
      const r = document.getElementById('window0').getBoundingClientRect();
      document.getElementById('panel').scrollBy(0, r.top + 760 - innerHeight / 2);
    });
    const r = await page.locator('#window0').boundingBox();
    const [x, y] = [r.x + 834 + 40, r.y + 700 + 60];
    await page.mouse.move(x, y);
    await page.mouse.down();
    for (let i = 1; i <= 5; ++i) {
      await page.mouse.move(x + 4 * i, y + 2 * i);
      await page.waitForTimeout(40);
    }
    await page.mouse.up();
    await page.waitForFunction(() => /gauge27 .*flap_lever!KESTREL/.test(document.getElementById('selection').textContent) &&
                                     /box 854, 710, 93×122/.test(document.getElementById('selection').textContent));
    assert.match(await page.textContent('#selection'), /line 57 of panel\.cfg/);
    assert.equal(await page.textContent('#file-status'), 'edited, not saved');
    assert.deepEqual(readFileSync(panel), original, 'nothing is written before Save');

    await page.click('#save');
    await page.waitForFunction(() => document.getElementById('file-status').textContent === 'saved');
    const before = original.toString('latin1').split('\n'), after = readFileSync(panel, 'latin1').split('\n');
    assert.equal(after.length, before.length);
    const changed = before.flatMap((line, i) => (line === after[i] ? [] : [i + 1]));
    assert.deepEqual(changed, [57], 'exactly the flap lever\'s line changed');
    assert.equal(after[56], 'gauge27=flap_lever!KESTREL, 854, 710, 93, 122');
    assert.ok(existsSync(panel + '.bak'), 'the file as it was is kept beside it');
    assert.deepEqual(readFileSync(panel + '.bak'), original);
    // Flying again, the lever answers the mouse in its new place: the same
    // module, still running.
    await page.click('#edit-toggle');
    assert.equal(await page.isVisible('#studio'), false);
    await page.click('#clear-log');
    await page.mouse.click(r.x + 854 + 20, r.y + 710 + 50);
    await page.waitForFunction(() => /flap_lever: key 0x100DF/.test(document.getElementById('log').textContent));
    assert.deepEqual(errors, [], 'the page ran without errors');
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
    const end = await stopped(server.child);
    assert.equal(end.code, 0, 'Ctrl-C stops the server cleanly');
    rmSync(folder, { recursive: true, force: true });
  }
});
