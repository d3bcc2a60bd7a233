'use strict';
// The account, meeting and feedback services with their state: users and tokens, portraits,
// rooms. Answers follow the services' conventions: HTTP 200 with {success:false, errorMsg,
// code} for a refusal (the portrait download says "error" instead of "code"), integers as JSON
// integers, "success" as a JSON boolean.
const crypto = require('crypto');
const { EventEmitter } = require('events');
const express = require('express');
const multer = require('multer');
const { reply } = require('./faults');

const CTRL_OPS = ['muteAudio', 'unmuteAudio', 'muteVideo', 'unmuteVideo', 'ban', 'share', 'unshare'];
// What only a host may do to another participant; anybody switches their own devices and shares.
const HOST_OPS = ['muteAudio', 'unmuteAudio', 'muteVideo', 'unmuteVideo', 'ban'];

class State extends EventEmitter {
  constructor() {
    super();
    this.reset();
  }

  reset() {
    this.users = new Map(); // token -> user
    this.portraits = new Map(); // portraitId -> Buffer
    this.rooms = new Map(); // rid -> room
    this.nextUid = 10001;
    this.nextPortrait = 1;
    this.nextShare = 1;
  }

  addUser(fields) {
    const uid = fields.uid || String(this.nextUid++);
    const user = {
      uid,
      name: fields.name || `Guest-${uid}`,
      portraitId: fields.portraitId || '',
      password: '',
      token: fields.token || crypto.randomBytes(12).toString('hex'),
      streamId: Number.parseInt(uid, 10) || 0,
    };
    this.users.set(user.token, user);
    return user;
  }
}

function refuse(req, res, errorMsg, code) {
  return reply(req, res, 200, { success: false, errorMsg, code });
}

// Parses the JSON body; answers a refusal and returns null when it is not an object.
function jsonBody(req, res) {
  try {
    const body = JSON.parse(req.rawBody.toString('utf8'));
    if (body && typeof body === 'object' && !Array.isArray(body)) return body;
  } catch (e) {
    // fall through to the refusal
  }
  refuse(req, res, 'request body is not a JSON object', 400);
  return null;
}

const isText = (v) => typeof v === 'string';

// Waits for the raw body that the recorder gathers.
function rawBody(req, res, next) {
  if (req.rawBody) return next();
  req.on('end', () => next());
  return undefined;
}

function accountRoutes(state) {
  const router = express.Router();
  const upload = multer({ storage: multer.memoryStorage(), limits: { fileSize: 8 << 20 } });
  const authed = (req, res, next) => {
    const user = state.users.get(req.get('access_token') || '');
    if (!user) return refuse(req, res, 'invalid access token', 401);
    req.user = user;
    return next();
  };

  router.post('/account/getToken', rawBody, (req, res) => {
    const body = jsonBody(req, res);
    if (!body) return undefined;
    if (!Number.isInteger(body.device) || !Number.isInteger(body.channel)) {
      return refuse(req, res, 'device and channel must be integers', 400);
    }
    const user = state.addUser({ name: isText(body.name) ? body.name : '' });
    return reply(req, res, 200, {
      success: true, uid: user.uid, name: user.name, portraitId: user.portraitId,
      streamId: user.streamId, token: user.token,
    });
  });

  router.post('/account/update', rawBody, authed, (req, res) => {
    const body = jsonBody(req, res);
    if (!body) return undefined;
    if (isText(body.name) && body.name !== '') req.user.name = body.name;
    if (isText(body.password) && body.password !== '') req.user.password = body.password;
    if (isText(body.portraitId)) req.user.portraitId = body.portraitId;
    return reply(req, res, 200, { success: true });
  });

  router.post('/account/portrait', authed, upload.any(), (req, res) => {
    const file = (req.files || []).find((f) => f.fieldname === 'portrait');
    if (!file || file.size === 0) return refuse(req, res, 'portrait file missing', 400);
    const portraitId = `p${state.nextPortrait++}`;
    state.portraits.set(portraitId, file.buffer);
    req.user.portraitId = portraitId;
    return reply(req, res, 200, { success: true, portraitId });
  });

  router.get('/account/portrait', authed, (req, res) => {
    const image = state.portraits.get(String(req.query.portraitId || ''));
    if (!image) return reply(req, res, 200, { success: false, error: 404, errorMsg: 'portrait not found' });
    return reply(req, res, 200, image, 'image/jpeg');
  });

  return router;
}

function roomAnswer(room) {
  return {
    success: true, rid: room.rid, topic: room.topic, hasPwd: room.pwd !== '',
    initialStatus: room.initialStatus, hosts: room.hosts, participants: [...room.participants],
  };
}

