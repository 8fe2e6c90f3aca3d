// Each camera body's history on the page: a chart of its count against the
// date its pictures were taken, with its rated releases drawn where one is
// known and anomalies marked, and beside it a table of the same points for
// screen readers and the keyboard. The history itself (the order, the rate,
// the projection, the anomalies) is the engine's, made in a reading worker by
// the same code as `tiffwalker --history --format json`; this module only
// draws it. The chart is SVG drawn here: a few dozen lines against a charting
// library many times the page's size, and SVG scales with the page, takes its
// colours from the style sheet and needs nothing the page's policy forbids.
import { breakableName } from './shown-texts.js';

export const CHART = { width: 640, height: 240, left: 84, right: 16, top: 16, bottom: 36 };
const DAY_MS = 24 * 60 * 60 * 1000;
const SVG = 'http://www.w3.org/2000/svg';

// "2025:01:01 10:00:00" (the camera's clock, no zone) or "2030-06-14" as a
// number of milliseconds on one scale.
export function timeOf(text) {
  const parts = /^(\d{4})[:-](\d{2})[:-](\d{2})(?: (\d{2}):(\d{2}):(\d{2}))?$/.exec(text || '');
  if (!parts) return NaN;
  const [y, mo, d, h = 0, mi = 0, s = 0] = parts.slice(1).map((p) => Number(p || 0));
  const date = new Date(0);
  date.setUTCFullYear(y, mo - 1, d);
  date.setUTCHours(h, mi, s, 0);
  return date.getTime();
}

// The engine's JSON lines as bodies: { row (the body's own), readings }.
export function bodiesOfRows(jsonLines) {
  const bodies = [];
  let readings = [];
  for (const line of jsonLines.split('\n')) {
    if (!line) continue;
    const row = JSON.parse(line);
    if (row.row === 'reading') {
      readings.push(row);
    } else {
      bodies.push({ row, readings });
      readings = [];
    }
  }
  return bodies;
}

// 1, 2 or 5 times a power of ten: at least value.
function niceStep(value) {
  const power = 10 ** Math.floor(Math.log10(Math.max(value, 1)));
  return [1, 2, 5, 10].map((m) => m * power).find((step) => step >= value);
}

const isoDay = (ms) => new Date(ms).toISOString().slice(0, 10);
export const withThousands = (n) => String(n).replace(/\B(?=(\d{3})+(?!\d))/g, ',');

// Where everything of one body's chart lies, in the chart's own units.
export function chartLayout(body, size = CHART) {
  const { row, readings } = body;
  const times = readings.map((r) => timeOf(r.date_time_original));
  const projected = row.projected_date && row.projected_date !== 'passed' ? timeOf(row.projected_date) : NaN;
  let first = Math.min(...times);
  let last = Math.max(...times, Number.isNaN(projected) ? -Infinity : projected);
  if (!(last > first)) [first, last] = [first - DAY_MS, first + DAY_MS];
  const highest = Math.max(...readings.map((r) => r.count), row.rated_releases || 0, 1);
  const step = niceStep(highest / 4);
  const top = Math.ceil(highest / step) * step;
  const plotWidth = size.width - size.left - size.right;
  const plotHeight = size.height - size.top - size.bottom;
  const x = (ms) => size.left + ((ms - first) / (last - first)) * plotWidth;
  const y = (count) => size.top + plotHeight - (count / top) * plotHeight;

  const points = readings.map((r, i) => ({ x: x(times[i]), y: y(r.count), reading: r, anomaly: r.anomaly || '' }));
  // A line joins pictures that fit one shutter's life; where the later one
  // shows an anomaly the line is drawn as broken.
  const segments = points.slice(1).map((p, i) => ({
    x1: points[i].x, y1: points[i].y, x2: p.x, y2: p.y,
    broken: p.anomaly === 'lower_count' || p.anomaly === 'impossible_rate',
  }));
  const yTicks = [];
  for (let v = 0; v <= top; v += step) yTicks.push({ y: y(v), label: withThousands(v) });
  const xTicks = [{ x: x(first), label: isoDay(first) }, { x: x(last), label: isoDay(last) }];
  const rating = row.rated_releases ? { y: y(row.rated_releases), label: `rated: ${withThousands(row.rated_releases)}` } : null;
  const lastPoint = points[points.length - 1];
  const projection = !Number.isNaN(projected) && lastPoint
    ? { x1: lastPoint.x, y1: lastPoint.y, x2: x(projected), y2: y(row.rated_releases), label: `projection: ${row.projected_date}` }
    : null;
  return { size, points, segments, yTicks, xTicks, rating, projection };
}

