// Opens pages in Debian's chromium, headless with SwiftShader's WebGL 2, and
// reports what a test needs, through the DevTools protocol on a pipe
// (--remote-debugging-pipe: NUL-terminated JSON on file descriptors 3 and 4),
// so no npm package is needed.
//
//   node chromium_pages.js CHROMIUM PROFILE_DIR URL [SHOT.png] [URL [SHOT.png]] ... [-- EXTRA_FLAGS...]
//
// Each page is loaded and waited for until its title starts with "done" or
// "failed" (at most 300 s), while the page gets what a viewer's page gets:
// the mouse over the canvas (move, left button, wheel), a resize and a
// visibility change, every quarter second (the frames must not change for
// them); then the canvas is saved as SHOT.png ("-" for none). A URL written
// "viewer:URL" is used as a viewer would: once its start panel shows, the
// Fullscreen box and "Run demo!" are clicked with the browser's own input
// events (a user gesture, as a real click is), and once the music has
// played for a while Escape is pressed. A URL written "frames:URL" has the
// moments of its animation frames noted once the first demo frame is up
// (the demo's loop waits for one at every Present). Lines printed, one per fact:
//   title N TEXT        the page's final title
//   times N JSON        the page's window.demoTimes
//   playing N JSON      a viewer's page while the demo runs: the full-screen
//                       element, the AudioContext's state, how far its clock
//                       and the music's samples went in half a second
//   ended N JSON        a viewer's page after Escape: the full-screen element
//   frames N JSON       a "frames:" page: the milliseconds between its animation frames
//   error N TEXT        an error the page reported (console, exception, log)
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");

const argv = process.argv.slice(2);
const split = argv.indexOf("--");
const extra = split >= 0 ? argv.slice(split + 1) : [];
const [chromium, profile, ...pairs] = split >= 0 ? argv.slice(0, split) : argv;
const pages = [];
for (let i = 0; i < pairs.length; i += 2) {
  const [, kind, url] = pairs[i].match(/^(viewer:|frames:)?(.*)$/);
  pages.push({ url, viewer: kind == "viewer:", frames: kind == "frames:", shot: pairs[i + 1] || "-" });
}

