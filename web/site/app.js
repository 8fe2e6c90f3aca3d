// The page: takes files from the pickers and from drops, hands them to the
// reading workers, and shows a row per file, in the order given, as its
// reading comes back, with the summary above them. Downloads are made here
// from what was read.
import { chosenFiles, droppedFiles, folderFiles } from './file-gathering.js';
import { askForHistory, clearHistory, showHistory } from './history-chart.js';
import { jsonLinesText, Tally, tsvBlob } from './report-formats.js';
import { breakableName, dateElement, lineWithPath } from './shown-texts.js';

const STATUS_WORDS = {
  count: 'count',
  not_readable: 'Not Readable',
  no_exif: 'No EXIF data',
  no_count: 'No Count',
  error: 'Error',
};
// Screen readers hear the progress at most this often.
const PROGRESS_INTERVAL_MS = 500;
// Files go to a worker this many at a time, each batch in a task of its own:
// handing over a File costs the page up to a millisecond (posting 32 took 7
// to 38 ms in Chromium on a loaded machine), and no task may keep the page
// from answering for long.
const FILES_PER_MESSAGE = 16;
// Two workers read at once where there are two processors: while one runs the
// engine, the other's reads go on.
const WORKER_COUNT = Math.max(1, Math.min(2, navigator.hardwareConcurrency || 1));

const page = {
  filesInput: document.getElementById('files'),
  folderInput: document.getElementById('folder'),
  dropZone: document.getElementById('drop-zone'),
  progress: document.getElementById('progress'),
  resultsSection: document.getElementById('results-section'),
  table: document.getElementById('results'),
  body: document.querySelector('#results tbody'),
  summary: document.getElementById('summary'),
  summaryTotals: document.getElementById('summary-totals'),
  summaryBodies: document.getElementById('summary-bodies'),
  update: document.getElementById('update'),
  updateButton: document.getElementById('update-reload'),
};

let workers = [];       // { worker, hungry }: hungry once it asked for files and none were left
let workersReady = 0;
let pending = [];       // files not yet handed to a worker
let readings = [];      // by index, as they come back
let given = 0;          // files given to the page so far
let shown = 0;          // rows shown: readings[0 .. shown) are on the page
let givenAt = 0;        // when the files of the current run were given
let lastProgress = 0;
let problems = [];
let tsvHeader = '';     // the engine's TSV header line
let stale = false;      // another tab put a new version in charge: start nothing new of the old one
let givenBefore = 0;    // files already in the table when the current run's files were given

// A test may set the size of the head the worker reads at once: ?head=BYTES.
function headBytes() {
  const head = new URLSearchParams(window.location.search).get('head');
  return /^[0-9]+$/.test(head || '') ? Number(head) : undefined;
}

function handOver(slot) {
  if (pending.length === 0) {
    slot.hungry = true;
    return;
  }
  slot.hungry = false;
  slot.worker.postMessage({ type: 'read', items: pending.splice(0, FILES_PER_MESSAGE) });
}

function startWorkers() {
  workersReady = 0;
  workers = Array.from({ length: WORKER_COUNT }, () => {
    const slot = { worker: new Worker('reader-worker.js'), hungry: true };
    slot.worker.onmessage = (event) => {
      const message = event.data;
      if (message.type === 'more') {
        handOver(slot);
      } else if (message.type === 'rows') {
        takeRows(message.rows);
      } else if (message.type === 'ready') {
        tsvHeader = message.tsvHeader;
        workersReady += 1;
        if (workersReady === workers.length) document.documentElement.dataset.engine = 'ready';
      } else if (message.type === 'history') {
        showHistory(message);
      } else if (message.type === 'engine-failed') {
        engineFailed(message.message);
      }
    };
    slot.worker.onerror = (event) => engineFailed(event.message || 'the reading worker stopped');
    slot.worker.postMessage({ type: 'start', headBytes: headBytes() });
    return slot;
  });
}

function engineFailed(message) {
  document.documentElement.dataset.engine = 'failed';
  page.progress.textContent = `The reader could not start in this browser: ${message}`;
  page.table.setAttribute('aria-busy', 'false');
}

function cell(row, className, label, content) {
  const td = row.insertCell();
  if (className) td.className = className;
  td.dataset.label = label;
  td.append(content);
  return td;
}