// The client versions of the configuration (GET /v1/config): {minimum, latest}, each optional.
function meetingRoutes(state, offered = {}) {
  const versions = { minimum: '1.0', latest: '1.2', ...offered };
  const router = express.Router();
  const authed = (req, res, next) => {
    const user = state.users.get(req.get('access_token') || '');
    if (!user) return refuse(req, res, 'invalid access token', 401);
    req.user = user;
    return next();
  };
  const roomOf = (req, res, rid) => {
    const room = state.rooms.get(isText(rid) ? rid : '');
    if (!room) refuse(req, res, 'room not found', 2004);
    return room;
  };
  const newRoom = (rid, fields, host) => ({
    rid, topic: isText(fields.topic) && fields.topic ? fields.topic : rid,
    pwd: isText(fields.pwd) ? fields.pwd : '',
    initialStatus: Number.isInteger(fields.initialStatus) ? fields.initialStatus : 0,
    hosts: [host], participants: new Set(),
  });

  router.post('/room/join', rawBody, authed, (req, res) => {
    const body = jsonBody(req, res);
    if (!body) return undefined;
    if (!isText(body.rid) || body.rid === '') return refuse(req, res, 'room id missing', 2001);
    let room = state.rooms.get(body.rid);
    if (!room) {
      room = newRoom(body.rid, { pwd: body.pwd }, req.user.uid);
      state.rooms.set(room.rid, room);
    } else if (room.pwd !== '' && room.pwd !== body.pwd) {
      return refuse(req, res, 'wrong password', 2006);
    }
    room.participants.add(req.user.uid);
    return reply(req, res, 200, {
      success: true, rid: room.rid, topic: room.topic, initialStatus: room.initialStatus,
      signalAccount: req.user.streamId, mediaToken: `media-${room.rid.length}-${req.user.uid}`,
      hosts: room.hosts,
    });
  });

  router.post('/room/create', rawBody, authed, (req, res) => {
    const body = jsonBody(req, res);
    if (!body) return undefined;
    if (!isText(body.rid) || body.rid === '') return refuse(req, res, 'room id missing', 2001);
    if (state.rooms.has(body.rid)) return refuse(req, res, 'room already exists', 2003);
    const room = newRoom(body.rid, body, req.user.uid);
    state.rooms.set(room.rid, room);
    return reply(req, res, 200, { success: true, rid: room.rid, topic: room.topic, initialStatus: room.initialStatus });
  });

  router.post('/room/update', rawBody, authed, (req, res) => {
    const body = jsonBody(req, res);
    if (!body) return undefined;
    const room = roomOf(req, res, body.rid);
    if (!room) return undefined;
    if (isText(body.topic)) room.topic = body.topic;
    if (isText(body.pwd)) room.pwd = body.pwd;
    if (Number.isInteger(body.initialStatus)) room.initialStatus = body.initialStatus;
    if (Array.isArray(body.hosts)) room.hosts = body.hosts.filter(isText);
    return reply(req, res, 200, { success: true });
  });

  router.get('/room/info', authed, (req, res) => {
    const room = roomOf(req, res, req.query.rid);
    if (!room) return undefined;
    return reply(req, res, 200, roomAnswer(room));
  });

  router.post('/room/ctrl', rawBody, authed, (req, res) => {
    const body = jsonBody(req, res);
    if (!body) return undefined;
    const room = roomOf(req, res, body.rid);
    if (!room) return undefined;
    if (!CTRL_OPS.includes(body.op)) return refuse(req, res, 'unknown operation', 2010);
    const targets = Array.isArray(body.targets) ? body.targets.filter(isText) : [];
    const own = req.user.uid;
    if (HOST_OPS.includes(body.op) && !room.hosts.includes(own) && targets.some((t) => t !== own)) {
      return refuse(req, res, 'You are not host of this room', 2008);
    }
    if (body.op === 'ban') targets.forEach((t) => room.participants.delete(t));
    // The signalling server tells the room (lib/signalling.js).
    const ctrl = { rid: room.rid, operator: req.user.uid, op: body.op, targets };
    if (body.op === 'share') {
      const shareId = state.nextShare++;
      state.emit('room-ctrl', { ...ctrl, shareId });
      return reply(req, res, 200, { success: true, shareId, mediaToken: `share-${shareId}` });
    }
    state.emit('room-ctrl', ctrl);
    return reply(req, res, 200, { success: true, mediaToken: '' });
  });

  router.get('/v1/config', authed, (req, res) => reply(req, res, 200, {
    success: true,
    platform: {
      windows: {
        minimum: { v: versions.minimum, url: `http://127.0.0.1/downloads/kestrum-${versions.minimum}.exe` },
        latest: { v: versions.latest, url: `http://127.0.0.1/downloads/kestrum-${versions.latest}.exe` },
      },
    },
    maxRequestTimeout: 30,
    unmuteRequestTimeout: 20,
  }));

  return router;
}

function feedbackRoutes() {
  const router = express.Router();
  const upload = multer({ storage: multer.memoryStorage(), limits: { fileSize: 32 << 20 } });
  router.post('/feedback/uploadFeedback', upload.any(), (req, res) => {
    const log = (req.files || []).find((f) => f.fieldname === 'log');
    if (!log) return reply(req, res, 400, { errorMsg: 'log file missing', code: 400 });
    req.recorded.upload = { logSize: log.size, fields: req.body };
    return reply(req, res, 200, { errorMsg: 'received', code: 0 });
  });
  return router;
}

module.exports = { State, accountRoutes, meetingRoutes, feedbackRoutes };