const browser = spawn(chromium, [
  "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
  "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
  "--disable-gpu-sandbox", "--mute-audio",
  "--user-data-dir=" + profile, "--remote-debugging-pipe", ...extra, "about:blank",
], { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
const toBrowser = browser.stdio[3], fromBrowser = browser.stdio[4];

let nextId = 1;
const waiting = new Map();
const listeners = [];
let buffered = Buffer.alloc(0);
fromBrowser.on("data", (chunk) => {
  buffered = Buffer.concat([buffered, chunk]);
  for (let end; (end = buffered.indexOf(0)) >= 0;) {
    const message = JSON.parse(buffered.subarray(0, end).toString("utf8"));
    buffered = buffered.subarray(end + 1);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    } else {
      for (const listen of listeners) listen(message);
    }
  }
});
function send(method, params = {}, sessionId) {
  const id = nextId++;
  const message = { id, method, params };
  if (sessionId) message.sessionId = sessionId;
  toBrowser.write(JSON.stringify(message) + "\0");
  return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits (at most `ms`) until `expression` is true in the page.
async function until(evaluate, expression, ms = 300000) {
  for (const started = Date.now(); Date.now() - started < ms; await sleep(100))
    if (await evaluate(expression)) return true;
  return false;
}

const fullscreenElement = "(document.fullscreenElement ? document.fullscreenElement.id || document.fullscreenElement.tagName : null)";

// The viewer's part: clicks as a person would (trusted input, a user gesture), listens, presses Escape.
async function view(index, sessionId, evaluate) {
  if (!await until(evaluate, "!document.getElementById('panel').classList.contains('hidden')")) return;
  const click = async (id) => {
    const [x, y] = await evaluate(`(() => { const r = document.getElementById('${id}').getBoundingClientRect();
      return [r.x + r.width / 2, r.y + r.height / 2]; })()`);
    for (const type of ["mouseMoved", "mousePressed", "mouseReleased"])
      await send("Input.dispatchMouseEvent", { type, x, y, button: type == "mouseMoved" ? "none" : "left", clickCount: 1 }, sessionId);
  };
  await click("fullscreen");
  await click("run");
  // The music starts with the demo clock, just before the first frame.
  await until(evaluate, "window.demoTimes.firstFrame > 0");
  await sleep(500);
  const playing = await evaluate(`(async () => {
    const { context, source } = Module.demoPage.sound();
    if (!context || !source)
      return { fullscreen: ${fullscreenElement}, state: context ? context.state : null, source: false };
    const analyser = context.createAnalyser();
    analyser.fftSize = 2048;
    source.connect(analyser);
    const clock = context.currentTime;
    let peak = 0;
    const samples = new Float32Array(analyser.fftSize);
    for (let i = 0; i < 5; ++i) {
      await new Promise((resolve) => setTimeout(resolve, 100));
      analyser.getFloatTimeDomainData(samples);
      for (const value of samples) peak = Math.max(peak, Math.abs(value));
    }
    source.disconnect(analyser);
    return { fullscreen: ${fullscreenElement}, state: context.state, sampleRate: context.sampleRate,
             clockAdvanced: context.currentTime - clock, peak };
  })()`);
  console.log(`playing ${index} ${JSON.stringify(playing)}`);
  for (const type of ["rawKeyDown", "keyUp"])
    await send("Input.dispatchKeyEvent",
      { type, key: "Escape", code: "Escape", windowsVirtualKeyCode: 27, nativeVirtualKeyCode: 27 }, sessionId);
  await until(evaluate, "document.title.startsWith('done') || document.title.startsWith('failed')");
  await sleep(300);
  console.log(`ended ${index} ${JSON.stringify({ fullscreen: await evaluate(fullscreenElement) })}`);
}

async function visit(index, page) {
  const { targetId } = await send("Target.createTarget", { url: "about:blank" });
  const { sessionId } = await send("Target.attachToTarget", { targetId, flatten: true });
  const report = (text) => console.log(`error ${index} ${String(text).replace(/\s+/g, " ")}`);
  listeners.push((m) => {
    if (m.sessionId != sessionId) return;
    if (m.method == "Runtime.consoleAPICalled" && (m.params.type == "error" || m.params.type == "assert"))
      report(m.params.args.map((a) => a.value ?? a.description ?? "").join(" "));
    else if (m.method == "Runtime.exceptionThrown")
      report(m.params.exceptionDetails.exception?.description ?? m.params.exceptionDetails.text);
    else if (m.method == "Log.entryAdded" && m.params.entry.level == "error")
      report(m.params.entry.text + " " + (m.params.entry.url || ""));
  });
  await send("Runtime.enable", {}, sessionId);
  await send("Log.enable", {}, sessionId);
  await send("Page.enable", {}, sessionId);
  if (page.frames)
    await send("Page.addScriptToEvaluateOnNewDocument", { source: `window.demoFrameMoments = [];
      const request = window.requestAnimationFrame.bind(window);
      window.requestAnimationFrame = (callback) => request((now) => {
        if (window.demoTimes && window.demoTimes.firstFrame) window.demoFrameMoments.push(performance.now());
        callback(now);
      });` }, sessionId);
  await send("Page.navigate", { url: page.url }, sessionId);
  const evaluate = async (expression) =>
    (await send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true }, sessionId)).result.value;
  if (page.viewer) await view(index, sessionId, evaluate);
  const poke = `(() => {
    const canvas = document.getElementById('canvas');
    if (canvas) {
      for (const type of ['mousemove', 'mousedown', 'mouseup'])
        canvas.dispatchEvent(new MouseEvent(type, { clientX: 10, clientY: 10, button: 0, bubbles: true }));
      canvas.dispatchEvent(new WheelEvent('wheel', { deltaY: -100, clientX: 10, clientY: 10, bubbles: true }));
    }
    window.dispatchEvent(new Event('resize'));
    document.dispatchEvent(new Event('visibilitychange'));
  })()`;
  let title = "";
  for (const started = Date.now(); Date.now() - started < 300000; await sleep(250)) {
    if (!page.frames) await evaluate(poke);
    title = (await evaluate("document.title")) || "";
    if (title.startsWith("done") || title.startsWith("failed")) break;
  }
  console.log(`title ${index} ${title}`);
  console.log(`times ${index} ${JSON.stringify(await evaluate("window.demoTimes || {}"))}`);
  if (page.frames)
    console.log(`frames ${index} ${JSON.stringify(await evaluate(
      "(window.demoFrameMoments || []).slice(1).map((t, i) => +(t - window.demoFrameMoments[i]).toFixed(2))"))}`);
  if (page.shot != "-") {
    const box = await evaluate(
      "(() => { const r = document.getElementById('canvas').getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()");
    const shot = await send("Page.captureScreenshot",
      { format: "png", clip: { x: box[0], y: box[1], width: box[2], height: box[3], scale: 1 } }, sessionId);
    fs.writeFileSync(page.shot, Buffer.from(shot.data, "base64"));
  }
  await send("Target.closeTarget", { targetId });
}

(async () => {
  let status = 0;
  try {
    for (let i = 0; i < pages.length; ++i) await visit(i, pages[i]);
  } catch (error) {
    console.log(`error driver ${error.message}`);
    status = 1;
  }
  // The browser has left its profile alone only once it has exited.
  const exited = new Promise((resolve) => browser.on("exit", resolve));
  try { await Promise.race([send("Browser.close"), sleep(5000)]); } catch (e) {}
  if (await Promise.race([exited.then(() => true), sleep(5000).then(() => false)]) == false) {
    browser.kill();
    await Promise.race([exited, sleep(2000)]);
  }
  process.exit(status);
})();
