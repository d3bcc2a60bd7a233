'use strict';
// Socket.io connection faults shared by the signalling room server and the bare test peer of
// testserver/signalling: frames no client should act on, and a connection that goes silent.

// Frames a client must ignore without losing the connection: unknown or empty Engine.IO types,
// broken Socket.IO headers and payloads, other namespaces, binary and ack packets.
const MALFORMED_FRAMES = [
  '', '9', 'x', '4', '49', '4x', '42', '42not json', '42{}', '42[]', '42[1,2]', '42["unterminated',
  '42/other,["echo","wrong namespace"]', '42/unterminated["echo"]', '43', '4312[]',
  '451-["bin",{"_placeholder":true,"num":0}]', '46', '4412345678901234567890["x"]', '40{bad',
  '42' + '['.repeat(1000) + ']'.repeat(1000), '6', '5', '3',
];

function sendRawFrames(socket, frames) {
  const ws = socket.conn.transport.socket;
  for (const frame of frames) ws.send(frame);
}

// Stops everything the server would send to this client, pings included, and its own ping
// timeout, so the connection stays open but silent.
function silence(socket) {
  const conn = socket.conn;
  clearTimeout(conn.pingIntervalTimer);
  clearTimeout(conn.pingTimeoutTimer);
  conn.schedulePing = () => {};
  conn.resetPingTimeout = () => {};
  conn.sendPacket = () => {};
}

// Silent, and deaf as well: nothing the client sends is read any more, its close included, while
// the connection stays open, as when the server's host or the network between has gone away.
function freeze(socket) {
  silence(socket);
  socket.conn.transport.socket._socket.pause();
}

// Cuts the connection without a goodbye, as a crashed server would.
function terminate(socket) {
  socket.conn.transport.socket.terminate();
}

module.exports = { MALFORMED_FRAMES, sendRawFrames, silence, freeze, terminate };
