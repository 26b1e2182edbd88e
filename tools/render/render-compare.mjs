// Loads each page and its optimized copy in Debian's chromium and says whether they show the same.
//
//   node render-compare.mjs ORIGINALS OPTIMIZED [--min-percent N]
//                                                  pages of ORIGINALS against the files of the same relative
//                                                  path in OPTIMIZED; prints "same" or "differs" per page and
//                                                  fails when fewer than N % show the same
//   node render-compare.mjs --check-checker PAGE  the checker itself: PAGE against itself twice must be
//                                                  "same", PAGE with one word of its text removed "differs"
//
// Both loads run under the same conditions: JavaScript off, every request but the page's own refused (so
// nothing from outside, not even its style sheets or images, can make two loads differ), a 1280 px wide
// window, a fresh profile. A page "shows the same" when the full-page screenshot is equal pixel for pixel
// and document.title and document.body.innerText are equal.
import { chromium } from 'playwright-core';
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, relative } from 'node:path';
import { inflateSync } from 'node:zlib';

const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const kPageExtensions = /\.(html?|shtml?|sht|php[34]?|phtml|pht|asp|cfml?)$/i;

async function openBrowser() {
  const profile = mkdtempSync(join(tmpdir(), 'qmk-render-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: kFlags,
    javaScriptEnabled: false,
    viewport: { width: 1280, height: 800 },
    deviceScaleFactor: 1,
  });
  return { context, close: async () => { await context.close(); rmSync(profile, { recursive: true, force: true }); } };
}

// What a page shows: its screenshot and its texts.
async function render(context, name, bytes) {
  const page = await context.newPage();
  const url = 'http://page.invalid/' + encodeURIComponent(name).replace(/%2F/g, '/');
  await page.route('**/*', (route) =>
    route.request().url() === url
      ? route.fulfill({ status: 200, headers: { 'content-type': 'text/html' }, body: bytes })
      : route.abort());
  try {
    await page.goto(url, { waitUntil: 'load', timeout: 30000 });
    const texts = await page.evaluate(() => ({
      title: document.title,
      text: document.body ? document.body.innerText : '',
    }));
    const png = await page.screenshot({ fullPage: true, animations: 'disabled', caret: 'hide', type: 'png' });
    return { ...texts, png };
  } finally {
    await page.close();
  }
}

// Width, height and RGBA rows of an 8-bit, non-interlaced PNG as chromium writes it.
function decodePng(png) {
  let offset = 8, width = 0, height = 0, colourType = 0;
  const data = [];
  while (offset < png.length) {
    const length = png.readUInt32BE(offset);
    const type = png.toString('latin1', offset + 4, offset + 8);
    const body = png.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') { width = body.readUInt32BE(0); height = body.readUInt32BE(4); colourType = body[9]; }
    if (type === 'IDAT') data.push(body);
    offset += 12 + length;
  }
  const channels = colourType === 6 ? 4 : 3;
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = [];
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = previous[i], c = i >= channels ? previous[i - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = b;
      else if (filter === 3) add = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[i] = (line[i] + add) & 0xff;
    }
    rows.push(line);
    previous = line;
  }
  return { width, height, channels, rows };
}

// Twenty characters before the difference and thirty from it, with the invisible ones spelled out.
function around(text, at) {
  return JSON.stringify(text.slice(Math.max(0, at - 20), at + 30))
    .replace(/[\u0080-\uffff]/g, (c) => '\\u' + c.charCodeAt(0).toString(16).padStart(4, '0'));
}

// The first difference between two renderings, or null when they show the same.
function firstDifference(a, b) {
  if (a.title !== b.title) return `title ${JSON.stringify(a.title)} vs ${JSON.stringify(b.title)}`;
  if (a.text !== b.text) {
    let at = 0;
    while (at < a.text.length && a.text[at] === b.text[at]) ++at;
    return `text at character ${at}: ${around(a.text, at)} vs ${around(b.text, at)}`;
  }
  if (a.png.equals(b.png)) return null;
  const x = decodePng(a.png), y = decodePng(b.png);
  if (x.width !== y.width || x.height !== y.height)
    return `screenshot size ${x.width}x${x.height} vs ${y.width}x${y.height}`;
  for (let row = 0; row < x.height; ++row) {
    if (x.rows[row].equals(y.rows[row])) continue;
    let i = 0;
    while (x.rows[row][i] === y.rows[row][i]) ++i;
    return `screenshot pixel (${Math.floor(i / x.channels)}, ${row})`;
  }
  return null; // the same pixels, encoded alike or not
}

