// Reads the files given by the page, one after another in the order given,
// with the Tiffwalker engine compiled to WebAssembly.
//
// Each read of a piece of a chosen file costs about a millisecond whatever its
// size, so the number of reads decides the time. A file's head (its directories
// and maker notes lie there in camera files) is read in one asynchronous read,
// many files' heads at once; the engine's walk is served from it, and only what
// lies beyond the head is read synchronously while the walk asks for it. No
// file is ever read whole.
'use strict';

importScripts('engine.js');

// A camera file's directories and maker notes lie in its first 64 KiB or a
// little beyond; a larger head costs more to read than the occasional read
// beyond it (measured in a worker: 1000 heads of 64 KiB in 0.8 s, of 256 KiB in
// 1.5 s). The page may set another size (for tests) in its start message.
let headBytes = 64 * 1024;
const HEADS_IN_FLIGHT = 48;
// The page hands files over in small batches, each in a task of its own, so
// that taking them in never blocks the page; the worker asks for more while it
// still has this many waiting, enough to keep HEADS_IN_FLIGHT reads going.
const ASK_BELOW = 2 * HEADS_IN_FLIGHT;
let asked = false;

function askForMore() {
  if (!asked && jobs.length < ASK_BELOW) {
    asked = true;
    self.postMessage({ type: 'more' });
  }
}
// Rows go to the page in batches, ten a second: a message (and a new layout of
// the table) per file would cost the page more than the reading.
const POST_INTERVAL_MS = 100;

// Texts the engine hands over are UTF-8 (its JSON makes them so); the TSV line
// stays bytes, so that the download keeps a file's texts as the command does.
const decoder = new TextDecoder('utf-8');
const syncReader = new FileReaderSync();

let engine = null;
let engineStarting = null;
let currentFile = null;

const jobs = [];      // { index, file, path, head: Promise }
let headsStarted = 0; // jobs[0 .. headsStarted) have their head read started
let headsInFlight = 0;
let running = false;
let unsent = [];
let lastPost = 0;

// The engine asks for bytes beyond the head: read them now, synchronously.
// -1 tells it the file could not be read.
function readBeyondHead(position, dest, length) {
  try {
    const bytes = new Uint8Array(syncReader.readAsArrayBuffer(currentFile.slice(position, position + length)));
    engine.HEAPU8.set(bytes, dest);
    return bytes.length;
  } catch (error) {
    return -1;
  }
}

// The engine's bytes, fetched once: an engine started again after a failure
// is the same version as engine.js, whatever the site has been updated to.
let wasmBytes = null;

async function engineBytes() {
  if (!wasmBytes) {
    const response = await fetch('engine.wasm');
    if (!response.ok) throw new Error(`engine.wasm: HTTP ${response.status}`);
    wasmBytes = await response.arrayBuffer();
  }
  return wasmBytes;
}

function startEngine() {
  if (!engineStarting) {
    engineStarting = engineBytes()
      .then((bytes) => createFrametallyEngine({ readBeyondHead, print: () => {}, printErr: () => {}, wasmBinary: bytes }))
      .then((instance) => { engine = instance; })
      .catch((error) => {
        engineStarting = null;
        throw error;
      });
  }
  return engineStarting;
}

function startHeadRead(job) {
  headsInFlight += 1;
  job.head = job.file.slice(0, headBytes).arrayBuffer().then(
    (bytes) => ({ bytes }),
    (error) => ({ error }),
  ).finally(() => {
    headsInFlight -= 1;
    keepHeadsInFlight();
  });
}

function keepHeadsInFlight() {
  while (headsInFlight < HEADS_IN_FLIGHT && headsStarted < jobs.length) startHeadRead(jobs[headsStarted++]);
}

function rowOf(job, fields) {
  return Object.assign({ index: job.index, path: job.path, name: job.file.name }, fields);
}

// The engine hands back a reading's texts as (pointer, length) pairs, in the
// order of the module's Published: its named fields and shown texts as one
// JSON object ({ row, shown }), its JSON line, its TSV line's bytes.
function textsOf(publishedPointer) {
  const at = publishedPointer >>> 2;
  const words = engine.HEAPU32;
  const bytes = (slot) => engine.HEAPU8.slice(words[at + 2 * slot], words[at + 2 * slot] + words[at + 2 * slot + 1]);
  const { row, shown } = JSON.parse(decoder.decode(bytes(0)));
  return { row, shown, jsonLine: decoder.decode(bytes(1)), tsvLine: bytes(2) };
}

