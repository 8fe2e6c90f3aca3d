// What the page takes from pickers and drops, with stand-ins for the browser's
// File, FileSystemEntry and DataTransfer: node --test web/test/
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { chosenFiles, droppedFiles, folderFiles, isImageName } from '../site/file-gathering.js';

const file = (name, webkitRelativePath = '') => ({ name, webkitRelativePath });

function fileEntry(path) {
  const name = path.split('/').pop();
  return { isFile: true, isDirectory: false, name, fullPath: `/${path}`, file: (ok) => ok(file(name)) };
}

// A folder whose reader hands out its entries two at a time, as browsers do in batches.
function folderEntry(path, children) {
  return {
    isFile: false, isDirectory: true, name: path.split('/').pop(), fullPath: `/${path}`,
    createReader() {
      let at = 0;
      return { readEntries: (ok) => { ok(children.slice(at, at + 2)); at += 2; } };
    },
  };
}

test('image names in any case; chosen files as given; a folder input filtered and sorted by path', () => {
  assert.ok(isImageName('A.JpEg') && isImageName('b.nef') && !isImageName('c.nef.txt'));
  // Every file type the reader finds TIFF structures in, in any case.
  for (const name of ['a.ARW', 'b.sr2', 'c.Pef', 'd.dng', 'e.CR2', 'f.cr3', 'g.HEIC', 'h.heif', 'i.HIF', 'j.raf']) {
    assert.ok(isImageName(name), name);
  }
  assert.ok(!isImageName('k.tif') && !isImageName('l.cr4') && !isImageName('m.hif.xmp'));
  assert.deepEqual(chosenFiles([file('z.txt'), file('a.NEF')]).map((f) => f.path), ['z.txt', 'a.NEF']);
  const picked = folderFiles([file('b.JPG', 'card/b.JPG'), file('x.txt', 'card/x.txt'), file('a.nef', 'card/sub/a.nef'),
    file('a.NEF', 'card/a.NEF')]);
  assert.deepEqual(picked.map((f) => f.path), ['card/a.NEF', 'card/b.JPG', 'card/sub/a.nef']);
});

test('a drop: files whatever their names, folders their image files below, sorted, in drop order', async () => {
  const card = folderEntry('card', [fileEntry('card/b.JPG'), fileEntry('card/notes.txt'),
    folderEntry('card/sub', [fileEntry('card/sub/c.nef')]), fileEntry('card/a.NEF')]);
  const items = [fileEntry('loose.txt'), card].map((entry) => ({ kind: 'file', webkitGetAsEntry: () => entry }));
  const { files, problems } = await droppedFiles({ items, files: [] });
  assert.deepEqual(files.map((f) => f.path), ['loose.txt', 'card/a.NEF', 'card/b.JPG', 'card/sub/c.nef']);
  assert.deepEqual(problems, []);

  // Without entries (an older browser): the plain file list.
  const plain = await droppedFiles({ items: [], files: [file('x.NEF')] });
  assert.deepEqual(plain.files.map((f) => f.path), ['x.NEF']);
});

test('a folder that cannot be listed is named among the problems, the rest still read', async () => {
  const broken = { isFile: false, isDirectory: true, name: 'locked', fullPath: '/locked',
    createReader: () => ({ readEntries: (ok, fail) => fail(new Error('permission denied')) }) };
  const items = [broken, fileEntry('a.NEF')].map((entry) => ({ kind: 'file', webkitGetAsEntry: () => entry }));
  const { files, problems } = await droppedFiles({ items, files: [] });
  assert.deepEqual(files.map((f) => f.path), ['a.NEF']);
  assert.deepEqual(problems, ['locked: permission denied']);
});
