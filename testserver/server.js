#!/usr/bin/env node
'use strict';
// Local back-end for the tests and the demo: the account, meeting and feedback services on a
// base listener and five proxy listeners (all loopback), the signalling server on a listener of
// its own, and a control listener.
//
// Usage: node server.js [options]
//   --host ADDR          base listener address (127.0.0.1)
//   --port N             base listener port (0: any free port)
//   --proxies A,B,...    proxy listener addresses (127.0.0.2 ... 127.0.0.6)
//   --proxy-port N       port shared by the proxies (0: any port free on all of them)
//   --control-port N     control listener port on 127.0.0.1 (0: any free port)
//   --signal-port N      signalling (socket.io) listener port on --host (0: any free port)
//   --ready-file PATH    write the listening addresses there (JSON) once ready
//   --lifeline           end when the last GET /lifeline connection closes
//   --idle-exit S        end after S seconds without any request (0: never)
//   --exit-with-stdin    end when standard input closes
//   --latest-version V   the newest client version the configuration offers (1.2): above the
//                        program's own, the program proposes an optional upgrade
//   --minimum-version V  the oldest client version allowed (1.0): above the program's own, the
//                        program demands an upgrade
//   --client-feature N   the feature number the signalling announces every member with (0);
//                        non-zero lets the clients invite each other to turn a device on
// Once listening it prints one JSON line with the addresses (see GET /info of lib/control.js).
const fs = require('fs');
const http = require('http');
const { Backend } = require('./lib/backend');
const { controlApp } = require('./lib/control');

function readOptions(argv) {
  const options = {
    host: '127.0.0.1', port: 0, proxies: ['127.0.0.2', '127.0.0.3', '127.0.0.4', '127.0.0.5', '127.0.0.6'],
    proxyPort: 0, controlPort: 0, signalPort: 0, readyFile: '', lifeline: false, idleExit: 0, exitWithStdin: false,
    versions: {}, clientFeature: 0,
  };
  const valued = {
    '--host': (v) => { options.host = v; },
    '--port': (v) => { options.port = Number(v); },
    '--proxies': (v) => { options.proxies = v.split(',').map((s) => s.trim()).filter(Boolean); },
    '--proxy-port': (v) => { options.proxyPort = Number(v); },
    '--control-port': (v) => { options.controlPort = Number(v); },
    '--signal-port': (v) => { options.signalPort = Number(v); },
    '--ready-file': (v) => { options.readyFile = v; },
    '--idle-exit': (v) => { options.idleExit = Number(v); },
    '--latest-version': (v) => { options.versions.latest = v; },
    '--minimum-version': (v) => { options.versions.minimum = v; },
    '--client-feature': (v) => { options.clientFeature = Number.parseInt(v, 10) || 0; },
  };
  for (let i = 2; i < argv.length; i += 1) {
    if (argv[i] === '--lifeline') options.lifeline = true;
    else if (argv[i] === '--exit-with-stdin') options.exitWithStdin = true;
    else if (valued[argv[i]] && i + 1 < argv.length) valued[argv[i]](argv[++i]);
    else throw new Error(`unknown or incomplete option ${argv[i]}`);
  }
  return options;
}

async function main() {
  const options = readOptions(process.argv);
  const backend = new Backend(options);
  await backend.start();

  const lifelines = new Set();
  let control = null;
  const shutdown = () => process.exit(0);
  const hooks = {
    port: () => control.address().port,
    shutdown,
    lifeline: (socket) => {
      lifelines.add(socket);
      socket.on('close', () => {
        lifelines.delete(socket);
        if (options.lifeline && lifelines.size === 0) shutdown();
      });
    },
  };
  control = http.createServer(controlApp(backend, hooks));
  await new Promise((resolve, reject) => {
    control.once('error', reject);
    control.listen(options.controlPort, '127.0.0.1', resolve);
  });
  control.on('request', () => { backend.lastActivity = Date.now(); });

  if (options.idleExit > 0) {
    setInterval(() => {
      if (Date.now() - backend.lastActivity > options.idleExit * 1000) shutdown();
    }, 1000).unref();
  }
  if (options.exitWithStdin) {
    process.stdin.on('end', shutdown);
    process.stdin.on('error', shutdown);
    process.stdin.resume();
  }

  const info = JSON.stringify(backend.info(control.address().port));
  if (options.readyFile) {
    fs.writeFileSync(`${options.readyFile}.tmp`, info);
    fs.renameSync(`${options.readyFile}.tmp`, options.readyFile);
  }
  process.stdout.write(`${info}\n`);
}

main().catch((e) => {
  process.stderr.write(`test back-end failed: ${e.stack || e}\n`);
  process.exit(1);
});