function pagesUnder(folder) {
  const found = [];
  const walk = (dir) => {
    for (const entry of readdirSync(dir).sort()) {
      const path = join(dir, entry);
      if (statSync(path).isDirectory()) walk(path);
      else if (kPageExtensions.test(entry)) found.push(path);
    }
  };
  walk(folder);
  return found;
}

async function compareFolders(originals, optimized, minPercent) {
  const browser = await openBrowser();
  const paths = pagesUnder(originals);
  const results = new Array(paths.length);
  let same = 0, bytesBefore = 0, bytesAfter = 0, next = 0, printed = 0;
  // Two pages at a time keep both cores busy; the lines still come out in order.
  const worker = async () => {
    while (next < paths.length) {
      const index = next++;
      const name = relative(originals, paths[index]);
      const before = readFileSync(paths[index]);
      const after = readFileSync(join(optimized, name));
      bytesBefore += before.length;
      bytesAfter += after.length;
      const difference = firstDifference(await render(browser.context, name, before),
        await render(browser.context, name, after));
      if (difference === null) ++same;
      results[index] = difference === null ? `same     ${name}` : `differs  ${name}: ${difference}`;
      while (printed < results.length && results[printed] !== undefined) console.log(results[printed++]);
    }
  };
  try {
    await Promise.all([worker(), worker()]);
  } finally {
    await browser.close();
  }
  const total = paths.length;
  const percent = total ? ((100 * same) / total).toFixed(1) : '0.0';
  const saved = bytesBefore - bytesAfter;
  console.log(`${same} of ${total} pages show the same (${percent} %); ` +
    `${bytesBefore} -> ${bytesAfter} bytes, ${saved} saved (${((100 * saved) / Math.max(bytesBefore, 1)).toFixed(2)} %)`);
  return total === 0 || (100 * same) / total >= minPercent;
}

// A word of the page's visible text, taken out of the markup where it stands as text.
function withoutOneWord(bytes, text) {
  const html = bytes.toString('latin1');
  for (const word of text.split(/\s+/).filter((w) => /^[A-Za-z]{4,}$/.test(w))) {
    for (let at = html.indexOf(word); at >= 0; at = html.indexOf(word, at + 1)) {
      const open = html.lastIndexOf('<', at), close = html.lastIndexOf('>', at);
      const whole = !/[A-Za-z]/.test(html[at - 1] || '') && !/[A-Za-z]/.test(html[at + word.length] || '');
      if (close >= open && whole) return { word, bytes: Buffer.from(html.slice(0, at) + html.slice(at + word.length), 'latin1') };
    }
  }
  return null;
}

async function checkChecker(path) {
  const browser = await openBrowser();
  let failures = 0;
  try {
    const bytes = readFileSync(path);
    const first = await render(browser.context, 'page.html', bytes);
    for (let run = 1; run <= 2; ++run) {
      const difference = firstDifference(first, await render(browser.context, 'page.html', bytes));
      console.log(`page against itself, run ${run}: ${difference === null ? 'same' : 'differs: ' + difference}`);
      if (difference !== null) ++failures;
    }
    const changed = withoutOneWord(bytes, first.text);
    if (!changed) {
      console.log('no word of the text found in the markup');
      ++failures;
    } else {
      const difference = firstDifference(first, await render(browser.context, 'page.html', changed.bytes));
      console.log(`page without "${changed.word}": ${difference === null ? 'same' : 'differs: ' + difference}`);
      if (difference === null) ++failures;
    }
  } finally {
    await browser.close();
  }
  console.log(failures ? 'the checker is broken' : 'the checker works');
  return failures === 0;
}

const args = process.argv.slice(2);
if (args[0] === '--check-checker' && args.length === 2) {
  process.exitCode = (await checkChecker(args[1])) ? 0 : 1;
} else if (args.length === 2 || (args.length === 4 && args[2] === '--min-percent')) {
  const minPercent = args.length === 4 ? Number(args[3]) : 0;
  if (!(await compareFolders(args[0], args[1], minPercent))) {
    console.log(`fewer than ${minPercent} % of the pages show the same`);
    process.exitCode = 3;
  }
} else {
  console.error('usage: render-compare.mjs ORIGINALS OPTIMIZED [--min-percent N] | --check-checker PAGE');
  process.exitCode = 2;
}
