// The downloads in the formats of `tiffwalker --format tsv` and `--format
// json`, and the summary of a run: the highest count of each camera body.
// No browser needed: node's test runner tests it (web/test/*.test.js).

// Each reading carries its own TSV and JSON lines, built by the engine's
// inspection layer (as `tiffwalker --format tsv` and `--format json` build
// them); the downloads put them together in the order the files were given.
export function tsvText(header, readings) {
  return header + readings.map((r) => r.tsvLine || '').join('');
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

  add(reading) {
    this.files += 1;
    this.byStatus.set(reading.status, (this.byStatus.get(reading.status) || 0) + 1);
    // A count is a plain decimal number that fits 64 bits, as the command's tally takes it.
    if (reading.status !== 'count' || !/^[0-9]+$/.test(reading.result)) return;
    const count = BigInt(reading.result);
    if (count > MAX_COUNT) return;
    const key = `${reading.camera}\u0000${reading.serial}`;
    const body = this.bodies.get(key);
    if (!body) {
      this.bodies.set(key, { camera: reading.camera, serial: reading.serial, highest: count, path: reading.path, files: 1 });
    } else {
      body.files += 1;
      if (count > body.highest) Object.assign(body, { highest: count, path: reading.path });
    }
  }

  // In the order of the command's summary: by camera name, then serial number.
  sortedBodies() {
    const cmp = (a, b) => (a < b ? -1 : a > b ? 1 : 0);
    return [...this.bodies.values()].sort((a, b) => cmp(a.camera, b.camera) || cmp(a.serial, b.serial));
  }
}