function svg(name, attributes, text) {
  const element = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, String(value));
  if (text !== undefined) element.textContent = text;
  return element;
}

function element(name, className, ...content) {
  const e = document.createElement(name);
  if (className) e.className = className;
  e.append(...content);
  return e;
}

function bodyName(row) {
  const camera = row.model || row.make || 'unknown camera';
  const serial = row.serial_shown || '';
  return serial ? `${camera}, serial ${serial}` : `${camera} (no serial number: its files are grouped by model)`;
}

// What the chart shows, in words: its name for screen readers.
function chartWords(body) {
  const { row, readings } = body;
  const anomalies = readings.filter((r) => r.anomaly).length;
  const parts = [`Count against date taken for ${bodyName(row)}: ${readings.length} pictures`,
    `from ${readings[0].date_shown}, count ${withThousands(readings[0].count)}`,
    `to ${readings[readings.length - 1].date_shown}, count ${withThousands(row.count)}`];
  if (row.rated_releases) parts.push(`rated releases ${withThousands(row.rated_releases)} drawn`);
  parts.push(`${anomalies} ${anomalies === 1 ? 'anomaly' : 'anomalies'} marked. The table below holds the same points.`);
  return parts.join(', ');
}

function drawChart(body) {
  const layout = chartLayout(body);
  const { size } = layout;
  const chart = svg('svg', { viewBox: `0 0 ${size.width} ${size.height}`, role: 'img', class: 'history-chart',
    'aria-label': chartWords(body) });
  for (const tick of layout.yTicks) {
    chart.append(svg('line', { x1: size.left, x2: size.width - size.right, y1: tick.y, y2: tick.y, class: 'grid' }));
    chart.append(svg('text', { x: size.left - 6, y: tick.y + 4, 'text-anchor': 'end', class: 'tick' }, tick.label));
  }
  layout.xTicks.forEach((tick, i) => chart.append(svg('text', { x: tick.x, y: size.height - 12,
    'text-anchor': i === 0 ? 'start' : 'end', class: 'tick' }, tick.label)));
  if (layout.rating) {
    chart.append(svg('line', { x1: size.left, x2: size.width - size.right, y1: layout.rating.y, y2: layout.rating.y, class: 'rating' }));
    chart.append(svg('text', { x: size.left + 4, y: layout.rating.y - 4, class: 'rating-label' }, layout.rating.label));
  }
  if (layout.projection) {
    const p = layout.projection;
    chart.append(svg('line', { x1: p.x1, y1: p.y1, x2: p.x2, y2: p.y2, class: 'projection' }));
    chart.append(svg('text', { x: p.x2, y: p.y2 + 14, 'text-anchor': 'end', class: 'rating-label' }, p.label));
  }
  for (const s of layout.segments) {
    chart.append(svg('line', { x1: s.x1, y1: s.y1, x2: s.x2, y2: s.y2, class: s.broken ? 'line broken' : 'line' }));
  }
  for (const p of layout.points) {
    const mark = p.anomaly
      ? svg('path', { d: `M${p.x} ${p.y - 7}L${p.x + 7} ${p.y}L${p.x} ${p.y + 7}L${p.x - 7} ${p.y}Z`, class: 'point anomaly' })
      : svg('circle', { cx: p.x, cy: p.y, r: 4, class: 'point' });
    mark.append(svg('title', {}, `${p.reading.date_shown}: ${withThousands(p.reading.count)}${p.anomaly ? ` (${p.anomaly.replace('_', ' ')})` : ''}`));
    chart.append(mark);
  }
  return chart;
}

