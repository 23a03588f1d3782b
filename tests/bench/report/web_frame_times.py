#!/usr/bin/env python3
"""The time a frame takes per scene in the page against the native demo, on
this machine: the page (build-web/site) in Debian's chromium, headless on
SwiftShader, and the native demo on llvmpipe through timeline_report, both
over the whole timeline on the fixed-step clock at the same mode.

    tests/bench/report/web_frame_times.py [--mode 320x240] [--fps 10] [--until 110]

In the page a frame's time is the time between the animation frames its
Present waits for. The browser draws in another process, ahead of or behind
the page, so single intervals swing from a millisecond to most of a second:
the page's figure is their mean over a scene (its wall time over its frame
count), leaving out the scene's first half second, in which SwiftShader
compiles what the scene draws. Natively the figure is timeline_report's
median wall time a frame (llvmpipe draws in step with the loop). The load
averages before and after each run are printed: the two cores are shared."""
import argparse
import json
import os
import socket
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
SCENES = [("BeginEffect", 0.0), ("HandDrawEffect", 10.5), ("HandToHatchEffect", 17.5),
          ("HatchToNormalEffect", 33.5), ("ShatterEffect", 73.0), ("StarEffect", 90.0)]


def scene_at(seconds):
    return [name for name, start in SCENES if seconds >= start - 1e-9][-1]


def load():
    return "%.1f %.1f %.1f" % os.getloadavg()


def page_frames(mode, fps, until):
    site = os.path.join(ROOT, "build-web", "site")
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    server = subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1",
                               "--directory", site], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        with tempfile.TemporaryDirectory() as profile:
            url = "frames:http://127.0.0.1:%d/index.html?mode=%s&fps=%d&until=%g&autorun" % (port, mode, fps, until)
            out = subprocess.run(["node", os.path.join(ROOT, "tests/web/chromium_pages.js"), "/usr/bin/chromium",
                                  profile, url, "-"], capture_output=True, text=True, timeout=1800).stdout
    finally:
        server.terminate()
        server.wait()
    lines = {line.split(" ", 2)[0]: line.split(" ", 2)[2] for line in out.splitlines() if line.count(" ") >= 2}
    if not lines.get("title", "").startswith("done"):
        sys.exit("the page did not finish: " + out)
    times = json.loads(lines["times"])
    scenes = {}
    # The first interval ends the animation frame after frame 1's: it is frame 2's.
    for index, ms in enumerate(json.loads(lines["frames"])):
        seconds = (index + 2) / fps
        name = scene_at(seconds)
        if seconds >= dict(SCENES)[name] + 0.5 - 1e-9:
            scenes.setdefault(name, []).append(ms)
    return scenes, times


def native_frames(mode, fps, until, build):
    out = subprocess.run([os.path.join(build, "tests", "timeline_report"), "--mode", mode, "--fps", str(fps),
                          "--until", str(until)],
                         capture_output=True, text=True, cwd=build, timeout=1800).stdout
    medians, table = {}, False
    for line in out.splitlines():
        words = line.split()
        if words[:2] == ["scene", "frames"]:
            table = True
        elif table and len(words) >= 4 and words[0] in dict(SCENES):
            medians[words[0]] = (int(words[1]), float(words[3]))
    return medians


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", default="320x240")
    parser.add_argument("--fps", type=int, default=10)
    parser.add_argument("--until", type=float, default=110.0)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    args = parser.parse_args()
    before = load()
    page, times = page_frames(args.mode, args.fps, args.until)
    between = load()
    native = native_frames(args.mode, args.fps, args.until, args.build)
    after = load()
    print("%s, %d frames a second; load averages: %s before the page, %s after it, %s after the native run" %
          (args.mode, args.fps, before, between, after))
    print("page: loading picture %.1f s, first frame %.1f s after the page started loading" %
          (times.get("loadingShown", 0) / 1000, times.get("firstFrame", 0) / 1000))
    print("| scene | page frames | page (SwiftShader), mean | native (llvmpipe), median | ratio |")
    print("|---|---|---|---|---|")
    for name, _ in SCENES:
        if name not in page or name not in native:
            continue
        browser = statistics.mean(page[name])
        print("| %s | %d | %.1f ms | %.1f ms | %.1f |" %
              (name, len(page[name]), browser, native[name][1], browser / native[name][1]))


if __name__ == "__main__":
    main()
