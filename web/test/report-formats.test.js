// The page's downloads and summary without a browser: node --test web/test/
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { jsonLinesText, Tally, tsvText } from '../site/report-formats.js';

const reading = (path, status, result, camera = 'NIKON D70', serial = '1') => ({
  path, status, result, camera, serial, tsvLine: `${path}\t${result}\n`, jsonLine: `{"path":"${path}"}\n`,
});

test('downloads are the engine-built lines in the order given, after the header', () => {
  const readings = [reading('a', 'count', '5'), reading('b', 'no_count', 'No Count')];
  assert.equal(tsvText('path\tresult\n', readings), 'path\tresult\na\t5\nb\tNo Count\n');
  assert.equal(jsonLinesText(readings), '{"path":"a"}\n{"path":"b"}\n');
  assert.equal(tsvText('h\n', []), 'h\n');
});

test('tally: highest count per body as numbers, first file wins a tie, in the command order', () => {
  const tally = new Tally();
  for (const r of [
    reading('a', 'count', '900'),
    reading('b', 'count', '10000'),
    reading('c', 'count', '10000'),
    reading('d', 'count', '7', 'NIKON D3'),
    reading('e', 'count', '3', 'NIKON D70', ''),
    reading('f', 'no_count', 'No Count'),
    reading('g', 'error', ''),
    // Not counts, as the command's tally does not take them.
    reading('h', 'count', '18446744073709551616'),
    reading('i', 'count', '+1'),
  ]) tally.add(r);
  assert.equal(tally.files, 9);
  assert.equal(tally.byStatus.get('count'), 7);
  assert.equal(tally.byStatus.get('error'), 1);
  const bodies = tally.sortedBodies().map((b) => [b.camera, b.serial, String(b.highest), b.path, b.files]);
  assert.deepEqual(bodies, [
    ['NIKON D3', '1', '7', 'd', 1],
    ['NIKON D70', '', '3', 'e', 1],
    ['NIKON D70', '1', '10000', 'b', 3],
  ]);
});