function pointsTable(body) {
  const table = element('table', 'history-points');
  table.createCaption().textContent = `The chart's points: ${bodyName(body.row)}`;
  const head = table.createTHead().insertRow();
  for (const heading of ['Taken', 'Count', 'File', 'Anomaly']) {
    const th = element('th', '', heading);
    th.scope = 'col';
    head.append(th);
  }
  const rows = table.createTBody();
  for (const reading of body.readings) {
    const tr = rows.insertRow();
    if (reading.anomaly) tr.className = 'anomaly';
    // Labelled, as the page's cards on a phone show each cell with its heading.
    const add = (label, content) => { const td = tr.insertCell(); td.dataset.label = label; td.append(content); };
    add('Taken', reading.date_shown || '');
    add('Count', withThousands(reading.count));
    add('File', breakableName(reading.path));
    add('Anomaly', reading.anomaly ? `${reading.anomaly_words}; set against ${reading.anomaly_file}` : '');
  }
  return table;
}

function facts(row) {
  const list = element('ul', 'history-facts');
  const add = (text) => list.append(element('li', '', text));
  add(`${row.readings} ${row.readings === 1 ? 'picture' : 'pictures'} with a date taken` +
    (row.undated ? `; ${row.undated} without one, left out` : ''));
  add(row.releases_per_month !== undefined
    ? `About ${withThousands(Math.round(row.releases_per_month))} a month`
    : 'No rate: it needs pictures at least a day apart');
  if (row.rated_releases) {
    const when = row.projected_date === 'passed' ? 'the last picture\'s count is past it'
      : row.projected_date ? `at this rate reached about ${row.projected_date} (a projection)` : 'no projection';
    add(`Rated for ${withThousands(row.rated_releases)} releases: ${when}`);
  }
  if (row.anomalies) add(`${row.anomalies} ${row.anomalies === 1 ? 'anomaly' : 'anomalies'}, marked ◆ and explained in the table`);
  return list;
}

let run = 0;  // the run whose history is wanted; a later run or Clear drops an earlier answer

// Asks a reading worker for the history of the readings with a count.
export function askForHistory(worker, readings) {
  run += 1;
  // A reading keeps its TSV line as the file's bytes; the history needs its
  // texts only to show them, so bytes that are not UTF-8 may become U+FFFD.
  const decoder = new TextDecoder();
  const lines = readings.filter((r) => r.row?.status === 'count' && r.tsvLine?.length)
    .map((r) => (typeof r.tsvLine === 'string' ? r.tsvLine : decoder.decode(r.tsvLine)));
  worker.postMessage({ type: 'history', run, lines });
}

export function clearHistory() {
  run += 1;
  delete document.documentElement.dataset.history;
  const section = document.getElementById('history');
  if (section) section.hidden = true;
}

function bodyShown(body, i) {
  const heading = element('h3', '', bodyName(body.row));
  heading.id = `history-body-${i}`;
  // The table is made when it is first opened: a library's tables run to
  // thousands of rows that nobody may ask for.
  const details = element('details', '', element('summary', '', `Table of the chart's ${body.readings.length} points`));
  details.addEventListener('toggle', () => {
    if (details.open && !details.querySelector('table')) details.append(pointsTable(body));
  });
  const figure = element('figure', '', drawChart(body));
  const item = element('div', 'history-body', heading, facts(body.row), figure, details);
  item.dataset.model = body.row.model || '';
  item.dataset.serial = body.row.serial || '';
  item.dataset.points = String(body.readings.length);
  return item;
}

export function showHistory(message) {
  const section = document.getElementById('history');
  if (!section || message.run !== run) return;
  const bodies = bodiesOfRows(message.jsonLines).filter((b) => b.readings.length > 0);
  const list = document.getElementById('history-bodies');
  list.replaceChildren();
  section.hidden = bodies.length === 0;
  // A body at a time, each in a task of its own, so that the page keeps
  // answering while a large library's charts are drawn.
  const shownRun = run;
  const next = (i) => {
    if (shownRun !== run) return;
    if (i === bodies.length) {
      document.documentElement.dataset.history = 'shown';
      return;
    }
    list.append(bodyShown(bodies[i], i));
    setTimeout(() => next(i + 1), 0);
  };
  setTimeout(() => next(0), 0);
}
