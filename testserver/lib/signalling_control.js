'use strict';
// Control routes of the signalling server (mounted under /signal of the control listener):
//   GET  /signal/received?since=N   packets received after sequence number N, with arg types
//   GET  /signal/connections        each connection's request URL and handshake query
//   POST /signal/emit               {event, args[], uid?, rid?}  sends it; answers {sent: n}
//   POST /signal/room               {rid, pwd?}  another host's room update, then the room's
//                                   "room-info" to its members; answers {sent: n}
//   POST /signal/fault              {mode, count?, downMs?}  (see Signalling.fault)
//   POST /signal/config             {pingInterval?, pingTimeout?, requestTimeoutMs?}
//   POST /signal/reset              every client disconnected, rooms and records cleared, every
//                                   scripted peer ended
//   POST /signal/peers              {room, count, channelFolder?, echo?, name?, appversion?}
//                                   starts scripted peers in the room (lib/scripted_peers.js);
//                                   answers {id, peers: [{uid, name, streamId}]} at once
//   GET  /signal/peers              {groups: [{id, room, peers: [{uid, streamId, connected,
//                                   joined, echoed, file}]}]}
//   POST /signal/peers/end          {id?}  ends that group (every group without id); {ended: n}
//   POST /signal/peers/chat         {id, count}  that group's peers send count chat messages to
//                                   their room ("burst 1", "burst 2", ...); {sent: n}
//   POST /signal/bench-node         {events, roundtrips}  runs the Node.js client benchmark
//                                   (bench/signalling/node_client.js) against this server
//   GET  /signal/bench-node         {state: "idle"|"running"|"done"|"failed", result?}
const { execFile } = require('child_process');
const path = require('path');
const express = require('express');
const { ScriptedPeers } = require('./scripted_peers');

const NODE_BENCH = path.join(__dirname, '..', '..', 'bench', 'signalling', 'node_client.js');

function signallingControl(signalling) {
  const router = express.Router();
  const handle = (fn) => (req, res) => {
    try {
      res.json(fn(req.body || {}, req) || { ok: true });
    } catch (e) {
      res.status(400).json({ error: String(e.message || e) });
    }
  };
  router.get('/received', handle((body, req) => {
    const since = Number(req.query.since) || 0;
    return { received: signalling.received.filter((r) => r.seq > since), last: signalling.seq };
  }));
  router.get('/connections', handle(() => ({ connections: signalling.connections })));
  router.post('/emit', handle((body) => ({ sent: signalling.inject(body) })));
  router.post('/room', handle((body) => ({ sent: signalling.updateRoom(body) })));
  router.post('/fault', handle((body) => { signalling.fault(body); }));
  router.post('/config', handle((body) => signalling.configure(body)));
  const peers = new ScriptedPeers(signalling);
  router.post('/reset', handle(() => {
    peers.endAll();
    signalling.reset();
  }));
  router.post('/peers', handle((body) => peers.start(body)));
  router.get('/peers', handle(() => ({ groups: peers.list() })));
  router.post('/peers/end', handle((body) => ({
    ended: body.id === undefined ? peers.endAll() : Number(peers.end(Number(body.id))),
  })));
  router.post('/peers/chat', handle((body) => ({ sent: peers.chat(Number(body.id), Number(body.count)) })));
  // Its own process, so that the client does not share the server's event loop.
  let bench = { state: 'idle' };
  router.post('/bench-node', handle((body) => {
    const args = [NODE_BENCH, signalling.url(), String(Number(body.events) || 100000),
      String(Number(body.roundtrips) || 10000)];
    bench = { state: 'running' };
    execFile(process.execPath, args, { timeout: 300000, maxBuffer: 1 << 20 }, (error, stdout) => {
      try {
        bench = error ? { state: 'failed', error: String(error) } : { state: 'done', result: JSON.parse(stdout) };
      } catch (e) {
        bench = { state: 'failed', error: String(e) };
      }
    });
    return bench;
  }));
  router.get('/bench-node', handle(() => bench));
  return router;
}

module.exports = { signallingControl };
