'use strict';
// Scripted participants of a room, for benches and tests that need other people in a meeting:
// real socket.io clients of the signalling server in this process, each a user of its own (a
// fresh token, uid and stream id), connecting as the program's signalling client does (the
// handshake query uid, channel, streamId, status, appversion, platform, then authorize(token)),
// so that the server's own user-join, user-list and user-leave tell the room about them.
//
// Media: with a channel folder (a Unix path), each peer, once it has its room-info, keeps the
// empty file <channelFolder>/<channel folder name>/<streamId> that the stand-in engines of other
// processes keep, so an engine in the same channel sees it join; the file goes when it ends.
// Chat: an echoing peer sends every chat message of a user who is not a scripted peer straight
// back to the room as its own (peers never echo each other, so echoes cannot loop); chat(id,
// count) has a group's peers send a burst of messages of their own.
//
// A group of peers lives until end(id), endAll() or the end of the process.
const fs = require('fs');
const path = require('path');
const { io } = require(path.join(__dirname, '..', 'node_modules', 'socket.io-client'));

// The folder of a channel as the stand-in engines name it: bytes other than letters, digits, '-'
// and '_' become %XX (upper-case hex), so any channel stays one folder below the root.
function channelFolderName(channel) {
  let name = '';
  for (const byte of Buffer.from(String(channel), 'utf8')) {
    const c = String.fromCharCode(byte);
    name += /[A-Za-z0-9_-]/.test(c) ? c : `%${byte.toString(16).toUpperCase().padStart(2, '0')}`;
  }
  return name || '%';
}

class ScriptedPeers {
  constructor(signalling) {
    this.signalling = signalling;
    this.groups = new Map(); // id -> {id, room, folder, peers: [peer]}
    this.nextGroup = 1;
    this.peerUids = new Set();
    // A back-end that ends (or is shut down by its lifeline) leaves no media files behind.
    process.on('exit', () => this.endAll());
  }

  // {room, count, channelFolder?, echo?, name?, appversion?}: starts the peers and answers at
  // once with {id, peers: [{uid, name, streamId}]}; they connect and join meanwhile.
  start(body) {
    const room = String(body.room || '');
    const count = Number(body.count);
    if (!room) throw new Error('peers need a room');
    if (!Number.isInteger(count) || count < 1 || count > 64) throw new Error('count must be 1..64');
    const group = {
      id: this.nextGroup++, room, peers: [],
      folder: body.channelFolder ? path.join(String(body.channelFolder), channelFolderName(room)) : '',
    };
    for (let i = 0; i < count; i += 1) {
      const user = this.signalling.state.addUser({ name: `${body.name || 'Peer'} ${i + 1}` });
      this.peerUids.add(user.uid);
      group.peers.push(this.connect(group, user, Boolean(body.echo), String(body.appversion || '1.2.0')));
    }
    this.groups.set(group.id, group);
    return { id: group.id, peers: group.peers.map((p) => ({ uid: p.uid, name: p.name, streamId: p.streamId })) };
  }

  connect(group, user, echo, appversion) {
    const peer = {
      uid: user.uid, name: user.name, streamId: user.streamId, joined: false, echoed: 0, file: '', socket: null,
    };
    const socket = io(this.signalling.url(), {
      transports: ['websocket'], forceNew: true, reconnection: false,
      query: {
        uid: user.uid, channel: group.room, streamId: String(user.streamId), status: '0', appversion, platform: 'win',
      },
    });
    peer.socket = socket;
    socket.on('connect', () => socket.emit('authorize', user.token));
    socket.on('user-join', (member) => {
      if (member && member.uid === user.uid) peer.joined = true;
    });
    socket.on('room-info', () => {
      if (group.folder && !peer.file) peer.file = writeMark(group.folder, user.streamId);
    });
    socket.on('user-recv-msg', (message) => {
      if (!echo || !message || this.peerUids.has(message.uid)) return;
      peer.echoed += 1;
      socket.emit('broadcast', message.msg);
    });
    return peer;
  }

  // The group's peers send count chat messages to the room between them, in turn, as fast as
  // their sockets take them; how many were sent (0 for an unknown id or a group not yet joined).
  chat(id, count) {
    const group = this.groups.get(id);
    if (!group || !Number.isInteger(count) || count < 1 || count > 100000) return 0;
    const senders = group.peers.filter((p) => p.joined);
    if (!senders.length) return 0;
    for (let i = 0; i < count; i += 1) senders[i % senders.length].socket.emit('broadcast', `burst ${i + 1}`);
    return count;
  }

  list() {
    return [...this.groups.values()].map((g) => ({
      id: g.id, room: g.room,
      peers: g.peers.map((p) => ({
        uid: p.uid, streamId: p.streamId, connected: p.socket.connected, joined: p.joined, echoed: p.echoed,
        file: p.file,
      })),
    }));
  }

  // Disconnects the group's peers (the server tells the room they left) and removes their
  // files, and the channel's folder when nothing else is left in it; false for an unknown id.
  end(id) {
    const group = this.groups.get(id);
    if (!group) return false;
    this.groups.delete(id);
    for (const peer of group.peers) {
      peer.socket.disconnect();
      this.peerUids.delete(peer.uid);
      if (peer.file) fs.rmSync(peer.file, { force: true });
    }
    if (group.folder) {
      try {
        fs.rmdirSync(group.folder);
      } catch (e) {
        // Another writer (the program's own engine, another group) is still in the channel.
      }
    }
    return true;
  }

  endAll() {
    const ids = [...this.groups.keys()];
    ids.forEach((id) => this.end(id));
    return ids.length;
  }
}

// The empty file that announces streamId in the channel folder; its path.
function writeMark(folder, streamId) {
  fs.mkdirSync(folder, { recursive: true });
  const file = path.join(folder, String(streamId));
  fs.writeFileSync(file, '');
  return file;
}

module.exports = { ScriptedPeers };