// A reading: the row's named fields as the JSON download has them (row), the
// texts the page shows, made by the engine's inspection layer (shown), and the
// file's name and path as given.
function rowFor(reading) {
  const { row: r, shown } = reading;
  const row = document.createElement('tr');
  const d = row.dataset;
  d.name = reading.name;
  d.path = reading.path;
  d.status = r.status;
  d.result = (r.status === 'error' ? r.message : r.result) ?? '';
  d.make = r.make ?? '';
  d.model = r.model ?? '';
  d.serial = r.serial ?? '';
  d.dateTimeOriginal = r.date_time_original ?? '';
  d.lens = r.lens ?? '';
  d.reason = r.reason ?? '';
  d.countKind = shown.countKind ?? '';
  d.mechanicalCount = shown.mechanicalCount ?? '';
  d.ratedLife = shown.ratedLife ?? '';
  d.camera = shown.camera ?? '';
  d.bytesRead = reading.bytesRead ?? 0;

  const name = document.createElement('th');
  name.scope = 'row';
  name.className = 'name';
  name.append(breakableName(reading.path));
  row.append(name);
  const result = cell(row, 'result', 'Count', r.status === 'error' ? 'Error' : shown.result ?? d.result);
  // Beneath the result: what the count counts (makers count different
  // things), the mechanical releases a body records beside it, the share of
  // the rated life; for a file without a count, the reason.
  const lines = [shown.countKind, shown.mechanicalCount && `Mechanical releases: ${shown.mechanicalCount}`,
    shown.ratedLife, shown.plainReason || d.reason];
  for (const text of lines.filter(Boolean)) {
    const span = document.createElement('span');
    span.className = 'reason';
    span.textContent = text;
    result.append(span);
  }
  cell(row, '', 'Camera', d.camera);
  cell(row, 'serial', 'Serial number', shown.serial ?? '');
  cell(row, 'taken', 'Taken', dateElement(shown.date, shown.dateTime));
  cell(row, '', 'Lens', shown.lens ?? '');
  return row;
}

// Rows come from each worker in its own order; they are shown in the order
// the files were given.
function takeRows(rows) {
  for (const reading of rows) readings[reading.index] = reading;
  const fragment = document.createDocumentFragment();
  const first = shown;
  while (shown < given && readings[shown]) fragment.append(rowFor(readings[shown++]));
  if (shown === first) return;
  page.body.append(fragment);
  const now = performance.now();
  if (shown === given) {
    finishRun();
  } else if (now - lastProgress >= PROGRESS_INTERVAL_MS) {
    lastProgress = now;
    page.progress.textContent = `Reading: ${shown} of ${given} files read.`;
  }
}

function summaryLine(tally) {
  const parts = [];
  const plural = (n, word) => `${n} ${word}${n === 1 ? '' : 's'}`;
  if (tally.byStatus.get('count')) parts.push(plural(tally.byStatus.get('count'), 'count'));
  for (const status of ['no_count', 'no_exif', 'not_readable']) {
    if (tally.byStatus.get(status)) parts.push(`${tally.byStatus.get(status)} ${STATUS_WORDS[status]}`);
  }
  if (tally.byStatus.get('error')) parts.push(plural(tally.byStatus.get('error'), 'error'));
  return `${plural(tally.files, 'file')}: ${parts.join(', ')}.`;
}

// What a screen reader hears at the end: for one file its result itself.
function doneLine(tally) {
  const only = readings.filter(Boolean);
  if (tally.files !== 1 || only.length !== 1) return `Done: ${summaryLine(tally)}`;
  const { row: r, shown } = only[0];
  // What the count counts, heard with it: an image count is no shutter count.
  if (r.status === 'count') {
    const mechanical = shown.mechanicalCount && `mechanical releases: ${shown.mechanicalCount}`;
    return `Done: ${r.path}: ${[shown.result, shown.countKind, mechanical].filter(Boolean).join(', ')}.`;
  }
  return `Done: ${r.path}: ${STATUS_WORDS[r.status]}. ${shown.plainReason || r.reason || r.message || ''}`;
}

function showSummary() {
  const tally = new Tally();
  for (const reading of readings) if (reading) tally.add(reading);
  page.summaryTotals.textContent = summaryLine(tally);
  // Each body's line, with what its count counts, as the engine words it for
  // the file that holds the body's highest count.
  page.summaryBodies.replaceChildren(...tally.sortedBodies().map((body) => {
    const item = document.createElement('li');
    item.append(...lineWithPath(body.reading.shown.bodyLine ?? '', body.path));
    return item;
  }));
  page.summary.hidden = false;
  return tally;
}

function finishRun() {
  const tally = showSummary();
  if (workers.length > 0) askForHistory(workers[0].worker, readings.filter(Boolean));
  const problemText = problems.length ? ` Some files or folders could not be listed: ${problems.join('; ')}.` : '';
  page.progress.textContent = `${doneLine(tally)}${addedText(given - givenBefore)}${problemText}`;
  // The time from the files being given to the last row on the screen.
  requestAnimationFrame(() => {
    page.table.dataset.elapsedMs = (performance.now() - givenAt).toFixed(1);
    page.table.setAttribute('aria-busy', 'false');
  });
}

const fileCount = (n) => `${n} ${n === 1 ? 'file' : 'files'}`;

