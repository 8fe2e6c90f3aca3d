// The page: takes files from the pickers and from drops, hands them to the
// reading workers, and shows a row per file, in the order given, as its
// reading comes back, then the summary. Downloads are made here from what was
// read.
import { chosenFiles, droppedFiles, folderFiles } from './file-gathering.js';
import { jsonLinesText, Tally, tsvText } from './report-formats.js';

const STATUS_WORDS = {
  count: 'count',
  not_readable: 'Not Readable',
  no_exif: 'No EXIF data',
  no_count: 'No Count',
  error: 'error',
};
// Screen readers hear the progress at most this often.
const PROGRESS_INTERVAL_MS = 500;
const FILES_PER_MESSAGE = 50;
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
};

let workers = [];
let workersReady = 0;
let readings = [];      // by index, as they come back
let given = 0;          // files handed to the workers so far
let shown = 0;          // rows shown: readings[0 .. shown) are on the page
let givenAt = 0;        // when the files of the current run were given
let lastProgress = 0;
let problems = [];
let tsvHeader = '';      // the engine's TSV header line

// A test may set the size of the head the worker reads at once: ?head=BYTES.
function headBytes() {
  const head = new URLSearchParams(window.location.search).get('head');
  return /^[0-9]+$/.test(head || '') ? Number(head) : undefined;
}

function startWorkers() {
  workersReady = 0;
  workers = Array.from({ length: WORKER_COUNT }, () => {
    const worker = new Worker('reader-worker.js');
    worker.onmessage = (event) => {
      const message = event.data;
      if (message.type === 'ready') {
        tsvHeader = message.tsvHeader;
        workersReady += 1;
        if (workersReady === workers.length) document.documentElement.dataset.engine = 'ready';
      } else if (message.type === 'rows') {
        takeRows(message.rows);
      } else if (message.type === 'engine-failed') {
        engineFailed(message.message);
      }
    };
    worker.onerror = (event) => engineFailed(event.message || 'the reading worker stopped');
    worker.postMessage({ type: 'start', headBytes: headBytes() });
    return worker;
  });
}

function engineFailed(message) {
  document.documentElement.dataset.engine = 'failed';
  page.progress.textContent = `The reader could not start in this browser: ${message}`;
  page.table.setAttribute('aria-busy', 'false');
}

function cell(row, className, label, text) {
  const td = row.insertCell();
  if (className) td.className = className;
  td.dataset.label = label;
  td.textContent = text;
  return td;
}

function rowFor(reading) {
  const row = document.createElement('tr');
  const d = row.dataset;
  d.name = reading.name;
  d.path = reading.path;
  d.status = reading.status;
  d.result = reading.status === 'error' ? reading.message : reading.result;
  d.make = reading.make;
  d.model = reading.model;
  d.serial = reading.serial;
  d.dateTimeOriginal = reading.dateTimeOriginal;
  d.lens = reading.lens;
  d.reason = reading.reason;
  d.countKind = reading.countKind ?? '';
  d.camera = reading.camera;
  d.bytesRead = reading.bytesRead ?? 0;

  const name = document.createElement('th');
  name.scope = 'row';
  name.className = 'name';
  name.textContent = reading.path;
  row.append(name);
  const result = cell(row, 'result', 'Shutter count', reading.status === 'error' ? 'Error' : reading.result);
  if (reading.reason) {
    const why = document.createElement('span');
    why.className = 'reason';
    why.textContent = `why: ${reading.reason}`;
    result.append(why);
  } else if (reading.countKind) {
    // What a count of another maker than Nikon counts.
    const counts = document.createElement('span');
    counts.className = 'reason';
    counts.textContent = `counts: ${reading.countKind}`;
    result.append(counts);
  }
  cell(row, '', 'Camera', reading.camera);
  cell(row, '', 'Serial number', reading.serial);
  cell(row, 'taken', 'Taken', reading.dateTimeOriginal);
  cell(row, '', 'Lens', reading.lens);
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

function showSummary() {
  const tally = new Tally();
  for (const reading of readings) if (reading) tally.add(reading);
  page.summaryTotals.textContent = summaryLine(tally);
  page.summaryBodies.replaceChildren(...tally.sortedBodies().map((body) => {
    const item = document.createElement('li');
    const who = body.serial ? `${body.camera}, serial ${body.serial}` : `${body.camera} (no serial number)`;
    item.textContent = `${who}: ${body.highest} in ${body.path}`;
    return item;
  }));
  page.summary.hidden = false;
  return tally;
}

function finishRun() {
  const tally = showSummary();
  const problemText = problems.length ? ` Some files or folders could not be listed: ${problems.join('; ')}.` : '';
  page.progress.textContent = `Done: ${summaryLine(tally)}${problemText}`;
  // The time from the files being given to the last row on the screen.
  requestAnimationFrame(() => {
    page.table.dataset.elapsedMs = (performance.now() - givenAt).toFixed(1);
    page.table.setAttribute('aria-busy', 'false');
  });
}

function read(items, more) {
  problems = more || [];
  if (items.length === 0) {
    page.progress.textContent = problems.length
      ? `No NEF or JPEG files found. ${problems.join('; ')}`
      : 'No NEF or JPEG files found there.';
    return;
  }
  givenAt = performance.now();
  delete page.table.dataset.elapsedMs;
  page.table.setAttribute('aria-busy', 'true');
  page.resultsSection.hidden = false;
  page.summary.hidden = true;
  page.progress.textContent = `Reading ${items.length} files…`;
  lastProgress = performance.now();
  // In parts, so that each worker starts reading while it still takes in the
  // rest (taking in a file costs it a fraction of a millisecond).
  // The files are dealt to the workers in turn, so that their rows come
  // back in step.
  const dealt = workers.map(() => []);
  for (const item of items) {
    const index = given++;
    dealt[index % workers.length].push({ index, file: item.file, path: item.path });
  }
  const longest = Math.max(...dealt.map((part) => part.length));
  for (let first = 0; first < longest; first += FILES_PER_MESSAGE) {
    workers.forEach((worker, w) => {
      const part = dealt[w].slice(first, first + FILES_PER_MESSAGE);
      if (part.length > 0) worker.postMessage({ type: 'read', items: part });
    });
  }
}

function clear() {
  readings = [];
  page.body.replaceChildren();
  page.summary.hidden = true;
  page.resultsSection.hidden = true;
  page.progress.textContent = '';
  // Rows still coming for the old files must not land in the new table.
  for (const worker of workers) worker.terminate();
  given = 0;
  shown = 0;
  startWorkers();
  page.filesInput.focus();
}

function download(text, name, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

const readingsSoFar = () => readings.filter(Boolean);

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
  () => download(tsvText(tsvHeader, readingsSoFar()), 'shutter-counts.tsv', 'text/tab-separated-values'));
document.getElementById('download-json').addEventListener('click',
  () => download(jsonLinesText(readingsSoFar()), 'shutter-counts.jsonl', 'application/x-ndjson'));
document.getElementById('clear').addEventListener('click', clear);

startWorkers();

// Offline after the first visit: the service worker keeps the page's own files.
if ('serviceWorker' in navigator && window.isSecureContext) {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
