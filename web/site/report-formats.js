// The downloads in the formats of `tiffwalker --format tsv` and `--format
// json`, and the summary of a run: the highest count of each camera body.

const TSV_HEADER = 'path\tresult\tstatus\tmake\tmodel\tserial\tdate_time_original\tlens\treason\n';

// Every line must stay one file whatever a name or a text from a file holds.
function escapedForTsv(text) {
  return text.replace(/[\\\t\n\r]/g, (c) => ({ '\\': '\\\\', '\t': '\\t', '\n': '\\n', '\r': '\\r' })[c]);
}

export function tsvText(readings) {
  const lines = [TSV_HEADER];
  for (const r of readings) {
    const fields = [r.path, r.status === 'error' ? '' : r.result, r.status, r.make, r.model, r.serial,
      r.dateTimeOriginal, r.lens, r.reason];
    lines.push(fields.map((field, i) => (i === 2 ? field : escapedForTsv(field))).join('\t') + '\n');
  }
  return lines.join('');
}

const orNull = (text) => (text === '' ? null : text);

export function jsonLinesText(readings) {
  return readings.map((r) => {
    const line = {
      path: r.path,
      result: r.status === 'error' ? null : r.result,
      status: r.status,
      make: orNull(r.make),
      model: orNull(r.model),
      serial: orNull(r.serial),
      date_time_original: orNull(r.dateTimeOriginal),
      lens: orNull(r.lens),
    };
    if (r.status !== 'count') line.reason = r.reason;
    if (r.status === 'error') line.message = r.message;
    return JSON.stringify(line) + '\n';
  }).join('');
}

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
    if (reading.status !== 'count' || !/^[0-9]+$/.test(reading.result)) return;
    const count = BigInt(reading.result);
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
