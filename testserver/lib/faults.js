'use strict';
// Fault switches per listener ("base", "proxy1".."proxy5"). A fault may be limited to one path
// and to a number of requests. Modes that act on the answer go through reply().
//
//   refuse      the listener stops accepting: connections are refused
//   silent      the request is accepted and never answered
//   fail-after  the connection is dropped after delayMs without an answer
//   delay       the normal answer, sent after delayMs
//   status500   HTTP 500 with a JSON refusal
//   split       the normal answer, written in many small pieces (chunked)
//   garbage     HTTP 200 with a body that is not JSON
//   drop        headers with the full Content-Length, half the body, then the connection drops
//   stall       headers and half the body, then nothing more
//   refusal     HTTP 200 with the service's refusal {success:false, errorMsg, code} of the fault
//               (code, errorMsg), before the route runs: the state stays as it was
//   member      the normal JSON answer with its member `member` set to the bytes `hex` (hex
//               digits, default "78": "x") repeated `repeat` times (default 1), as a string, or
//               as the JSON value itself with `raw`; the bytes go out as they are, so they may be
//               invalid UTF-8
//   endless     HTTP 200, JSON type, no Content-Length: "[0,0,0,..." in 64 KiB pieces up to
//               `size` bytes (default 300 MiB); the recorded request notes in answerBytes how
//               many bytes were handed to the connection before it closed
const MODES = ['refuse', 'silent', 'fail-after', 'delay', 'status500', 'split', 'garbage', 'drop', 'stall', 'refusal', 'member', 'endless'];

class Faults {
  constructor() {
    this.byListener = new Map();
    this.held = new Set();
  }

  set(listener, spec) {
    if (spec.mode === 'none') {
      this.byListener.delete(listener);
      return;
    }
    if (!MODES.includes(spec.mode)) throw new Error(`unknown fault mode ${spec.mode}`);
    this.byListener.set(listener, {
      mode: spec.mode,
      path: spec.path || '',
      count: Number.isInteger(spec.count) ? spec.count : -1,
      delayMs: Number(spec.delayMs) || 0,
      code: Number.isInteger(spec.code) ? spec.code : 500,
      errorMsg: typeof spec.errorMsg === 'string' ? spec.errorMsg : 'refused',
      member: typeof spec.member === 'string' ? spec.member : '',
      hex: typeof spec.hex === 'string' ? spec.hex : '78',
      repeat: Number.isInteger(spec.repeat) ? spec.repeat : 1,
      raw: Boolean(spec.raw),
      size: Number.isInteger(spec.size) ? spec.size : 300 << 20,
    });
  }

  // The fault that applies to this request (and uses up one of its count), or null.
  take(listener, path) {
    const fault = this.byListener.get(listener);
    if (!fault || fault.mode === 'refuse') return null;
    if (fault.path && !path.endsWith(fault.path)) return null;
    if (fault.count === 0) return null;
    if (fault.count > 0) fault.count -= 1;
    return fault;
  }

  refusing(listener) {
    const fault = this.byListener.get(listener);
    return Boolean(fault && fault.mode === 'refuse');
  }

  hold(res) {
    this.held.add(res);
    res.on('close', () => this.held.delete(res));
  }

  clear() {
    this.byListener.clear();
    for (const res of this.held) res.socket && res.socket.destroy();
    this.held.clear();
  }
}

// Faults that act before the route runs.
function earlyFault(faults) {
  return (req, res, next) => {
    const fault = faults.take(req.listenerName, req.path);
    req.fault = fault;
    if (!fault) return next();
    if (fault.mode === 'silent') {
      faults.hold(res);
      return undefined;
    }
    if (fault.mode === 'fail-after') {
      faults.hold(res);
      setTimeout(() => res.socket && res.socket.destroy(), fault.delayMs);
      return undefined;
    }
    if (fault.mode === 'refusal') {
      res.status(200).json({ success: false, errorMsg: fault.errorMsg, code: fault.code });
      return undefined;
    }
    if (fault.mode === 'delay') {
      setTimeout(next, fault.delayMs);
      return undefined;
    }
    return next();
  };
}

// The JSON text of the payload with the fault's member set to its raw bytes.
function withMember(payload, fault) {
  const marker = '\u0001member-fault\u0001';
  const text = JSON.stringify({ ...payload, [fault.member]: marker });
  const quoted = JSON.stringify(marker);
  const at = text.indexOf(quoted);
  const unit = Buffer.from(fault.hex, 'hex');
  const bytes = Buffer.alloc(unit.length * fault.repeat, unit);
  const value = fault.raw ? bytes : Buffer.concat([Buffer.from('"'), bytes, Buffer.from('"')]);
  return Buffer.concat([Buffer.from(text.slice(0, at)), value, Buffer.from(text.slice(at + quoted.length))]);
}

// Streams "[0,0,0,..." until size bytes have gone out or the connection closed.
function sendEndless(req, res, size) {
  res.writeHead(200, { 'Content-Type': 'application/json; charset=utf-8' });
  const piece = Buffer.from('0,'.repeat(32 << 10));
  let sent = 0;
  res.on('close', () => { req.recorded.answerBytes = sent; });
  const pump = () => {
    while (!res.destroyed && sent < size) {
      const chunk = sent === 0 ? Buffer.concat([Buffer.from('['), piece]) : piece;
      sent += chunk.length;
      if (!res.write(chunk)) return res.once('drain', pump);
    }
    if (!res.destroyed) res.end('0]');
    return undefined;
  };
  pump();
}

// Sends an answer (a JSON value or a Buffer) as the request's fault says.
function reply(req, res, status, payload, contentType) {
  const mode = req.fault ? req.fault.mode : '';
  if (mode === 'endless') return sendEndless(req, res, req.fault.size);
  let body = Buffer.isBuffer(payload) ? payload : Buffer.from(JSON.stringify(payload));
  if (mode === 'member' && req.fault.member && !Buffer.isBuffer(payload)) body = withMember(payload, req.fault);
  const type = contentType || 'application/json; charset=utf-8';
  if (mode === 'status500') {
    return res.status(500).json({ success: false, errorMsg: 'internal server error', code: 500 });
  }
  if (mode === 'garbage') {
    return res.status(200).type('text/html').send('<html><body>502 gateway says no</body></html>');
  }
  if (mode === 'split') return sendInPieces(res, status, body, type);
  if (mode === 'drop' || mode === 'stall') {
    res.writeHead(status, { 'Content-Type': type, 'Content-Length': body.length });
    res.write(body.subarray(0, Math.floor(body.length / 2)));
    if (mode === 'drop') setTimeout(() => res.socket && res.socket.destroy(), 50);
    return undefined;
  }
  res.writeHead(status, { 'Content-Type': type, 'Content-Length': body.length });
  return res.end(body);
}

function sendInPieces(res, status, body, type) {
  res.writeHead(status, { 'Content-Type': type });
  let offset = 0;
  const step = () => {
    if (offset >= body.length) return res.end();
    res.write(body.subarray(offset, offset + 7));
    offset += 7;
    return setTimeout(step, 2);
  };
  step();
}

module.exports = { Faults, earlyFault, reply };
