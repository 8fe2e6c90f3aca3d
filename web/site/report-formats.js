// The downloads in the formats of `tiffwalker --format tsv` and `--format
// json`, and the summary of a run: the highest count of each camera body.
// No browser needed: node's test runner tests it (web/test/*.test.js).

// Each reading carries its own TSV and JSON lines, built by the engine's
// inspection layer (as `tiffwalker --format tsv` and `--format json` build
// them); the downloads put them together in the order the files were given.
// A TSV line is the bytes the engine wrote: a file's texts that are not UTF-8
// stay as the file has them, as the command keeps them, for scripts that
// compare the two or look a serial number up byte for byte.
export function tsvBlob(header, readings) {
  return new Blob([header, ...readings.map((r) => r.tsvLine || '')], { type: 'text/tab-separated-values' });
}

export function jsonLinesText(readings) {
  return readings.map((r) => r.jsonLine || '').join('');
}

const MAX_COUNT = 2n ** 64n - 1n;

// Counts per status, and per camera body (camera name and serial number) the
// highest count and the file that holds it; the first file wins a tie.
export class Tally {
  constructor() {
    this.files = 0;
    this.byStatus = new Map();
    this.bodies = new Map();
  }

  // reading: the page's reading of a file, its row's fields in row and its
  // shown texts in shown.
  add(reading) {
    const { status, result, serial } = reading.row;
    const camera = reading.shown.camera ?? '';
    this.files += 1;
    this.byStatus.set(status, (this.byStatus.get(status) || 0) + 1);
    // A count is a plain decimal number that fits 64 bits, as the command's tally takes it.
    if (status !== 'count' || !/^[0-9]+$/.test(result)) return;
    const count = BigInt(result);
    if (count > MAX_COUNT) return;
    const key = `${camera}\u0000${serial ?? ''}`;
    const body = this.bodies.get(key);
    if (!body) {
      this.bodies.set(key, { camera, serial: serial ?? '', highest: count, path: reading.path, reading, files: 1 });
    } else {
      body.files += 1;
      if (count > body.highest) Object.assign(body, { highest: count, path: reading.path, reading });
    }
  }

  // In the order of the command's summary: by camera name, then serial number.
  sortedBodies() {
    const cmp = (a, b) => (a < b ? -1 : a > b ? 1 : 0);
    return [...this.bodies.values()].sort((a, b) => cmp(a.camera, b.camera) || cmp(a.serial, b.serial));
  }
}