function inspect(job, bytes) {
  const head = new Uint8Array(bytes);
  const headPointer = engine._frametally_head_buffer(head.length);
  engine.HEAPU8.set(head, headPointer);
  currentFile = job.file;
  let table;
  try {
    table = engine.ccall('frametally_inspect', 'number', ['string', 'number', 'number'],
      [job.path, head.length, job.file.size]);
  } finally {
    currentFile = null;
  }
  return Object.assign(textsOf(table), { bytesRead: engine._frametally_bytes_read() });
}

const messageOf = (error) => String(error && error.message ? error.message : error);

// A file the engine did not read: its head could not be read, or the engine
// stopped on it. Its row still comes from the engine, as every other.
function unread(job, notReadable, text) {
  return textsOf(engine.ccall('frametally_unread', 'number', ['string', 'number', 'string'],
    [job.path, notReadable ? 1 : 0, text]));
}

function post(force) {
  const now = performance.now();
  if (unsent.length === 0 || (!force && now - lastPost < POST_INTERVAL_MS)) return;
  self.postMessage({ type: 'rows', rows: unsent });
  unsent = [];
  lastPost = now;
}

async function run() {
  if (running) return;
  running = true;
  try {
    await startEngine();
  } catch (error) {
    running = false;
    self.postMessage({ type: 'engine-failed', message: String(error && error.message ? error.message : error) });
    return;
  }
  while (jobs.length > 0) {
    keepHeadsInFlight();
    const job = jobs[0];
    const head = await job.head;
    jobs.shift();
    headsStarted -= 1;
    askForMore();
    let fields;
    if (head.error) {
      fields = unread(job, true, messageOf(head.error));
    } else {
      try {
        fields = inspect(job, head.bytes);
      } catch (error) {
        // The engine itself failed (a trap, memory exhausted): this file gets
        // its row, and the next file a fresh engine.
        const message = `the reader stopped: ${messageOf(error)}`;
        engine = null;
        engineStarting = null;
        try {
          await startEngine();
          fields = unread(job, false, message);
        } catch (restartError) {
          // No engine to build the rows: the page still shows the file.
          fields = { row: { path: job.path, result: null, status: 'error', message,
            reason: `the reading raised an error: ${message}` }, shown: {}, jsonLine: '', tsvLine: new Uint8Array() };
          unsent.push(rowOf(job, fields));
          post(true);
          jobs.length = 0;
          headsStarted = 0;
          running = false;
          self.postMessage({ type: 'engine-failed', message: String(restartError) });
          return;
        }
      }
    }
    unsent.push(rowOf(job, fields));
    post(false);
  }
  post(true);
  running = false;
}

self.onmessage = (event) => {
  const message = event.data;
  if (message.type === 'read') {
    for (const item of message.items) jobs.push({ index: item.index, file: item.file, path: item.path, head: null });
    asked = false;
    if (message.items.length > 0) askForMore();
    keepHeadsInFlight();
    run();
  } else if (message.type === 'history') {
    // The history of the page's readings, made by the engine's inspection
    // layer from their TSV lines, as `tiffwalker --history` makes it.
    startEngine().then(() => {
      engine._frametally_history_clear();
      for (const line of message.lines) engine.ccall('frametally_history_add', null, ['string'], [line]);
      self.postMessage({ type: 'history', run: message.run, jsonLines: engine.UTF8ToString(engine._frametally_history_json()) });
    }, () => {});
  } else if (message.type === 'start') {
    if (Number.isInteger(message.headBytes) && message.headBytes > 0) headBytes = message.headBytes;
    startEngine().then(
      () => self.postMessage({ type: 'ready', tsvHeader: engine.UTF8ToString(engine._frametally_tsv_header()) }),
      (error) => self.postMessage({ type: 'engine-failed', message: String(error && error.message ? error.message : error) }),
    );
  }
};
