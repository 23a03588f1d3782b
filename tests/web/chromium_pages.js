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
// them); then the canvas is saved as SHOT.png ("-" for none). Lines printed, one per fact:
//   title N TEXT        the page's final title
//   times N JSON        the page's window.demoTimes
//   error N TEXT        an error the page reported (console, exception, log)
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");

const argv = process.argv.slice(2);
const split = argv.indexOf("--");
const extra = split >= 0 ? argv.slice(split + 1) : [];
const [chromium, profile, ...pairs] = split >= 0 ? argv.slice(0, split) : argv;
const pages = [];
for (let i = 0; i < pairs.length; i += 2) pages.push({ url: pairs[i], shot: pairs[i + 1] || "-" });

const browser = spawn(chromium, [
  "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
  "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
  "--disable-gpu-sandbox", "--mute-audio", "--autoplay-policy=no-user-gesture-required",
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
  await send("Page.navigate", { url: page.url }, sessionId);
  const evaluate = async (expression) =>
    (await send("Runtime.evaluate", { expression, returnByValue: true }, sessionId)).result.value;
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
    await evaluate(poke);
    title = (await evaluate("document.title")) || "";
    if (title.startsWith("done") || title.startsWith("failed")) break;
  }
  console.log(`title ${index} ${title}`);
  console.log(`times ${index} ${JSON.stringify(await evaluate("window.demoTimes || {}"))}`);
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
