'use strict';
// Keeps what each request looked like on the wire, for the tests to assert on.

class Recorder {
  constructor() {
    this.entries = [];
    this.seq = 0;
  }

  // Captures the raw body while later middleware (multer) reads the same stream.
  middleware(listenerOf) {
    return (req, res, next) => {
      const chunks = [];
      const entry = {
        seq: ++this.seq,
        listener: listenerOf(req),
        method: req.method,
        path: req.path,
        query: req.originalUrl.includes('?') ? req.originalUrl.slice(req.originalUrl.indexOf('?')) : '',
        headers: pairs(req.rawHeaders),
        body: '',
        parts: [],
        complete: false,
      };
      this.entries.push(entry);
      req.recorded = entry;
      req.on('data', (chunk) => chunks.push(chunk));
      req.on('end', () => {
        const raw = Buffer.concat(chunks);
        req.rawBody = raw;
        entry.complete = true;
        if (String(req.headers['content-type'] || '').startsWith('multipart/')) {
          entry.parts = partNames(raw);
        } else {
          entry.body = raw.toString('utf8');
        }
      });
      next();
    };
  }

  since(seq) {
    return this.entries.filter((e) => e.seq > seq);
  }

  clear() {
    this.entries = [];
  }
}

function pairs(raw) {
  const out = [];
  for (let i = 0; i + 1 < raw.length; i += 2) out.push([raw[i], raw[i + 1]]);
  return out;
}

// The form's part names in wire order.
function partNames(raw) {
  const names = [];
  const re = /Content-Disposition: form-data; name="([^"]*)"/gi;
  const text = raw.toString('latin1');
  let m;
  while ((m = re.exec(text)) !== null) names.push(m[1]);
  return names;
}

module.exports = { Recorder };
