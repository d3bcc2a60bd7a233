'use strict';
// The signalling room server: socket.io on a listener of its own, sharing users and rooms with
// the REST services (lib/services.js), so that one back-end serves the whole join road.
//
// A client connects with the query uid, channel (the room), streamId, status, appversion,
// platform [, reconnect] and then emits, each with one string argument:
//   authorize(token)        unknown token: "user-error" {code: 4001}; else "user-join" {user} to
//                           the room (the sender included), then "user-list" [users] and
//                           "room-info" {room} to the sender
//   broadcast(text)         "user-recv-msg" {uid, msg} to the room
//   send-request(json)      {op, target, rid}: "request-result" {op, requestId, target} to the
//                           sender, "user-request" {op, sender, requestId} to the target
//   send-response(json)     {requestId, accept, rid}: "user-response" {success, requestId,
//                           reason, sender, target} to the request's sender; a request left
//                           unanswered gets reason "TIMEOUT" after requestTimeoutMs
// A successful room/ctrl is echoed to the room as "user-operation" {operator, original:
// {targets, type}, users}; a disconnection as "user-leave" {uid}.
// Every packet received is recorded with the types of its arguments, for the tests; the two
// benchmark events are not: bench-flood(n) answers n small "bench-tick" events then
// "bench-flood-done", bench-echo(x) answers "bench-echo" x.
const http = require('http');
const path = require('path');
const { Server } = require(path.join(__dirname, '..', 'node_modules', 'socket.io'));
const { MALFORMED_FRAMES, sendRawFrames, silence, freeze, terminate } = require('./sio_faults');

const DEFAULT_CONFIG = { pingInterval: 25000, pingTimeout: 20000, requestTimeoutMs: 20000 };
const STATUS_OPS = {
  muteAudio: (s) => s | 1, unmuteAudio: (s) => s & ~1, muteVideo: (s) => s | 2, unmuteVideo: (s) => s & ~2,
};

class Signalling {
  // clientFeature: the feature number every member is announced with (0: the clients cannot
  // invite each other to turn a device on).
  constructor(state, touch, clientFeature = 0) {
    this.state = state;
    this.touch = touch;
    this.clientFeature = clientFeature;
    this.config = { ...DEFAULT_CONFIG };
    this.server = null;
    this.io = null;
    this.host = '127.0.0.1';
    this.port = 0;
    this.reset();
    state.on('room-ctrl', (ctrl) => this.onRoomCtrl(ctrl));
  }

  reset() {
    if (this.io) for (const socket of this.io.of('/').sockets.values()) socket.disconnect(true);
    this.rooms = new Map(); // rid -> Map uid -> {member, socket}
    this.requests = new Map(); // requestId -> {op, sender, target, rid, timer}
    this.received = [];
    this.connections = [];
    this.seq = 0;
    this.nextRequest = 1;
    this.switches = { refuseHttp: 0, refuseIo: 0, holdHttp: 0 };
  }

  async start(host, port) {
    this.host = host;
    this.server = http.createServer((req, res) => { res.writeHead(404); res.end(); });
    this.io = new Server(this.server, {
      transports: ['websocket'],
      pingInterval: this.config.pingInterval,
      pingTimeout: this.config.pingTimeout,
      allowRequest: (req, callback) => this.allowRequest(callback),
    });
    this.io.use((socket, next) => this.admit(next));
    this.io.on('connection', (socket) => this.onConnection(socket));
    await this.listen(port);
  }

  listen(port) {
    return new Promise((resolve, reject) => {
      this.server.once('error', reject);
      this.server.listen(port, this.host, () => {
        this.server.removeListener('error', reject);
        this.port = this.server.address().port;
        resolve();
      });
    });
  }

  url() { return `http://${this.host}:${this.port}`; }

  // Engine.IO reads these for every ping it schedules, so a change reaches open connections at
  // their next ping and new ones at once.
  configure(values) {
    for (const key of Object.keys(DEFAULT_CONFIG)) {
      if (Number.isFinite(values[key])) this.config[key] = values[key];
    }
    this.io.engine.opts.pingInterval = this.config.pingInterval;
    this.io.engine.opts.pingTimeout = this.config.pingTimeout;
    return this.config;
  }

  allowRequest(callback) {
    this.touch();
    if (this.switches.refuseHttp > 0) {
      this.switches.refuseHttp -= 1;
      return callback('refused by the test', false);
    }
    if (this.switches.holdHttp > 0) {
      this.switches.holdHttp -= 1;
      return undefined;  // never answered: the connection stays open, the client waits
    }
    return callback(null, true);
  }

