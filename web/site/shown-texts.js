// How the page shows a file's texts to a camera owner; the downloads keep
// them as the file has them. No browser needed: node --test web/test/

// EXIF writes "2025:01:10 10:10:00", local time without a zone: shown as a
// date in the reader's language, and kept exactly in the element's datetime.
// Anything else is shown as the file has it.
const EXIF_DATE = /^(\d{4}):(\d{2}):(\d{2}) (\d{2}):(\d{2}):(\d{2})$/;
const formats = new Map();

function formatFor(locale) {
  const key = locale ?? '';
  if (!formats.has(key)) formats.set(key, new Intl.DateTimeFormat(locale, { dateStyle: 'medium', timeStyle: 'short' }));
  return formats.get(key);
}

export function dateShown(exifDate, locale = undefined) {
  const parts = EXIF_DATE.exec(exifDate || '');
  if (!parts) return exifDate || '';
  const [year, month, day, hour, minute, second] = parts.slice(1).map(Number);
  const date = new Date(year, month - 1, day, hour, minute, second);
  if (date.getMonth() !== month - 1 || date.getDate() !== day || hour > 23 || minute > 59 || second > 59) return exifDate;
  return timeElement(formatFor(locale).format(date), parts);
}

function timeElement(text, parts) {
  const datetime = `${parts[1]}-${parts[2]}-${parts[3]}T${parts[4]}:${parts[5]}:${parts[6]}`;
  if (typeof document === 'undefined') return { text, datetime };
  const time = document.createElement('time');
  time.dateTime = datetime;
  time.textContent = text;
  return time;
}

// Some bodies write their serial number as "NO= 3001234": the number alone.
export const serialShown = (serial) => (serial || '').replace(/^NO=\s*/i, '');

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