// More files chosen are added to the table: said, so that no one takes the
// summary for that of the files just chosen.
function addedText(count) {
  if (givenBefore === 0) return '';
  return ` The ${fileCount(count)} just given ${count === 1 ? 'was' : 'were'} added to the ${fileCount(givenBefore)} read `
    + 'before; Clear starts afresh.';
}

function read(items, more) {
  problems = more || [];
  if (items.length === 0) {
    page.progress.textContent = problems.length
      ? `No camera files found. ${problems.join('; ')}`
      : 'No camera files found there.';
    return;
  }
  givenAt = performance.now();
  delete page.table.dataset.elapsedMs;
  page.table.setAttribute('aria-busy', 'true');
  page.resultsSection.hidden = false;
  page.summary.hidden = true;
  clearHistory();
  givenBefore = given;
  page.progress.textContent = givenBefore
    ? `Reading ${fileCount(items.length)}, added to the ${fileCount(givenBefore)} read before…`
    : `Reading ${fileCount(items.length)}…`;
  lastProgress = performance.now();
  for (const item of items) pending.push({ index: given++, file: item.file, path: item.path });
  // The first batches in tasks of their own, after this one has let the page
  // show "Reading…"; the workers ask for the rest as they go.
  for (const slot of workers) {
    if (slot.hungry) {
      slot.hungry = false;
      setTimeout(() => handOver(slot), 0);
    }
  }
}

function clear() {
  if (stale) {
    // The files of this page's version may be gone: start afresh on the new one.
    window.location.reload();
    return;
  }
  readings = [];
  pending = [];
  page.body.replaceChildren();
  page.summary.hidden = true;
  clearHistory();
  page.resultsSection.hidden = true;
  page.progress.textContent = '';
  // Rows still coming for the old files must not land in the new table.
  for (const slot of workers) slot.worker.terminate();
  given = 0;
  givenBefore = 0;
  shown = 0;
  startWorkers();
  page.filesInput.focus();
}

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

const readingsSoFar = () => readings.filter(Boolean);

// A new version of the page waits until the user asks for it: an open page
// keeps its own files, and its results, until then.
function watchForUpdates() {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  let asked = false;
  const offer = (onclick) => {
    page.update.hidden = false;
    document.documentElement.dataset.update = 'ready';
    page.updateButton.onclick = onclick;
  };
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (asked) {
      window.location.reload();
    } else if (document.documentElement.dataset.controlled === 'yes') {
      // The update was taken in another tab: the version now in charge is
      // that tab's, and this page's files may be gone from the cache. The
      // offer stays, and reloads into it.
      stale = true;
      offer(() => window.location.reload());
    }
    document.documentElement.dataset.controlled = 'yes';
  });
  if (navigator.serviceWorker.controller) document.documentElement.dataset.controlled = 'yes';
  navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).then((registration) => {
    const offerWaiting = () => {
      if (!registration.waiting || !navigator.serviceWorker.controller || stale) return;
      offer(() => {
        // Another tab may have taken it since the offer: then it is in charge already.
        if (!registration.waiting) {
          window.location.reload();
          return;
        }
        asked = true;
        registration.waiting.postMessage({ type: 'skip-waiting' });
      });
    };
    offerWaiting();
    registration.addEventListener('updatefound', () => {
      const installing = registration.installing;
      if (installing) installing.addEventListener('statechange', () => { if (installing.state === 'installed') offerWaiting(); });
    });
    // A page left open learns of a new version too: when it is shown again, and hourly.
    const look = () => registration.update().catch(() => {});
    document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'visible') look(); });
    setInterval(look, 60 * 60 * 1000);
  }).catch(() => {});
}

page.filesInput.addEventListener('change', () => {
  read(chosenFiles(page.filesInput.files));
  page.filesInput.value = '';
});
page.folderInput.addEventListener('change', () => {
  read(folderFiles(page.folderInput.files));
  page.folderInput.value = '';
});

// A file dropped anywhere on the page is read, never opened in place of it.
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  event.dataTransfer.dropEffect = 'copy';
  page.dropZone.classList.add('dragging');
});
document.addEventListener('dragleave', (event) => {
  if (event.target === document.documentElement || !event.relatedTarget) page.dropZone.classList.remove('dragging');
});
document.addEventListener('drop', (event) => {
  event.preventDefault();
  page.dropZone.classList.remove('dragging');
  droppedFiles(event.dataTransfer).then(({ files, problems: found }) => read(files, found));
});

document.getElementById('download-tsv').addEventListener('click',
  () => download(tsvBlob(tsvHeader, readingsSoFar()), 'shutter-counts.tsv'));
document.getElementById('download-json').addEventListener('click',
  () => download(new Blob([jsonLinesText(readingsSoFar())], { type: 'application/x-ndjson' }), 'shutter-counts.jsonl'));
document.getElementById('clear').addEventListener('click', clear);

startWorkers();
watchForUpdates();
