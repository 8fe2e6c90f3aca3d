// How the page lays out the texts the engine's inspection layer makes of a
// file (its date, serial number, what its count counts: the same words as the
// command and the desktop dialogs). No browser needed: node --test web/test/

// The date as the inspection layer words it, in a time element that carries
// it for machines too where it is a real date ("" where it is not: then the
// text alone).
export function dateElement(text, datetime) {
  if (!datetime) return text || '';
  if (typeof document === 'undefined') return { text, datetime };
  const time = document.createElement('time');
  time.dateTime = datetime;
  time.textContent = text;
  return time;
}

// A path may break after its separators ("DCIM/100NCD70/DSC_0001.NEF") before
// it breaks inside a word; the text copied stays the same.
export function breakableName(path) {
  const pieces = (path || '').split(/(?<=[/_.\-])/);
  if (typeof document === 'undefined') return pieces;
  const fragment = document.createDocumentFragment();
  pieces.forEach((piece, i) => {
    if (i > 0) fragment.append(document.createElement('wbr'));
    fragment.append(piece);
  });
  return fragment;
}

// A body's line of the summary, its file's path breakable as in the table.
export function lineWithPath(line, path) {
  if (!path || !line.endsWith(path)) return [line];
  return [line.slice(0, line.length - path.length), breakableName(path)];
}
