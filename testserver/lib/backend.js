'use strict';
// The back-end: one set of routes served on the base listener and on five proxy listeners, plus
// a control listener through which tests read the recorded requests and switch faults.
const fs = require('fs');
const http = require('http');
const https = require('https');
const path = require('path');
const express = require('express');
const { Recorder } = require('./recorder');
const { Faults, earlyFault } = require('./faults');
const { State, accountRoutes, meetingRoutes, feedbackRoutes } = require('./services');
const { Signalling } = require('./signalling');

class Backend {
  constructor(options) {
    this.options = options;
    this.state = new State();
    this.recorder = new Recorder();
    this.faults = new Faults();
    this.listeners = new Map(); // name -> {host, port, server}
    this.byAddress = new Map(); // "host:port" -> name
    this.lastActivity = Date.now();
    this.app = this.serviceApp();
    this.signalling = new Signalling(this.state, () => { this.lastActivity = Date.now(); },
      options.clientFeature);
  }

  serviceApp() {
    const app = express();
    app.disable('x-powered-by');
    app.use((req, res, next) => {
      this.lastActivity = Date.now();
      req.listenerName = this.byAddress.get(`${req.socket.localAddress}:${req.socket.localPort}`) || 'unknown';
      next();
    });
    app.use(this.recorder.middleware((req) => req.listenerName));
    app.use(earlyFault(this.faults));
    app.use('/usrservice/v1', accountRoutes(this.state));
    app.use('/kmrservice', meetingRoutes(this.state, this.options.versions));
    app.use('/', feedbackRoutes());
    app.use((req, res) => res.status(404).json({ success: false, errorMsg: 'no such route', code: 404 }));
    return app;
  }

  async start() {
    const { host, port, proxies, proxyPort } = this.options;
    await this.listen('base', host, port);
    await this.listen('secure', host, 0, this.secureOptions());
    await this.listenProxies(proxies, proxyPort);
    await this.signalling.start(host, this.options.signalPort || 0);
  }

  // A self-signed certificate that no client may trust: the HTTPS listener shows that the
  // service library refuses unverified servers before it sends them the access token.
  secureOptions() {
    const dir = path.join(__dirname, '..', 'certs');
    return { key: fs.readFileSync(path.join(dir, 'selfsigned.key')), cert: fs.readFileSync(path.join(dir, 'selfsigned.crt')) };
  }

  listen(name, host, port, tls) {
    return new Promise((resolve, reject) => {
      const server = tls ? https.createServer(tls, this.app) : http.createServer(this.app);
      server.keepAliveTimeout = 1000;
      server.once('error', reject);
      server.listen(port, host, () => {
        server.removeListener('error', reject);
        const actual = server.address().port;
        this.listeners.set(name, { host, port: actual, server });
        this.byAddress.set(`${host}:${actual}`, name);
        resolve(actual);
      });
    });
  }

  // All proxies share one port; with port 0 the first proxy picks it and the rest follow.
  async listenProxies(proxies, port) {
    for (let attempt = 0; attempt < 20; attempt += 1) {
      try {
        let shared = port;
        for (let i = 0; i < proxies.length; i += 1) {
          shared = await this.listen(`proxy${i + 1}`, proxies[i], shared);
        }
        this.proxyPort = shared;
        return;
      } catch (e) {
        if (e.code !== 'EADDRINUSE' || port !== 0) throw e;
        await this.closeProxies();
      }
    }
    throw new Error('no common free port for the proxies');
  }

  async closeProxies() {
    for (const name of [...this.listeners.keys()].filter((n) => n.startsWith('proxy'))) {
      await this.close(name);
      this.listeners.delete(name);
    }
  }

  close(name) {
    const entry = this.listeners.get(name);
    if (!entry || !entry.server.listening) return Promise.resolve();
    return new Promise((resolve) => {
      entry.server.close(() => resolve());
      entry.server.closeAllConnections();
    });
  }

  reopen(name) {
    const entry = this.listeners.get(name);
    if (!entry || entry.server.listening) return Promise.resolve();
    return new Promise((resolve, reject) => {
      entry.server.once('error', reject);
      entry.server.listen(entry.port, entry.host, () => resolve());
    });
  }

  async setFault(listener, spec) {
    if (!this.listeners.has(listener)) throw new Error(`unknown listener ${listener}`);
    this.faults.set(listener, spec);
    if (spec.mode === 'refuse') await this.close(listener);
    else await this.reopen(listener);
  }

  async reset(withState) {
    this.faults.clear();
    for (const name of this.listeners.keys()) await this.reopen(name);
    this.recorder.clear();
    if (withState) this.state.reset();
  }

  info(controlPort) {
    const base = this.listeners.get('base');
    const secure = this.listeners.get('secure');
    return {
      control: `http://127.0.0.1:${controlPort}/`,
      base: `http://${base.host}:${base.port}/`,
      secure: `https://${secure.host}:${secure.port}/`,
      proxies: this.options.proxies,
      proxyPort: this.proxyPort,
      signal: this.signalling.url(),
    };
  }
}

module.exports = { Backend };