  admit(next) {
    if (this.switches.refuseIo > 0) {
      this.switches.refuseIo -= 1;
      return next(new Error('refused by the test'));
    }
    return next();
  }

  sockets() { return [...this.io.of('/').sockets.values()]; }

  // Faults: drop, restart {downMs}, refuse {count}, hold {count} (the next websocket requests
  // are never answered), connect-error {count}, malformed, silence, freeze, big-msg {count} (a
  // "user-recv-msg" of count CJK characters, 3 bytes of UTF-8 each, to everyone).
  fault(spec) {
    const count = Number.isInteger(spec.count) && spec.count > 0 ? spec.count : 1;
    const actions = {
      none: () => { this.switches = { refuseHttp: 0, refuseIo: 0, holdHttp: 0 }; },
      drop: () => this.sockets().forEach((s) => s.conn.close()),
      restart: () => this.restart(Number(spec.downMs) || 300),
      refuse: () => { this.switches.refuseHttp = count; },
      hold: () => { this.switches.holdHttp = count; },
      'connect-error': () => { this.switches.refuseIo = count; },
      malformed: () => this.sockets().forEach((s) => sendRawFrames(s, MALFORMED_FRAMES)),
      silence: () => this.sockets().forEach(silence),
      freeze: () => this.sockets().forEach(freeze),
      'big-msg': () => this.inject({ event: 'user-recv-msg', args: [{ uid: 'big', msg: '\u4e2d'.repeat(count) }] }),
    };
    const action = actions[spec.mode];
    if (!action) throw new Error(`unknown signalling fault ${spec.mode}`);
    return action();
  }

  // Like a crash and restart: connections cut without a goodbye, the port closed for a while.
  restart(downMs) {
    this.sockets().forEach(terminate);
    this.server.close();
    this.server.closeAllConnections();
    setTimeout(() => this.listen(this.port).catch(() => {}), downMs);
  }

  // Sends an event as the tests compose it: to one uid's sockets, to a room, or to everyone.
  inject({ event, args, uid, rid }) {
    const values = Array.isArray(args) ? args : [];
    let targets = this.sockets();
    if (uid !== undefined) targets = targets.filter((s) => s.data.member && s.data.member.uid === uid);
    if (rid !== undefined) targets = targets.filter((s) => s.data.rid === rid);
    targets.forEach((s) => s.emit(String(event), ...values));
    return targets.length;
  }

  onConnection(socket) {
    this.touch();
    this.connections.push({ sid: socket.id, url: socket.request.url, query: { ...socket.handshake.query } });
    socket.on('bench-flood', (n) => this.flood(socket, n));
    socket.on('bench-echo', (value) => socket.emit('bench-echo', value));
    socket.onAny((event, ...args) => {
      this.touch();
      if (event.startsWith('bench-')) return;
      this.received.push({
        seq: ++this.seq, sid: socket.id, uid: socket.data.member ? socket.data.member.uid : '',
        event, args, types: args.map((a) => (Array.isArray(a) ? 'array' : a === null ? 'null' : typeof a)),
      });
    });
    socket.on('authorize', (token) => this.authorize(socket, token));
    socket.on('broadcast', (text) => this.broadcast(socket, text));
    socket.on('send-request', (text) => this.sendRequest(socket, text));
    socket.on('send-response', (text) => this.sendResponse(socket, text));
    socket.on('disconnect', () => this.leave(socket));
  }

  flood(socket, n) {
    const count = Number.isInteger(n) && n > 0 ? n : 0;
    for (let i = 0; i < count; i += 1) socket.emit('bench-tick', { seq: i, uid: '20001', msg: 'hi' });
    socket.emit('bench-flood-done', count);
  }

  authorize(socket, token) {
    const user = this.state.users.get(typeof token === 'string' ? token : '');
    if (!user) return socket.emit('user-error', { code: 4001 });
    const query = socket.handshake.query;
    const rid = String(query.channel || '');
    const member = {
      uid: user.uid, name: user.name, portraitId: user.portraitId, account: user.account || '',
      streamId: Number.parseInt(query.streamId, 10) || user.streamId,
      shareId: -1, feature: this.clientFeature, status: Number.parseInt(query.status, 10) || 0,
    };
    if (!this.rooms.has(rid)) this.rooms.set(rid, new Map());
    const room = this.rooms.get(rid);
    room.set(member.uid, { member, socket });
    socket.data.member = member;
    socket.data.rid = rid;
    socket.join(rid);
    this.io.to(rid).emit('user-join', member);
    socket.emit('user-list', this.members(rid));
    return socket.emit('room-info', this.roomInfo(rid));
  }

