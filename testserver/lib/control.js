'use strict';
// The control API of a running back-end (its own loopback listener):
//   GET  /info                 where everything listens
//   GET  /requests?since=N     recorded requests after sequence number N
//   POST /fault                {listener, mode, path?, count?, delayMs?, ...}  (mode "none"
//                              clears; the other fields of a mode: lib/faults.js)
//   POST /reset                {state?: bool}  faults off, listeners open, records cleared
//   POST /user                 {token, uid?, name?, portraitId?}  a known user
//   GET  /lifeline             held open; with --lifeline the server ends when it closes
//   POST /shutdown             ends the server
//   /signal/...                the signalling server (lib/signalling_control.js)
const express = require('express');
const { signallingControl } = require('./signalling_control');

function controlApp(backend, hooks) {
  const app = express();
  app.use(express.json());
  const handle = (fn) => (req, res) => {
    Promise.resolve(fn(req, res)).catch((e) => res.status(400).json({ error: String(e.message || e) }));
  };
  app.get('/info', (req, res) => res.json(backend.info(hooks.port())));
  app.get('/requests', (req, res) => {
    res.json({ requests: backend.recorder.since(Number(req.query.since) || 0), last: backend.recorder.seq });
  });
  app.post('/fault', handle(async (req, res) => {
    await backend.setFault(String(req.body.listener), req.body);
    res.json({ ok: true });
  }));
  app.post('/reset', handle(async (req, res) => {
    await backend.reset(Boolean(req.body && req.body.state));
    res.json({ ok: true, last: backend.recorder.seq });
  }));
  app.post('/user', (req, res) => res.json(backend.state.addUser(req.body || {})));
  app.get('/lifeline', (req, res) => {
    res.writeHead(200, { 'Content-Type': 'text/plain' });
    res.write('alive\n');
    hooks.lifeline(req.socket);
  });
  app.use('/signal', signallingControl(backend.signalling));
  app.post('/shutdown', (req, res) => {
    res.json({ ok: true });
    setImmediate(hooks.shutdown);
  });
  return app;
}

module.exports = { controlApp };
