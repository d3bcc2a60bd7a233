'use strict';
// Socket.io peer for the signalling client's tests. It echoes what it receives and injects the
// faults a client must survive. A client drives it with events:
//   echo(...args)            -> "echo" with the same arguments
//   fault(name, arg)         -> the fault below, announced first with "fault-set" [name]
//     types                  -> "types" with integers, doubles and the other JSON kinds
//     ack                    -> "with-ack" asking for an ack; the ack's arguments come back in "acked"
//     malformed              -> frames no client should act on, then "after-malformed"
//     drop                   -> the server closes the transport (Engine.IO close)
//     silence                -> the server stops sending anything, pings included, and keeps waiting
//     freeze                 -> silence, and the server stops reading too: a close goes unanswered
//     disconnect             -> the namespace disconnect packet "41"
//     big (length)           -> "big" with one text of length characters
//     big-cjk (length)       -> "big" with one text of length CJK characters (3 bytes of UTF-8 each)
//     big-cjk-escaped (length) -> the same text as its JSON encoder would escape it (\u4e2d...)
//     patient (ms)           -> this connection is given ms for each pong (a large message to
//                               send or receive takes a while)
//     ping-in (ms, within)   -> one more ping after ms; the connection is closed unless its pong
//                               arrives within the next within ms, whatever else arrives first (as
//                               servers of other makes do)
//     big-on-connect (length, count) -> the next count connections get "big" of length
//                               characters right after "welcome"
//     refuse-io (count)      -> the next count connections get a connect error "44"
//     refuse-http (count)    -> the next count websocket requests are rejected in the handshake
//     restart (ms)           -> every connection is cut and the port stays closed for ms
// On every connection the server first emits "welcome" {query: the handshake query as received}.
//
// Usage: node server.js --port-file FILE [--ping-interval MS] [--ping-timeout MS]
//                       [--max-lifetime MS]
// Listens on a free loopback port and writes it to FILE once ready.
const fs = require('fs');
const http = require('http');
const path = require('path');
const { Server } = require(path.join(__dirname, '..', 'node_modules', 'socket.io'));
const { MALFORMED_FRAMES, sendRawFrames, silence, freeze, terminate } = require('../lib/sio_faults');

function readOptions(argv) {
  const options = { portFile: '', pingInterval: 400, pingTimeout: 600, maxLifetime: 30 * 60 * 1000 };
  const names = { '--port-file': 'portFile', '--ping-interval': 'pingInterval',
    '--ping-timeout': 'pingTimeout', '--max-lifetime': 'maxLifetime' };
  for (let i = 2; i < argv.length; i += 2) {
    const key = names[argv[i]];
    if (!key || i + 1 >= argv.length) throw new Error(`unknown or incomplete option ${argv[i]}`);
    options[key] = key === 'portFile' ? argv[i + 1] : Number(argv[i + 1]);
  }
  if (!options.portFile) throw new Error('--port-file is required');
  return options;
}

const options = readOptions(process.argv);
const switches = { refuseIo: 0, refuseHttp: 0, bigOnConnect: { packet: '', count: 0 } };
let io = null;
let port = 0;

const FAULTS = {
  types: (socket) => socket.emit('types', {
    int: 42, negative: -7, big: 2 ** 40, double: 2.5, negativeDouble: -0.125,
    text: 'x', yes: true, no: false, nothing: null, list: [1, 2.5, 's'], object: { a: 1 } }),
  ack: (socket) => socket.emit('with-ack', 'please ack', (...args) => socket.emit('acked', args)),
  malformed: (socket) => {
    sendRawFrames(socket, MALFORMED_FRAMES);
    socket.emit('after-malformed');
  },
  drop: (socket) => socket.conn.close(),
  silence,
  freeze,
  disconnect: (socket) => socket.disconnect(),
  big: (socket, length) => socket.emit('big', 'x'.repeat(Number(length) || 0)),
  'big-cjk': (socket, length) => socket.emit('big', '\u4e2d'.repeat(Number(length) || 0)),
  // Written as a packet of its own, it still keeps its place among the emits.
  'big-cjk-escaped': (socket, length) =>
    socket.conn.write(`2["big","${'\\u4e2d'.repeat(Number(length) || 0)}"]`),
  patient: (socket, ms) => {
    const conn = socket.conn;
    conn.server = Object.create(conn.server, { opts: { value: { ...conn.server.opts, pingTimeout: Number(ms) } } });
  },
  'ping-in': (socket, ms, within) => setTimeout(() => {
    const conn = socket.conn;
    const timeout = setTimeout(() => conn.close(), Number(within));
    conn.on('packet', function onPacket(packet) {
      if (packet.type !== 'pong') return;
      clearTimeout(timeout);
      conn.off('packet', onPacket);
    });
    conn.sendPacket('ping');
  }, Number(ms)),
  // Built once here: building tens of megabytes for each connection would keep the server
  // silent for longer than the client waits for a ping.
  'big-on-connect': (socket, length, count) => {
    switches.bigOnConnect = { packet: `2["big","${'x'.repeat(Number(length) || 0)}"]`, count: Number(count) || 1 };
  },
  'refuse-io': (socket, count) => { switches.refuseIo = Number(count) || 1; },
  'refuse-http': (socket, count) => { switches.refuseHttp = Number(count) || 1; },
  restart: (socket, ms) => setTimeout(() => restart(Number(ms) || 300), 50),
};

function onConnection(socket) {
  socket.emit('welcome', { query: socket.handshake.query });
  if (switches.bigOnConnect.count > 0) {
    switches.bigOnConnect.count -= 1;
    socket.conn.write(switches.bigOnConnect.packet);
  }
  socket.on('echo', (...args) => socket.emit('echo', ...args));
  socket.on('fault', (name, ...args) => {
    const fault = FAULTS[name];
    if (!fault) return socket.emit('fault-unknown', name);
    socket.emit('fault-set', name);
    fault(socket, ...args);
  });
}

function start(onListening) {
  const httpServer = http.createServer((req, res) => { res.writeHead(404); res.end(); });
  io = new Server(httpServer, {
    transports: ['websocket'],
    pingInterval: options.pingInterval,
    pingTimeout: options.pingTimeout,
    allowRequest: (req, callback) => {
      if (switches.refuseHttp > 0) {
        switches.refuseHttp -= 1;
        return callback('refused by the test', false);
      }
      callback(null, true);
    },
  });
  io.use((socket, next) => {
    if (switches.refuseIo > 0) {
      switches.refuseIo -= 1;
      return next(new Error('refused by the test'));
    }
    next();
  });
  io.on('connection', onConnection);
  httpServer.listen(port, '127.0.0.1', () => {
    port = httpServer.address().port;
    if (onListening) onListening();
  });
}

// Like a process restart: connections are cut without a goodbye and the port refuses for a while.
function restart(downMs) {
  const old = io;
  for (const socket of old.of('/').sockets.values()) terminate(socket);
  old.close(() => setTimeout(() => start(), downMs));
}

function writePortFile() {
  const temp = `${options.portFile}.tmp`;
  fs.writeFileSync(temp, String(port));
  fs.renameSync(temp, options.portFile);
}

start(writePortFile);
// A test run that dies without stopping the server must not leave it behind for long.
setTimeout(() => process.exit(0), options.maxLifetime).unref();
process.on('SIGTERM', () => process.exit(0));
process.on('SIGINT', () => process.exit(0));
