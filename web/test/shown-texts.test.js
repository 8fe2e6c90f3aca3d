// How the page shows a file's texts: node --test web/test/
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { breakableName, dateShown, serialShown } from '../site/shown-texts.js';

test('an EXIF date shows as a date in the reader\'s language, kept exactly in datetime', () => {
  assert.deepEqual(dateShown('2025:01:10 10:10:00', 'en-GB'), { text: '10 Jan 2025, 10:10', datetime: '2025-01-10T10:10:00' });
  assert.equal(dateShown('2025:01:10 10:10:00', 'de-DE').text, '10.01.2025, 10:10');
  // Not a date: as the file has it.
  for (const text of ['', '0000:00:00 00:00:00', '2025:02:30 10:00:00', '2025:01:10 24:00:00', 'yesterday'])
    assert.equal(dateShown(text, 'en-GB'), text);
});

test('a serial number without the camera\'s "NO=" prefix', () => {
  assert.equal(serialShown('NO= 3001234'), '3001234');
  assert.equal(serialShown('no=3001234'), '3001234');
  assert.equal(serialShown('2012345'), '2012345');
  assert.equal(serialShown(undefined), '');
});

test('a path breaks after its separators, and reads the same', () => {
  const pieces = breakableName('DCIM/100NCD70/DSC_0001.NEF');
  assert.deepEqual(pieces, ['DCIM/', '100NCD70/', 'DSC_', '0001.', 'NEF']);
  assert.equal(pieces.join(''), 'DCIM/100NCD70/DSC_0001.NEF');
});
