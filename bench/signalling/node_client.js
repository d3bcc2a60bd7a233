'use strict';
// The Node.js socket.io client's side of the signalling benchmark, run by the back-end
// (POST /signal/bench-node): receives `events` small events and makes `roundtrips` emit->echo
// round trips against the room server, then prints one JSON line with the figures.
// Usage: node node_client.js ORIGIN EVENTS ROUNDTRIPS
const path = require('path');
const { io } = require(path.join(__dirname, '..', '..', 'testserver', 'node_modules', 'socket.io-client'));

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

async function main() {
  const [origin, events, roundtrips] = [process.argv[2], Number(process.argv[3]), Number(process.argv[4])];
  const socket = io(origin, { transports: ['websocket'], reconnection: false });
  await new Promise((resolve, reject) => {
    socket.once('connect', resolve);
    socket.once('connect_error', reject);
  });

  let received = 0;
  socket.on('bench-tick', () => { received += 1; });
  // Socket reads of the flood, through the websocket's TCP socket (a private field of the ws
  // package: without it no reads are counted).
  let reads = 0;
  const transport = socket.io.engine && socket.io.engine.transport;
  const tcp = transport && transport.ws && transport.ws._socket;
  if (tcp) tcp.on('data', () => { reads += 1; });
  const floodStart = process.hrtime.bigint();
  await new Promise((resolve) => {
    socket.once('bench-flood-done', resolve);
    socket.emit('bench-flood', events);
  });
  const floodMs = Number(process.hrtime.bigint() - floodStart) / 1e6;
  const floodReads = reads;

  const rtts = [];
  for (let i = 0; i < roundtrips; i += 1) {
    const t0 = process.hrtime.bigint();
    await new Promise((resolve) => {
      socket.once('bench-echo', resolve);
      socket.emit('bench-echo', { seq: i });
    });
    rtts.push(Number(process.hrtime.bigint() - t0) / 1e6);
  }
  rtts.sort((a, b) => a - b);
  socket.close();
  process.stdout.write(`${JSON.stringify({
    received, eventsPerSecond: received / (floodMs / 1000),
    eventsPerRead: floodReads > 0 ? received / floodReads : 0,
    medianMs: percentile(rtts, 0.5), p99Ms: percentile(rtts, 0.99),
  })}\n`);
}

main().catch((e) => {
  process.stderr.write(`${e.stack || e}\n`);
  process.exit(1);
});
