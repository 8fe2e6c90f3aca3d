// The page's downloads and summary without a browser: node --test web/test/
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { jsonLinesText, Tally, tsvBlob } from '../site/report-formats.js';

const reading = (path, status, result, camera = 'NIKON D70', serial = '1') => ({
  path, row: { path, status, result, serial }, shown: { camera },
  tsvLine: new TextEncoder().encode(`${path}\t${result}\n`), jsonLine: `{"path":"${path}"}\n`,
});
const bytesOf = async (blob) => Buffer.from(await blob.arrayBuffer());

test('downloads are the engine-built lines in the order given, after the header', async () => {
  const readings = [reading('a', 'count', '5'), reading('b', 'no_count', 'No Count')];
  assert.equal((await bytesOf(tsvBlob('path\tresult\n', readings))).toString(), 'path\tresult\na\t5\nb\tNo Count\n');
  assert.equal(jsonLinesText(readings), '{"path":"a"}\n{"path":"b"}\n');
  assert.equal((await bytesOf(tsvBlob('h\n', []))).toString(), 'h\n');
  // A serial number that is not UTF-8 keeps its bytes, as `tiffwalker --format tsv` writes them.
  const odd = Object.assign(reading('c', 'count', '6'), { tsvLine: Uint8Array.of(0x63, 0x09, 0x32, 0xff, 0x0a) });
  assert.deepEqual(await bytesOf(tsvBlob('h\n', [odd])), Buffer.from([0x68, 0x0a, 0x63, 0x09, 0x32, 0xff, 0x0a]));
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
