// Where the history chart puts its marks, without a browser: node --test web/test/
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { bodiesOfRows, CHART, chartLayout, timeOf } from '../site/history-chart.js';

const reading = (date, count, anomaly) => JSON.stringify({ row: 'reading', model: 'NIKON D850', serial: '1',
  path: `${count}.NEF`, date_time_original: date, count, ...(anomaly ? { anomaly, anomaly_file: 'x' } : {}) });
const body = (fields) => JSON.stringify({ row: 'body', model: 'NIKON D850', serial: '1', ...fields });

test('rows become bodies with their readings; the rating and projection lie where their figures say', () => {
  const lines = [
    reading('2025:01:01 10:00:00', 1000), reading('2025:05:01 10:00:00', 13000),
    body({ count: 13000, readings: 2, rated_releases: 200000, projected_date: '2030-06-14' }),
    reading('2025:02:01 12:00:00', 22000), reading('2025:03:01 12:00:00', 300, 'lower_count'), body({ count: 300 }),
  ].join('\n') + '\n';
  const bodies = bodiesOfRows(lines);
  assert.equal(bodies.length, 2);
  assert.deepEqual(bodies.map((b) => b.readings.length), [2, 2]);

  const rated = chartLayout(bodies[0]);
  const bottom = CHART.height - CHART.bottom;
  // The scale reaches the rating, so the line is inside the chart and above every point.
  assert.ok(rated.rating.y >= CHART.top && rated.rating.y < Math.min(...rated.points.map((p) => p.y)));
  assert.equal(rated.rating.label, 'rated: 200,000');
  // The projection runs from the last picture to the rating at the right edge, the latest date.
  assert.equal(rated.projection.x1, rated.points[1].x);
  assert.equal(rated.projection.x2, CHART.width - CHART.right);
  assert.equal(rated.projection.y2, rated.rating.y);
  assert.equal(rated.xTicks[1].label, '2030-06-14');
  assert.equal(rated.yTicks[0].y, bottom);
  assert.ok(rated.points.every((p) => p.x >= CHART.left && p.x <= CHART.width - CHART.right && p.y <= bottom));

  const reset = chartLayout(bodies[1]);
  assert.equal(reset.rating, null);
  assert.equal(reset.projection, null);
  assert.deepEqual(reset.segments.map((s) => s.broken), [true]);
  assert.deepEqual(reset.points.map((p) => p.anomaly), ['', 'lower_count']);
});

test('one picture, or a projection already passed, still gives a chart inside its bounds', () => {
  const [one] = bodiesOfRows(`${reading('2019:01:01 00:00:00', 5)}\n${body({ count: 5, rated_releases: 3, projected_date: 'passed' })}\n`);
  const layout = chartLayout(one);
  assert.equal(layout.points.length, 1);
  assert.ok(Number.isFinite(layout.points[0].x) && Number.isFinite(layout.points[0].y));
  assert.equal(layout.projection, null);
  assert.ok(layout.rating);
  assert.ok(timeOf('2030-06-14') > timeOf('2025:05:01 10:00:00'));
  assert.ok(Number.isNaN(timeOf('0000:00:00 00:00:00x')));
});
