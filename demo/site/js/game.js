// 星海纪元 · 星际防线: a small canvas shooter played in the game window.
// Mouse or keyboard steers the ship, asteroids and drones come in waves that grow harder.
// The page talks to the desktop client through window.external when the client provides it,
// and works the same in an ordinary browser where it does not.
(function () {
  'use strict';

  // ================================================================ client bridge
  function callClient(name) {
    var args = Array.prototype.slice.call(arguments, 1);
    try {
      if (window.external && typeof window.external[name] === 'function') {
        return window.external[name].apply(window.external, args);
      }
    } catch (e) { /* the client may refuse; the game goes on */ }
    return undefined;
  }

  var SERVER_NAMES = { 1: '星海一区', 2: '星海二区', 3: '银河三区', 4: '银河四区', 5: '星云五区' };
  var DIGITS = ['零', '一', '二', '三', '四', '五', '六', '七', '八', '九', '十'];

  function serverName(value) {
    var n = parseInt(value, 10);
    if (!(n > 0)) n = 1;
    if (SERVER_NAMES[n]) return SERVER_NAMES[n];
    return '星域' + (n <= 10 ? DIGITS[n] : String(n)) + '区';
  }

  function queryParam(name) {
    try { return new URLSearchParams(window.location.search).get(name); } catch (e) { return null; }
  }

  var SERVER = serverName(queryParam('server'));

  // ================================================================ small helpers
  function rand(a, b) { return a + Math.random() * (b - a); }
  function clamp(v, a, b) { return v < a ? a : (v > b ? b : v); }
  function pick(list) { return list[(Math.random() * list.length) | 0]; }
  function $(id) { return document.getElementById(id); }

  // Removes, in place and without keeping order, every element for which dead(e) is true.
  function sweep(list, dead) {
    for (var i = list.length - 1; i >= 0; i--) {
      if (dead(list[i])) {
        list[i] = list[list.length - 1];
        list.pop();
      }
    }
  }

  function storageGet(key) {
    try { return window.localStorage.getItem(key); } catch (e) { return null; }
  }
  function storageSet(key, value) {
    try { window.localStorage.setItem(key, value); } catch (e) { /* private mode */ }
  }

  // ================================================================ canvas and sprites
  var canvas = $('stage');
  var ctx = canvas.getContext('2d');
  var W = 0, H = 0, DPR = 1;

  function makeCanvas(w, h) {
    var c = document.createElement('canvas');
    c.width = Math.max(1, Math.ceil(w));
    c.height = Math.max(1, Math.ceil(h));
    return c;
  }

  // SVG pictures are turned into bitmaps once, so that a frame only copies pixels.
  var sprites = { ship: null, drone: null, planet: null };
  var pictures = {};

  function loadPicture(name, src) {
    var img = new Image();
    img.onload = function () {
      pictures[name] = img;
      bakeSprites();
    };
    img.src = src;
  }

  function bake(img, w, h) {
    var c = makeCanvas(w * DPR, h * DPR);
    c.getContext('2d').drawImage(img, 0, 0, c.width, c.height);
    return c;
  }

  function bakeSprites() {
    if (pictures.ship) sprites.ship = bake(pictures.ship, SHIP_W, SHIP_H);
    if (pictures.drone) sprites.drone = bake(pictures.drone, 64, 64);
    if (pictures.planet) {
      var size = Math.round(Math.min(560, Math.max(260, Math.min(W, H) * 0.62)));
      sprites.planet = bake(pictures.planet, size, size);
      sprites.planetSize = size;
    }
  }

  var SHIP_W = 46, SHIP_H = 58;

  // Asteroids: a few shapes per size drawn once and rotated at draw time.
  var ROCK_SIZES = [
    { r: 40, hp: 4, score: 20 },
    { r: 25, hp: 2, score: 40 },
    { r: 14, hp: 1, score: 60 }
  ];
  var ROCK_COLOURS = [
    ['#8d90ab', '#4a4d68', '#1f2133'],
    ['#9a8a80', '#56473f', '#231b18'],
    ['#7fa0b4', '#3b5668', '#15232e']
  ];
  var rockSprites = [];

  function drawRock(r, colours) {
    var pad = 3;
    var size = (r + pad) * 2;
    var c = makeCanvas(size * DPR, size * DPR);
    var g = c.getContext('2d');
    g.scale(DPR, DPR);
    g.translate(size / 2, size / 2);
    var points = 9 + ((Math.random() * 4) | 0);
    g.beginPath();
    for (var i = 0; i < points; i++) {
      var a = (i / points) * Math.PI * 2;
      var d = r * rand(0.78, 1.0);
      if (i === 0) g.moveTo(Math.cos(a) * d, Math.sin(a) * d);
      else g.lineTo(Math.cos(a) * d, Math.sin(a) * d);
    }
    g.closePath();
    var fill = g.createRadialGradient(-r * 0.35, -r * 0.4, r * 0.1, 0, 0, r * 1.1);
    fill.addColorStop(0, colours[0]);
    fill.addColorStop(0.55, colours[1]);
    fill.addColorStop(1, colours[2]);
    g.fillStyle = fill;
    g.fill();
    g.save();
    g.clip();
    var craters = 2 + ((r / 10) | 0);
    for (var k = 0; k < craters; k++) {
      var cx = rand(-r * 0.6, r * 0.6), cy = rand(-r * 0.6, r * 0.6), cr = rand(r * 0.1, r * 0.26);
      g.fillStyle = 'rgba(0,0,0,0.28)';
      g.beginPath(); g.arc(cx, cy, cr, 0, Math.PI * 2); g.fill();
      g.fillStyle = 'rgba(255,255,255,0.08)';
      g.beginPath(); g.arc(cx - cr * 0.25, cy - cr * 0.25, cr * 0.7, 0, Math.PI * 2); g.fill();
    }
    g.restore();
    g.lineWidth = 1.2;
    g.strokeStyle = 'rgba(180, 220, 255, 0.25)';
    g.stroke();
    return { canvas: c, size: size };
  }

  function bakeRocks() {
    rockSprites = ROCK_SIZES.map(function (tuning) {
      var variants = [];
      for (var v = 0; v < 4; v++) variants.push(drawRock(tuning.r, ROCK_COLOURS[v % ROCK_COLOURS.length]));
      return variants;
    });
  }

  // The sky: a gradient and nebula haze drawn once per window size.
  var sky = null;

  function bakeSky() {
    sky = makeCanvas(W * DPR, H * DPR);
    var g = sky.getContext('2d');
    g.scale(DPR, DPR);
    var base = g.createLinearGradient(0, 0, W * 0.3, H);
    base.addColorStop(0, '#03050f');
    base.addColorStop(0.55, '#070c24');
    base.addColorStop(1, '#0d1638');
    g.fillStyle = base;
    g.fillRect(0, 0, W, H);
    var blobs = [
      [0.22, 0.28, 0.55, 'rgba(106, 47, 168, 0.30)'],
      [0.35, 0.12, 0.30, 'rgba(177, 61, 143, 0.18)'],
      [0.80, 0.70, 0.60, 'rgba(29, 126, 168, 0.24)'],
      [0.60, 0.95, 0.40, 'rgba(26, 33, 96, 0.45)']
    ];
    blobs.forEach(function (b) {
      var r = Math.max(W, H) * b[2];
      var grad = g.createRadialGradient(W * b[0], H * b[1], 0, W * b[0], H * b[1], r);
      grad.addColorStop(0, b[3]);
      grad.addColorStop(1, 'rgba(0,0,0,0)');
      g.fillStyle = grad;
      g.fillRect(0, 0, W, H);
    });
  }

  // Three layers of stars scroll at different speeds.
  var STAR_LAYERS = [
    { speed: 14, size: 1, alpha: 0.45, density: 1 / 5200 },
    { speed: 38, size: 1.5, alpha: 0.7, density: 1 / 9000 },
    { speed: 95, size: 2, alpha: 0.95, density: 1 / 26000 }
  ];
  var stars = [];

  function makeStars() {
    stars = STAR_LAYERS.map(function (layer) {
      var n = Math.round(W * H * layer.density);
      var list = new Float32Array(n * 2);
      for (var i = 0; i < n; i++) {
        list[i * 2] = Math.random() * W;
        list[i * 2 + 1] = Math.random() * H;
      }
      return list;
    });
  }

  var planet = { x: 0, y: 0 };

  function resize() {
    var oldW = W, oldH = H;
    DPR = Math.min(window.devicePixelRatio || 1, 2);
    W = Math.max(320, window.innerWidth);
    H = Math.max(240, window.innerHeight);
    canvas.width = Math.round(W * DPR);
    canvas.height = Math.round(H * DPR);
    bakeSky();
    makeStars();
    bakeSprites();
    bakeRocks();
    if (!oldW) {
      planet.x = W * 0.72;
      planet.y = H * 0.18;
    } else {
      planet.x *= W / oldW;
      planet.y *= H / oldH;
      if (player) {
        player.x = clamp(player.x * W / oldW, 20, W - 20);
        player.y = clamp(player.y * H / oldH, 40, H - 30);
      }
    }
  }

  // ================================================================ game state
  var STATE_TITLE = 0, STATE_PLAYING = 1, STATE_PAUSED = 2, STATE_OVER = 3;
  var state = STATE_TITLE;

  var player = null;
  var bullets = [];      // the player's shots
  var shots = [];        // the enemies' shots
  var rocks = [];
  var drones = [];
  var powerups = [];
  var particles = [];
  var labels = [];       // floating score numbers

  var MAX_PARTICLES = 700;

  var score = 0, lives = 3, wave = 0, best = parseInt(storageGet('xhjy.best') || '0', 10) || 0;
  var waveLeft = 0, spawnTimer = 0, breakTimer = 0, eliteLeft = 0;
  var messageClock = 0, nextMessage = 20, messageIndex = 0;
  var shake = 0, overTimer = 0, titleRocks = 0;

  var input = {
    keys: {},
    mouseX: 0, mouseY: 0, mouseActive: false, mouseDown: false
  };

  function newPlayer() {
    return {
      x: W / 2, y: H - 90, vx: 0, vy: 0, r: 15,
      cooldown: 0, invulnerable: 2, spread: 0, shield: 0,
      alive: true, flame: 0
    };
  }

  function waveTuning(n) {
    return {
      count: 8 + n * 4,
      interval: Math.max(0.32, 1.25 - n * 0.09),
      droneShare: Math.min(0.55, 0.12 + n * 0.06),
      rockSpeed: 70 + n * 9,
      droneSpeed: 60 + n * 7,
      droneFire: Math.max(0.9, 2.8 - n * 0.18),
      shotSpeed: 200 + n * 12,
      elites: n >= 3 ? 1 + ((n - 3) / 3 | 0) : 0
    };
  }
  var tuning = waveTuning(1);

  function startGame() {
    player = newPlayer();
    bullets.length = 0; shots.length = 0; rocks.length = 0; drones.length = 0;
    powerups.length = 0; particles.length = 0; labels.length = 0;
    score = 0; lives = 3; wave = 0;
    shake = 0; overTimer = 0;
    nextWave();
    setState(STATE_PLAYING);
  }

  function nextWave() {
    wave++;
    tuning = waveTuning(wave);
    waveLeft = tuning.count;
    eliteLeft = tuning.elites;
    spawnTimer = 1.2;
    breakTimer = 0;
    showBanner('第 ' + wave + ' 波', wave === 1 ? '守住星港防线！' : (tuning.elites ? '侦测到精英无人机' : '敌军来袭'));
  }

  // ================================================================ spawning
  function spawnRock(size, x, y, vx, vy) {
    var s = ROCK_SIZES[size];
    rocks.push({
      x: x, y: y, vx: vx, vy: vy, r: s.r, size: size, hp: s.hp,
      rot: Math.random() * Math.PI * 2, spin: rand(-1.2, 1.2),
      sprite: (Math.random() * 4) | 0, flash: 0
    });
  }

  function spawnDrone(elite) {
    var r = elite ? 30 : 19;
    drones.push({
      x: rand(r + 20, W - r - 20), y: -r - 10, baseX: 0, t: Math.random() * 10,
      amp: elite ? rand(W * 0.18, W * 0.3) : rand(30, 120), freq: rand(0.6, 1.4),
      vy: elite ? 55 : tuning.droneSpeed * rand(0.85, 1.15),
      r: r, hp: elite ? 10 + wave : 2, elite: elite, hold: elite ? rand(8, 12) : 0,
      fire: rand(0.8, tuning.droneFire), flash: 0
    });
    var d = drones[drones.length - 1];
    d.baseX = clamp(d.x, d.amp * 0.3 + r, W - d.amp * 0.3 - r);
  }

  function spawnEnemy() {
    if (eliteLeft > 0 && waveLeft <= tuning.count * 0.5) {
      eliteLeft--;
      spawnDrone(true);
      return;
    }
    if (Math.random() < tuning.droneShare) {
      spawnDrone(false);
    } else {
      var size = Math.random() < 0.55 ? 0 : (Math.random() < 0.6 ? 1 : 2);
      var r = ROCK_SIZES[size].r;
      var x = rand(r, W - r);
      var speed = tuning.rockSpeed * rand(0.7, 1.25);
      spawnRock(size, x, -r - 5, rand(-40, 40), speed);
    }
  }

  function dropPowerup(x, y, chance) {
    if (Math.random() > chance) return;
    var roll = Math.random();
    var kind = roll < 0.45 ? 'spread' : (roll < 0.85 || lives >= 5 ? 'shield' : 'life');
    powerups.push({ x: x, y: y, vy: 70, kind: kind, t: 0 });
  }

  // ================================================================ effects
  function burst(x, y, count, colours, speed, life, size) {
    for (var i = 0; i < count && particles.length < MAX_PARTICLES; i++) {
      var a = Math.random() * Math.PI * 2;
      var v = speed * rand(0.2, 1);
      var l = life * rand(0.5, 1);
      particles.push({
        x: x, y: y, vx: Math.cos(a) * v, vy: Math.sin(a) * v,
        life: l, max: l, size: size * rand(0.6, 1.3), colour: pick(colours)
      });
    }
  }

  var FIRE = ['#fff0c0', '#f3c15e', '#ff8a4d', '#ff5a3d'];
  var ICE = ['#e6fbff', '#7fe3ff', '#5cd2ff'];
  var DUST = ['#a3b0d6', '#8d90ab', '#6f7ca6'];
  var PINK = ['#ffd0d0', '#ff6a6f', '#b13d8f'];

  function addLabel(x, y, text, colour) {
    labels.push({ x: x, y: y, text: text, colour: colour || '#fff0c0', life: 1 });
  }

  // ================================================================ update
  function update(dt) {
    updateStars(dt);

    // Fleet messages arrive while the page is open, whether a round is on or not; a pause holds them.
    if (state !== STATE_PAUSED) {
      messageClock += dt;
      if (messageClock >= nextMessage) {
        deliverMessage();
        nextMessage = messageClock + rand(60, 90);
      }
    }
    if (state === STATE_TITLE) {
      // A few rocks drift past behind the title card.
      titleRocks -= dt;
      if (titleRocks <= 0 && rocks.length < 8) {
        titleRocks = rand(1.2, 2.4);
        var size = (Math.random() * 3) | 0, r = ROCK_SIZES[size].r;
        spawnRock(size, rand(r, W - r), -r - 5, rand(-30, 30), rand(40, 90));
      }
      updateRocks(dt);
    }
    if (state === STATE_OVER) {
      // Behind the result card the battle drifts on, with nobody left to hit.
      updateBullets(dt);
      updateRocks(dt);
      updateDrones(dt);
      updatePowerups(dt);
      updateEffects(dt);
    }
    if (state !== STATE_PLAYING) return;

    updatePlayer(dt);
    updateWave(dt);
    updateBullets(dt);
    updateRocks(dt);
    updateDrones(dt);
    updatePowerups(dt);
    collide();
    updateEffects(dt);

    if (shake > 0) shake = Math.max(0, shake - dt * 30);

    if (!player.alive) {
      overTimer -= dt;
      if (overTimer <= 0) gameOver();
    }
    updateHud();
  }

  function updateStars(dt) {
    for (var l = 0; l < stars.length; l++) {
      var list = stars[l], dy = STAR_LAYERS[l].speed * dt * (state === STATE_PAUSED ? 0 : 1);
      for (var i = 1; i < list.length; i += 2) {
        list[i] += dy;
        if (list[i] > H) { list[i] -= H; list[i - 1] = Math.random() * W; }
      }
    }
    if (state !== STATE_PAUSED) {
      planet.y += 5 * dt;
      var size = sprites.planetSize || 400;
      if (planet.y - size / 2 > H) {
        planet.y = -size / 2 - 40;
        planet.x = rand(W * 0.15, W * 0.85);
      }
    }
  }

  function updatePlayer(dt) {
    var p = player;
    if (!p.alive) return;
    var k = input.keys;
    var kx = (k.ArrowRight || k.KeyD ? 1 : 0) - (k.ArrowLeft || k.KeyA ? 1 : 0);
    var ky = (k.ArrowDown || k.KeyS ? 1 : 0) - (k.ArrowUp || k.KeyW ? 1 : 0);
    if (kx || ky) input.mouseActive = false;

    if (input.mouseActive) {
      // Follow the pointer with a quick easing, at a bounded speed.
      var tx = input.mouseX, ty = input.mouseY - 10;
      var vx = (tx - p.x) * 12, vy = (ty - p.y) * 12;
      var v = Math.sqrt(vx * vx + vy * vy), max = 1000;
      if (v > max) { vx *= max / v; vy *= max / v; }
      p.vx = vx; p.vy = vy;
    } else {
      var len = kx && ky ? Math.SQRT1_2 : 1;
      var speed = 430;
      p.vx += (kx * len * speed - p.vx) * Math.min(1, dt * 12);
      p.vy += (ky * len * speed - p.vy) * Math.min(1, dt * 12);
    }
    p.x = clamp(p.x + p.vx * dt, 20, W - 20);
    p.y = clamp(p.y + p.vy * dt, 40, H - 30);

    p.invulnerable = Math.max(0, p.invulnerable - dt);
    p.spread = Math.max(0, p.spread - dt);
    p.shield = Math.max(0, p.shield - dt);
    p.cooldown -= dt;
    p.flame += dt;

    if ((k.Space || input.mouseDown) && p.cooldown <= 0) {
      fire();
      p.cooldown = p.spread > 0 ? 0.15 : 0.13;
    }

    // Engine trail.
    if (particles.length < MAX_PARTICLES && Math.random() < 0.8) {
      particles.push({
        x: p.x + rand(-3, 3), y: p.y + SHIP_H * 0.42, vx: rand(-20, 20), vy: rand(120, 200),
        life: 0.25, max: 0.25, size: rand(1.5, 3), colour: pick(ICE)
      });
    }
  }

  function fire() {
    var p = player;
    bullets.push({ x: p.x, y: p.y - SHIP_H * 0.45, vx: 0, vy: -760 });
    if (p.spread > 0) {
      bullets.push({ x: p.x - 12, y: p.y - 8, vx: -150, vy: -720 });
      bullets.push({ x: p.x + 12, y: p.y - 8, vx: 150, vy: -720 });
    }
  }

  function updateWave(dt) {
    if (!player.alive) return;
    if (waveLeft > 0) {
      spawnTimer -= dt;
      if (spawnTimer <= 0) {
        spawnEnemy();
        waveLeft--;
        spawnTimer = tuning.interval * rand(0.6, 1.3);
      }
    } else if (rocks.length === 0 && drones.length === 0) {
      if (breakTimer === 0) {
        var bonus = wave * 500;
        score += bonus;
        showBanner('第 ' + wave + ' 波 完成', '波次奖励 +' + bonus);
        breakTimer = 3;
      } else {
        breakTimer -= dt;
        if (breakTimer <= 0) nextWave();
      }
    }
  }

  function updateBullets(dt) {
    var i, b;
    for (i = 0; i < bullets.length; i++) {
      b = bullets[i];
      b.x += b.vx * dt; b.y += b.vy * dt;
    }
    sweep(bullets, function (b) { return b.y < -20 || b.x < -20 || b.x > W + 20 || b.dead; });
    for (i = 0; i < shots.length; i++) {
      b = shots[i];
      b.x += b.vx * dt; b.y += b.vy * dt;
    }
    sweep(shots, function (b) { return b.y > H + 20 || b.y < -40 || b.x < -20 || b.x > W + 20 || b.dead; });
  }

  function updateRocks(dt) {
    for (var i = 0; i < rocks.length; i++) {
      var r = rocks[i];
      r.x += r.vx * dt; r.y += r.vy * dt;
      r.rot += r.spin * dt;
      r.flash = Math.max(0, r.flash - dt);
      if (r.x < r.r && r.vx < 0) r.vx = -r.vx;
      if (r.x > W - r.r && r.vx > 0) r.vx = -r.vx;
    }
    sweep(rocks, function (r) { return r.y - r.r > H + 10 || r.dead; });
  }

  function updateDrones(dt) {
    var p = player;
    for (var i = 0; i < drones.length; i++) {
      var d = drones[i];
      d.t += dt;
      d.flash = Math.max(0, d.flash - dt);
      if (d.elite) {
        // Elites stop near the top of the screen and strafe for a while before they leave.
        var stopAt = H * 0.2;
        if (d.hold > 0 && d.y >= stopAt) { d.hold -= dt; d.y = stopAt; }
        else d.y += d.vy * dt;
      } else {
        d.y += d.vy * dt;
      }
      d.x = d.baseX + Math.sin(d.t * d.freq) * d.amp * (d.elite ? 1 : 0.5);
      d.fire -= dt;
      if (d.fire <= 0 && d.y > 0 && d.y < H * 0.75 && p.alive) {
        var dx = p.x - d.x, dy = p.y - d.y, len = Math.sqrt(dx * dx + dy * dy) || 1;
        var speed = tuning.shotSpeed;
        if (d.elite) {
          for (var s = -1; s <= 1; s++) {
            var a = Math.atan2(dy, dx) + s * 0.28;
            shots.push({ x: d.x, y: d.y + d.r * 0.6, vx: Math.cos(a) * speed, vy: Math.sin(a) * speed, r: 5 });
          }
          d.fire = rand(0.9, 1.4);
        } else {
          shots.push({ x: d.x, y: d.y + d.r * 0.6, vx: dx / len * speed, vy: dy / len * speed, r: 4 });
          d.fire = tuning.droneFire * rand(0.8, 1.3);
        }
      }
    }
    sweep(drones, function (d) { return d.y - d.r > H + 10 || d.dead; });
  }

  function updatePowerups(dt) {
    for (var i = 0; i < powerups.length; i++) {
      var u = powerups[i];
      u.y += u.vy * dt;
      u.t += dt;
    }
    sweep(powerups, function (u) { return u.y > H + 20 || u.dead; });
  }

  function hit(a, b, extra) {
    var dx = a.x - b.x, dy = a.y - b.y, r = a.r + b.r + (extra || 0);
    return dx * dx + dy * dy < r * r;
  }

  function collide() {
    var i, j, b, r, d;
    // The player's shots against rocks and drones.
    for (i = 0; i < bullets.length; i++) {
      b = bullets[i];
      b.r = 3;
      for (j = 0; j < rocks.length && !b.dead; j++) {
        r = rocks[j];
        if (!r.dead && hit(b, r, -2)) { b.dead = true; damageRock(r); }
      }
      for (j = 0; j < drones.length && !b.dead; j++) {
        d = drones[j];
        if (!d.dead && hit(b, d, -2)) { b.dead = true; damageDrone(d); }
      }
    }

    var p = player;
    if (!p.alive) return;

    for (i = 0; i < powerups.length; i++) {
      var u = powerups[i];
      if (!u.dead && hit(p, { x: u.x, y: u.y, r: 13 })) {
        u.dead = true;
        collect(u.kind);
      }
    }

    if (p.invulnerable > 0) return;
    for (i = 0; i < rocks.length; i++) {
      r = rocks[i];
      if (!r.dead && hit(p, r, -4)) { damageRock(r, true); hurtPlayer(); return; }
    }
    for (i = 0; i < drones.length; i++) {
      d = drones[i];
      if (!d.dead && hit(p, d, -4)) { damageDrone(d, true); hurtPlayer(); return; }
    }
    for (i = 0; i < shots.length; i++) {
      b = shots[i];
      if (!b.dead && hit(p, b, -5)) { b.dead = true; hurtPlayer(); return; }
    }
  }

  function damageRock(r, crushed) {
    r.hp = crushed ? 0 : r.hp - 1;
    r.flash = 0.08;
    if (r.hp > 0) {
      burst(r.x, r.y + r.r * 0.5, 3, DUST, 90, 0.3, 2);
      return;
    }
    r.dead = true;
    var s = ROCK_SIZES[r.size];
    score += s.score;
    burst(r.x, r.y, 10 + r.r / 2, DUST, 160, 0.7, 2.6);
    burst(r.x, r.y, 6, FIRE, 120, 0.4, 2);
    if (r.size < 2) {
      for (var k = 0; k < 2; k++) {
        spawnRock(r.size + 1, r.x + (k ? 8 : -8), r.y, r.vx + (k ? 1 : -1) * rand(50, 110), r.vy * rand(0.9, 1.2));
      }
    } else {
      dropPowerup(r.x, r.y, 0.04);
    }
  }

  function damageDrone(d, crushed) {
    d.hp = crushed ? 0 : d.hp - 1;
    d.flash = 0.08;
    if (d.hp > 0) {
      burst(d.x, d.y, 3, PINK, 90, 0.25, 2);
      return;
    }
    d.dead = true;
    var points = d.elite ? 600 : 150;
    score += points;
    addLabel(d.x, d.y, '+' + points, d.elite ? '#ffd36e' : '#ffb0b3');
    burst(d.x, d.y, d.elite ? 60 : 28, FIRE, d.elite ? 260 : 200, 0.8, 3);
    burst(d.x, d.y, d.elite ? 24 : 10, PINK, 140, 0.6, 2.5);
    if (d.elite) shake = Math.max(shake, 8);
    dropPowerup(d.x, d.y, d.elite ? 1 : 0.14);
  }

  function collect(kind) {
    var p = player;
    if (kind === 'spread') { p.spread = 12; addLabel(p.x, p.y - 30, '散射炮', '#f3c15e'); }
    else if (kind === 'shield') { p.shield = 10; addLabel(p.x, p.y - 30, '能量护盾', '#7fe3ff'); }
    else { lives = Math.min(5, lives + 1); addLabel(p.x, p.y - 30, '生命 +1', '#ff8a8e'); }
    burst(p.x, p.y, 16, kind === 'spread' ? FIRE : ICE, 150, 0.5, 2);
  }

  function hurtPlayer() {
    var p = player;
    if (p.shield > 0) {
      p.shield = 0;
      p.invulnerable = 1;
      burst(p.x, p.y, 24, ICE, 220, 0.6, 2.5);
      shake = Math.max(shake, 4);
      return;
    }
    lives--;
    shake = 12;
    burst(p.x, p.y, 50, FIRE, 260, 0.9, 3);
    burst(p.x, p.y, 20, ICE, 180, 0.7, 2);
    p.spread = 0;
    if (lives <= 0) {
      lives = 0;
      p.alive = false;
      overTimer = 1.6;
    } else {
      p.invulnerable = 2.2;
    }
  }

  function updateEffects(dt) {
    var i;
    for (i = 0; i < particles.length; i++) {
      var q = particles[i];
      q.x += q.vx * dt; q.y += q.vy * dt;
      q.vx *= 0.98; q.vy *= 0.98;
      q.life -= dt;
    }
    sweep(particles, function (q) { return q.life <= 0; });
    for (i = 0; i < labels.length; i++) {
      labels[i].y -= 40 * dt;
      labels[i].life -= dt;
    }
    sweep(labels, function (l) { return l.life <= 0; });
  }

  // ================================================================ drawing
  function draw() {
    ctx.setTransform(DPR, 0, 0, DPR, 0, 0);
    ctx.globalCompositeOperation = 'source-over';
    ctx.globalAlpha = 1;
    if (sky) ctx.drawImage(sky, 0, 0, W, H);

    if (sprites.planet) {
      var ps = sprites.planetSize;
      ctx.globalAlpha = 0.85;
      ctx.drawImage(sprites.planet, planet.x - ps / 2, planet.y - ps / 2, ps, ps);
      ctx.globalAlpha = 1;
    }

    drawStars();

    if (shake > 0) ctx.translate(rand(-shake, shake) * 0.5, rand(-shake, shake) * 0.5);

    drawRocks();
    if (state !== STATE_TITLE) {
      drawPowerups();
      drawDrones();
      drawShots();
      drawPlayer();
      drawParticles();
      drawLabels();
    }
  }

  function drawStars() {
    for (var l = 0; l < stars.length; l++) {
      var list = stars[l], layer = STAR_LAYERS[l], s = layer.size;
      ctx.fillStyle = 'rgba(230, 240, 255, ' + layer.alpha + ')';
      for (var i = 0; i < list.length; i += 2) ctx.fillRect(list[i], list[i + 1], s, s);
    }
  }

  function drawRocks() {
    for (var i = 0; i < rocks.length; i++) {
      var r = rocks[i];
      var art = rockSprites[r.size] && rockSprites[r.size][r.sprite];
      if (!art) continue;
      ctx.save();
      ctx.translate(r.x, r.y);
      ctx.rotate(r.rot);
      ctx.drawImage(art.canvas, -art.size / 2, -art.size / 2, art.size, art.size);
      if (r.flash > 0) {
        ctx.globalCompositeOperation = 'lighter';
        ctx.globalAlpha = 0.5;
        ctx.drawImage(art.canvas, -art.size / 2, -art.size / 2, art.size, art.size);
      }
      ctx.restore();
    }
  }

  function drawDrones() {
    for (var i = 0; i < drones.length; i++) {
      var d = drones[i];
      var size = d.r * 2.4;
      ctx.save();
      ctx.translate(d.x, d.y);
      ctx.rotate(Math.sin(d.t * d.freq) * 0.18);
      // A red glow under the hull.
      ctx.globalCompositeOperation = 'lighter';
      ctx.globalAlpha = 0.35 + 0.15 * Math.sin(d.t * 6);
      ctx.fillStyle = d.elite ? '#ff9a4d' : '#e5484d';
      ctx.beginPath();
      ctx.arc(0, d.r * 0.2, d.r * 0.9, 0, Math.PI * 2);
      ctx.fill();
      ctx.globalCompositeOperation = 'source-over';
      ctx.globalAlpha = 1;
      if (sprites.drone) {
        ctx.drawImage(sprites.drone, -size / 2, -size / 2, size, size);
      } else {
        ctx.fillStyle = '#6b2a5c';
        ctx.beginPath();
        ctx.moveTo(0, -d.r); ctx.lineTo(d.r, 0); ctx.lineTo(0, d.r); ctx.lineTo(-d.r, 0);
        ctx.closePath();
        ctx.fill();
      }
      if (d.flash > 0) {
        ctx.globalCompositeOperation = 'lighter';
        ctx.globalAlpha = 0.6;
        if (sprites.drone) ctx.drawImage(sprites.drone, -size / 2, -size / 2, size, size);
      }
      ctx.restore();
      if (d.elite) {
        var full = 10 + wave, w = d.r * 2;
        ctx.fillStyle = 'rgba(0,0,0,0.5)';
        ctx.fillRect(d.x - w / 2, d.y - d.r - 12, w, 4);
        ctx.fillStyle = '#ff6a6f';
        ctx.fillRect(d.x - w / 2, d.y - d.r - 12, w * clamp(d.hp / full, 0, 1), 4);
      }
    }
  }

  function drawShots() {
    var i, b;
    ctx.globalCompositeOperation = 'lighter';
    // The player's bolts: a cyan streak with a white core.
    for (i = 0; i < bullets.length; i++) {
      b = bullets[i];
      ctx.fillStyle = 'rgba(92, 210, 255, 0.45)';
      ctx.fillRect(b.x - 3, b.y - 9, 6, 20);
      ctx.fillStyle = '#e6fbff';
      ctx.fillRect(b.x - 1, b.y - 7, 2, 15);
    }
    // The enemies' shots: pink orbs.
    for (i = 0; i < shots.length; i++) {
      b = shots[i];
      ctx.fillStyle = 'rgba(229, 72, 77, 0.45)';
      ctx.beginPath(); ctx.arc(b.x, b.y, b.r * 1.9, 0, Math.PI * 2); ctx.fill();
      ctx.fillStyle = '#ffd0d0';
      ctx.beginPath(); ctx.arc(b.x, b.y, b.r * 0.8, 0, Math.PI * 2); ctx.fill();
    }
    ctx.globalCompositeOperation = 'source-over';
  }

  function drawPlayer() {
    var p = player;
    if (!p || !p.alive) return;
    if (p.invulnerable > 0 && p.shield <= 0 && Math.floor(p.invulnerable * 10) % 2 === 0) return;

    // Engine flame.
    var flicker = 0.75 + 0.25 * Math.sin(p.flame * 40);
    ctx.globalCompositeOperation = 'lighter';
    ctx.fillStyle = 'rgba(92, 210, 255, 0.55)';
    ctx.beginPath();
    ctx.moveTo(p.x - 7, p.y + SHIP_H * 0.38);
    ctx.lineTo(p.x, p.y + SHIP_H * 0.38 + 22 * flicker);
    ctx.lineTo(p.x + 7, p.y + SHIP_H * 0.38);
    ctx.closePath();
    ctx.fill();
    ctx.globalCompositeOperation = 'source-over';

    var tilt = clamp(p.vx / 1600, -0.2, 0.2);
    ctx.save();
    ctx.translate(p.x, p.y);
    ctx.rotate(tilt);
    if (sprites.ship) {
      ctx.drawImage(sprites.ship, -SHIP_W / 2, -SHIP_H / 2, SHIP_W, SHIP_H);
    } else {
      ctx.fillStyle = '#c9d6f5';
      ctx.beginPath();
      ctx.moveTo(0, -SHIP_H / 2); ctx.lineTo(SHIP_W / 2, SHIP_H / 3); ctx.lineTo(-SHIP_W / 2, SHIP_H / 3);
      ctx.closePath();
      ctx.fill();
    }
    ctx.restore();

    if (p.shield > 0) {
      var fade = p.shield < 2 ? (Math.floor(p.shield * 8) % 2 ? 0.3 : 0.7) : 0.7;
      ctx.strokeStyle = 'rgba(127, 227, 255, ' + fade + ')';
      ctx.lineWidth = 2;
      ctx.beginPath();
      ctx.arc(p.x, p.y, 36, 0, Math.PI * 2);
      ctx.stroke();
      ctx.fillStyle = 'rgba(92, 210, 255, ' + (fade * 0.15) + ')';
      ctx.fill();
    }
  }

  var POWER_LOOK = {
    spread: { colour: '#f3c15e', letter: 'W' },
    shield: { colour: '#5cd2ff', letter: 'S' },
    life: { colour: '#ff6a6f', letter: '+' }
  };

  function drawPowerups() {
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.font = 'bold 13px "DejaVu Sans", Arial, sans-serif';
    for (var i = 0; i < powerups.length; i++) {
      var u = powerups[i], look = POWER_LOOK[u.kind];
      var pulse = 1 + 0.12 * Math.sin(u.t * 6);
      ctx.globalAlpha = 0.3;
      ctx.fillStyle = look.colour;
      ctx.beginPath(); ctx.arc(u.x, u.y, 17 * pulse, 0, Math.PI * 2); ctx.fill();
      ctx.globalAlpha = 1;
      ctx.fillStyle = '#0b1130';
      ctx.strokeStyle = look.colour;
      ctx.lineWidth = 2;
      ctx.beginPath(); ctx.arc(u.x, u.y, 11, 0, Math.PI * 2); ctx.fill(); ctx.stroke();
      ctx.fillStyle = look.colour;
      ctx.fillText(look.letter, u.x, u.y + 1);
    }
  }

  function drawParticles() {
    ctx.globalCompositeOperation = 'lighter';
    for (var i = 0; i < particles.length; i++) {
      var q = particles[i];
      ctx.globalAlpha = clamp(q.life / q.max, 0, 1);
      ctx.fillStyle = q.colour;
      var s = q.size;
      ctx.fillRect(q.x - s / 2, q.y - s / 2, s, s);
    }
    ctx.globalAlpha = 1;
    ctx.globalCompositeOperation = 'source-over';
  }

  function drawLabels() {
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.font = 'bold 14px "Microsoft YaHei", "Noto Sans CJK SC", "WenQuanYi Zen Hei", sans-serif';
    for (var i = 0; i < labels.length; i++) {
      var l = labels[i];
      ctx.globalAlpha = clamp(l.life, 0, 1);
      ctx.fillStyle = l.colour;
      ctx.fillText(l.text, l.x, l.y);
    }
    ctx.globalAlpha = 1;
  }

  // ================================================================ HUD and screens
  var hud = {
    server: $('hud-server'), score: $('hud-score'), wave: $('hud-wave'),
    lives: $('hud-lives'), power: $('hud-power')
  };
  var shown = { score: -1, wave: -1, lives: -1, power: '' };

  function updateHud() {
    if (shown.score !== score) { shown.score = score; hud.score.textContent = String(score); }
    if (shown.wave !== wave) { shown.wave = wave; hud.wave.textContent = String(wave); }
    if (shown.lives !== lives) {
      shown.lives = lives;
      var html = '';
      for (var i = 0; i < lives; i++) html += '<img src="/img/ship.svg" alt="">';
      hud.lives.innerHTML = html || '<span style="color:#ff6a6f">—</span>';
    }
    var power = '';
    if (player && player.spread > 0) power += '<span class="power power-spread">散射炮 ' + Math.ceil(player.spread) + 's</span>';
    if (player && player.shield > 0) power += '<span class="power power-shield">护盾 ' + Math.ceil(player.shield) + 's</span>';
    if (power !== shown.power) { shown.power = power; hud.power.innerHTML = power; }
  }

  var screens = { start: $('screen-start'), pause: $('screen-pause'), over: $('screen-over') };

  function setState(next) {
    state = next;
    screens.start.classList.toggle('is-hidden', state !== STATE_TITLE);
    screens.pause.classList.toggle('is-hidden', state !== STATE_PAUSED);
    screens.over.classList.toggle('is-hidden', state !== STATE_OVER);
    document.body.classList.toggle('is-playing', state === STATE_PLAYING);
    if (state !== STATE_PLAYING) input.mouseDown = false;
    updateHud();
  }

  function togglePause() {
    if (state === STATE_PLAYING) setState(STATE_PAUSED);
    else if (state === STATE_PAUSED) { setState(STATE_PLAYING); last = 0; }
  }

  function gameOver() {
    var record = score > best;
    if (record) { best = score; storageSet('xhjy.best', String(best)); }
    $('over-wave').textContent = String(wave);
    $('over-score').textContent = String(score);
    $('over-score').classList.toggle('is-record', record);
    $('over-best').textContent = record ? '新纪录！' : '最高纪录 ' + best;
    $('best-start').textContent = String(best);
    setState(STATE_OVER);
  }

  var bannerEl = $('wave-banner');
  function showBanner(title, sub) {
    bannerEl.classList.remove('is-shown');
    bannerEl.textContent = title;
    var small = document.createElement('small');
    small.textContent = sub;
    bannerEl.appendChild(small);
    void bannerEl.offsetWidth; // restart the animation
    bannerEl.classList.add('is-shown');
  }

  // ================================================================ messages from the fleet
  var MESSAGES = [
    { from: '舰队指挥官', text: '增援已抵达，护盾已为你充能', effect: 'shield' },
    { from: '星港广播', text: '补给舰已投放武器模块，注意接收', effect: 'spread' },
    { from: '联盟频道', text: '银河三区的指挥官邀请你加入远征军团' },
    { from: '侦察舰', text: '前方侦测到大型陨石带，请注意规避！' },
    { from: '军团长', text: '今晚 20:00 星域争夺战，请准时集结' },
    { from: '系统', text: '第七赛季排行榜已刷新，快去看看你的排名吧' }
  ];
  var toastBox = $('toasts');

  function deliverMessage() {
    var m = MESSAGES[messageIndex % MESSAGES.length];
    messageIndex++;
    var text = m.from + '：' + m.text;
    showToast(m.from, m.text);
    callClient('getNewMsg', text);
    if (state !== STATE_PLAYING || !player || !player.alive) return;
    if (m.effect === 'shield') player.shield = Math.max(player.shield, 6);
    if (m.effect === 'spread') powerups.push({ x: rand(W * 0.2, W * 0.8), y: -20, vy: 80, kind: 'spread', t: 0 });
  }

  function showToast(from, text) {
    while (toastBox.children.length >= 3) toastBox.removeChild(toastBox.firstChild);
    var el = document.createElement('div');
    el.className = 'toast';
    var icon = document.createElement('span');
    icon.className = 'toast-icon';
    icon.textContent = '讯';
    var body = document.createElement('span');
    body.className = 'toast-text';
    var who = document.createElement('b');
    who.textContent = from + '：';
    body.appendChild(who);
    body.appendChild(document.createTextNode(text));
    el.appendChild(icon);
    el.appendChild(body);
    toastBox.appendChild(el);
    setTimeout(function () { el.classList.add('is-leaving'); }, 5600);
    setTimeout(function () { if (el.parentNode) el.parentNode.removeChild(el); }, 6100);
  }

  // ================================================================ input
  var GAME_KEYS = {
    ArrowLeft: 1, ArrowRight: 1, ArrowUp: 1, ArrowDown: 1,
    KeyW: 1, KeyA: 1, KeyS: 1, KeyD: 1, Space: 1
  };

  function keyCode(event) {
    if (event.code) return event.code;
    // Older engines give only key.
    var k = event.key;
    if (k === ' ' || k === 'Spacebar') return 'Space';
    if (k && k.length === 1) return 'Key' + k.toUpperCase();
    return k;
  }

  window.addEventListener('keydown', function (event) {
    var code = keyCode(event);
    if (GAME_KEYS[code]) {
      input.keys[code] = true;
      if (state === STATE_PLAYING || code === 'Space') event.preventDefault();
    }
    if (code === 'KeyP' || code === 'Escape') {
      togglePause();
      event.preventDefault();
    } else if (code === 'Enter' || code === 'NumpadEnter' || (code === 'Space' && !event.repeat)) {
      if (state === STATE_TITLE || state === STATE_OVER) { startGame(); event.preventDefault(); }
      else if (state === STATE_PAUSED && code !== 'Space') togglePause();
    }
  });

  window.addEventListener('keyup', function (event) {
    input.keys[keyCode(event)] = false;
  });

  window.addEventListener('blur', function () {
    input.keys = {};
    input.mouseDown = false;
  });

  window.addEventListener('mousemove', function (event) {
    input.mouseX = event.clientX;
    input.mouseY = event.clientY;
    input.mouseActive = true;
  });

  canvas.addEventListener('mousedown', function (event) {
    if (event.button !== 0) return;
    input.mouseX = event.clientX;
    input.mouseY = event.clientY;
    input.mouseActive = true;
    if (state === STATE_PLAYING) input.mouseDown = true;
    event.preventDefault();
  });
  window.addEventListener('mouseup', function (event) {
    if (event.button === 0) input.mouseDown = false;
  });
  canvas.addEventListener('contextmenu', function (event) { event.preventDefault(); });

  $('btn-start').addEventListener('click', startGame);
  $('btn-restart').addEventListener('click', startGame);
  $('btn-resume').addEventListener('click', togglePause);
  screens.pause.addEventListener('click', function (event) {
    if (event.target === screens.pause) togglePause();
  });

  document.addEventListener('visibilitychange', function () {
    if (document.hidden && state === STATE_PLAYING) setState(STATE_PAUSED);
  });

  var resizePending = false;
  window.addEventListener('resize', function () {
    if (resizePending) return;
    resizePending = true;
    requestAnimationFrame(function () { resizePending = false; resize(); });
  });

  // ================================================================ main loop
  var last = 0;
  function frame(now) {
    var dt = last ? (now - last) / 1000 : 1 / 60;
    last = now;
    if (dt > 0.05) dt = 0.05; // after a stall the world slows down instead of jumping
    if (dt < 0) dt = 0;
    update(dt);
    draw();
    requestAnimationFrame(frame);
  }

  // ================================================================ start
  hud.server.textContent = SERVER;
  $('start-server').textContent = SERVER;
  $('best-start').textContent = String(best);
  document.title = '星海纪元 - ' + SERVER;
  callClient('getGsName', SERVER);

  resize();
  loadPicture('ship', '/img/ship.svg');
  loadPicture('drone', '/img/drone.svg');
  loadPicture('planet', '/img/planet.svg');
  updateHud();
  requestAnimationFrame(frame);
})();
