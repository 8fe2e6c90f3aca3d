// The files to read from what the user gave: chosen files as they are, and from
// folders (chosen or dropped) the camera files in them and in the
// folders inside, sorted by path as the command sorts them.

import { FILE_EXTENSIONS } from './file-types.js';

// The file types read, from the one list the build makes file-types.js from.
const ENDINGS = new Set(FILE_EXTENSIONS);

export const isImageName = (name) => {
  const dot = name.lastIndexOf('.');
  return dot >= 0 && ENDINGS.has(name.slice(dot + 1).toLowerCase());
};

const byPath = (a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0);

export function chosenFiles(fileList) {
  return Array.from(fileList, (file) => ({ file, path: file.name }));
}

// A folder input gives every file below the folder, each with its path.
export function folderFiles(fileList) {
  return Array.from(fileList)
    .filter((file) => isImageName(file.name))
    .map((file) => ({ file, path: file.webkitRelativePath || file.name }))
    .sort(byPath);
}

function fileOf(entry) {
  return new Promise((resolve, reject) => entry.file(resolve, reject));
}

// A folder's reader hands out its entries a batch at a time until it gives none.
async function entriesOf(directory) {
  const reader = directory.createReader();
  const all = [];
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (batch.length === 0) return all;
    all.push(...batch);
  }
}

async function filesBelow(directory, found, problems) {
  let entries;
  try {
    entries = await entriesOf(directory);
  } catch (error) {
    problems.push(`${directory.fullPath.slice(1)}: ${error.message}`);
    return;
  }
  for (const entry of entries) {
    if (entry.isDirectory) {
      await filesBelow(entry, found, problems);
    } else if (entry.isFile && isImageName(entry.name)) {
      try {
        found.push({ file: await fileOf(entry), path: entry.fullPath.slice(1) });
      } catch (error) {
        problems.push(`${entry.fullPath.slice(1)}: ${error.message}`);
      }
    }
  }
}

// Dropped files are read whatever their names; dropped folders give their
// image files. The items must be taken before the first await, while the drop
// event still lends them.
export async function droppedFiles(dataTransfer) {
  const entries = Array.from(dataTransfer.items || [], (item) => (item.kind === 'file' && item.webkitGetAsEntry ? item.webkitGetAsEntry() : null));
  const plainFiles = Array.from(dataTransfer.files || []);
  const result = [];
  const problems = [];
  if (entries.length === 0 || entries.every((entry) => entry === null)) {
    return { files: chosenFiles(plainFiles), problems };
  }
  for (let i = 0; i < entries.length; ++i) {
    const entry = entries[i];
    if (entry && entry.isDirectory) {
      const found = [];
      await filesBelow(entry, found, problems);
      result.push(...found.sort(byPath));
    } else if (entry && entry.isFile) {
      try {
        result.push({ file: await fileOf(entry), path: entry.name });
      } catch (error) {
        problems.push(`${entry.name}: ${error.message}`);
      }
    }
  }
  return { files: result, problems };
}