  members(rid) {
    return [...(this.rooms.get(rid) || new Map()).values()].map((entry) => entry.member);
  }

  roomInfo(rid) {
    const room = this.state.rooms.get(rid);
    const hosts = room ? room.hosts : [];
    const nameOf = (uid) => {
      const entry = (this.rooms.get(rid) || new Map()).get(uid);
      return entry ? entry.member.name : uid;
    };
    return {
      rid, pwd: room ? room.pwd : '', topic: room ? room.topic : rid, hosts,
      initialStatus: room ? room.initialStatus : 0,
      hostsDetails: hosts.map((uid) => ({ uid, name: nameOf(uid) })),
      sdkConfigs: { channelProfile: 1, parameters: [], shareParameters: [] },
    };
  }

  // Another host's room update as the services take one (a field given changes the room), then
  // the room's "room-info" to its members, as a server tells them of the change; how many.
  updateRoom({ rid, pwd }) {
    const room = this.state.rooms.get(String(rid));
    if (!room) throw new Error(`no room ${rid}`);
    if (typeof pwd === 'string') room.pwd = pwd;
    return this.inject({ event: 'room-info', args: [this.roomInfo(room.rid)], rid: room.rid });
  }

  // The member's sockets in the room, or none before authorize.
  socketsOf(rid, uid) {
    const entry = (this.rooms.get(rid) || new Map()).get(uid);
    return entry ? [entry.socket] : [];
  }

  broadcast(socket, text) {
    const { member, rid } = socket.data;
    if (!member) return;
    this.io.to(rid).emit('user-recv-msg', { uid: member.uid, msg: text });
  }

  sendRequest(socket, text) {
    const { member, rid } = socket.data;
    const body = parseObject(text);
    if (!member || !body) return socket.emit('user-error', 'send-request needs JSON text after authorize');
    const requestId = `req-${this.nextRequest++}`;
    const request = { op: String(body.op), sender: member.uid, target: String(body.target), rid };
    request.timer = setTimeout(() => this.answer(requestId, false, 'TIMEOUT'), this.config.requestTimeoutMs);
    this.requests.set(requestId, request);
    socket.emit('request-result', { op: request.op, requestId, target: request.target });
    this.socketsOf(rid, request.target).forEach((s) => s.emit('user-request', {
      op: request.op, sender: member.uid, requestId,
    }));
    return undefined;
  }

  sendResponse(socket, text) {
    const body = parseObject(text);
    if (!socket.data.member || !body) return socket.emit('user-error', 'send-response needs JSON text after authorize');
    const accepted = body.accept === 1;
    return this.answer(String(body.requestId), accepted, accepted ? '' : 'REFUSED');
  }

  answer(requestId, success, reason) {
    const request = this.requests.get(requestId);
    if (!request) return;
    clearTimeout(request.timer);
    this.requests.delete(requestId);
    this.socketsOf(request.rid, request.sender).forEach((s) => s.emit('user-response', {
      success, requestId, reason, sender: request.sender, target: request.target,
    }));
  }

  onRoomCtrl({ rid, operator, op, targets, shareId }) {
    const room = this.rooms.get(rid);
    if (!room) return;
    for (const uid of targets) {
      const entry = room.get(uid);
      if (!entry) continue;
      if (STATUS_OPS[op]) entry.member.status = STATUS_OPS[op](entry.member.status);
      if (op === 'share') entry.member.shareId = shareId;
      if (op === 'unshare') entry.member.shareId = -1;
    }
    const operation = { operator, original: { targets, type: op }, users: this.members(rid) };
    this.io.to(rid).emit('user-operation', operation);
    if (op === 'ban') targets.forEach((uid) => this.socketsOf(rid, uid).forEach((s) => s.disconnect(true)));
  }

  // Only the connection that holds the member's place leaves the room: a reconnection that
  // already took it over keeps it.
  leave(socket) {
    const { member, rid } = socket.data;
    const room = this.rooms.get(rid);
    if (!member || !room) return;
    const entry = room.get(member.uid);
    if (!entry || entry.socket !== socket) return;
    room.delete(member.uid);
    this.io.to(rid).emit('user-leave', { uid: member.uid });
  }
}

function parseObject(text) {
  if (typeof text !== 'string') return null;
  try {
    const value = JSON.parse(text);
    return value && typeof value === 'object' && !Array.isArray(value) ? value : null;
  } catch (e) {
    return null;
  }
}

module.exports = { Signalling };
