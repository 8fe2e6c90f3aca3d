// How the page lays out a file's texts: node --test web/test/
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { breakableName, dateElement, lineWithPath } from '../site/shown-texts.js';

test('a date as the inspection layer words it, kept for machines where it is a real one', () => {
  assert.deepEqual(dateElement('2025-01-10 10:10:00', '2025-01-10T10:10:00'),
    { text: '2025-01-10 10:10:00', datetime: '2025-01-10T10:10:00' });
  // Not a date (a text the camera wrote instead), or none: the text alone.
  for (const text of ['', 'yesterday']) assert.equal(dateElement(text, ''), text);
  assert.equal(dateElement(undefined, undefined), '');
});

test('a path breaks after its separators, and reads the same', () => {
  const pieces = breakableName('DCIM/100NCD70/DSC_0001.NEF');
  assert.deepEqual(pieces, ['DCIM/', '100NCD70/', 'DSC_', '0001.', 'NEF']);
  assert.equal(pieces.join(''), 'DCIM/100NCD70/DSC_0001.NEF');
  // A body's line ending in its file's path: the path breakable; any other line whole.
  const [before, path] = lineWithPath('NIKON D70, serial 1: 5, mechanical releases, in a/b.NEF', 'a/b.NEF');
  assert.equal(before, 'NIKON D70, serial 1: 5, mechanical releases, in ');
  assert.deepEqual(path, ['a/', 'b.', 'NEF']);
  assert.deepEqual(lineWithPath('x in y', 'z'), ['x in y']);
});
