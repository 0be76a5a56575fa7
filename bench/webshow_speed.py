#!/usr/bin/python3
"""How fast the web page plays a strong show of 12-megapixel photographs in
headless Chromium: the key derivation (3 passes over 256 MiB) against the
native one of pivtool, the password's Enter to the first photograph on
screen, the next and the previous slide, and the page's size against its
pictures. Usage: bench/webshow_speed.py BUILD_FOLDER [RUNS]"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

PASSWORD = "correct horse battery staple"
PHOTOGRAPHS = 8

# Times, from the page itself: the worker's derivation from its request to
# its answer (heard before the page's own handler, which goes on to the
# first picture at once), every keydown, and the moment after the frame
# that first shows each new picture.
PROBE = r"""
window.timings = {derivations: [], keys: [], shown: []};
const RealWorker = window.Worker;
window.Worker = function (url) {
  const worker = new RealWorker(url);
  let asked = null;
  worker.addEventListener('message', () => {
    if (asked !== null) timings.derivations.push(performance.now() - asked);
    asked = null;
  });
  const post = worker.postMessage.bind(worker);
  worker.postMessage = (...message) => {
    asked = performance.now();
    post(...message);
  };
  return worker;
};
document.addEventListener('keydown', (event) => timings.keys.push(event.timeStamp), true);
document.addEventListener('DOMContentLoaded', () => {
  new MutationObserver((records) => {
    if (!records.some((r) => Array.from(r.addedNodes).some((n) => n.tagName === 'CANVAS'))) return;
    requestAnimationFrame(() => setTimeout(() => timings.shown.push(performance.now()), 0));
  }).observe(document.getElementById('slide'), {childList: true});
});
"""


def median_and_range(values, unit="ms", scale=1.0):
    values = [v * scale for v in values]
    return (f"{statistics.median(values):7.1f} {unit} "
            f"({min(values):.1f} to {max(values):.1f}, {len(values)} runs)")


def timed(command, **kwargs):
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, **kwargs)
    return (time.monotonic() - start) * 1000


def browser(profile):
    options = Options()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,800",
                     f"--user-data-dir={profile}", "--no-first-run"):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
    return driver


def wait_for(driver, condition, timeout=60):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise RuntimeError("webshow_speed: the page never got there")
        time.sleep(0.02)


def play(page, profile):
    """One run: the gate, the first photograph, then steps right and left.
    The password is typed a second after the gate opens, as a person takes
    that long at least, and each step comes after a moment on screen: the
    page prepares meanwhile (its key derivation's worker, the next slide)."""
    driver = browser(profile)
    try:
        start = time.monotonic()
        driver.get("file://" + page)
        wait_for(driver, lambda: driver.execute_script(
            "return !document.getElementById('gate').hidden;"))
        load_ms = (time.monotonic() - start) * 1000
        time.sleep(1)
        ActionChains(driver).send_keys(PASSWORD).perform()
        driver.execute_script("timings.keys.length = 0;")
        ActionChains(driver).send_keys(Keys.ENTER).perform()
        wait_for(driver, lambda: driver.title == "1.jpg")
        steps = [Keys.ARROW_RIGHT] * 5 + [Keys.ARROW_LEFT] * 3
        for count, key in enumerate(steps, start=2):
            time.sleep(1.5)
            ActionChains(driver).send_keys(key).perform()
            wait_for(driver, lambda: driver.execute_script("return timings.shown.length;") >= count)
        t = driver.execute_script("return timings;")
    finally:
        driver.quit()
    enter, *step_keys = t["keys"]
    first, *step_shown = t["shown"]
    steps_ms = [shown - key for key, shown in zip(step_keys, step_shown)]
    return {"load": load_ms, "derivation": t["derivations"][0], "first": first - enter,
            "next": steps_ms[:5], "previous": steps_ms[5:]}


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    pivtool = os.path.join(build, "tools/pivtool/pivtool")
    here = os.path.dirname(os.path.abspath(__file__))
    data = tempfile.mkdtemp(prefix="pivolane-webshow-bench.")
    try:
        subprocess.run([sys.executable, os.path.join(here, "photo.py"), f"{data}/photo.ppm"], check=True)
        with open(f"{data}/photo.jpg", "wb") as out:
            subprocess.run(["cjpeg", "-quality", "87", f"{data}/photo.ppm"], stdout=out, check=True)
        os.remove(f"{data}/photo.ppm")
        photographs = []
        for k in range(1, PHOTOGRAPHS + 1):
            photographs.append(f"{data}/{k}.jpg")
            shutil.copyfile(f"{data}/photo.jpg", photographs[-1])
        page = f"{data}/photographs.html"
        subprocess.run([pivtool, "build", page, "--titles", "--delay", "0", "--cipher", "2",
                        "--password-stdin", *photographs], input=PASSWORD + "\n",
                       encoding="utf-8", check=True, stdout=subprocess.DEVNULL)

        djpeg = [timed(["djpeg", "-outfile", "/dev/null", f"{data}/photo.jpg"]) for _ in range(5)]
        # pivtool info with the password derives the key once and reads the
        # entries: the native derivation of the very same header.
        native, page_runs = [], []
        for run in range(runs):
            native.append(timed([pivtool, "info", page, "--password-stdin"],
                                input=PASSWORD + "\n", encoding="utf-8"))
            page_runs.append(play(page, f"{data}/profile{run}"))
    finally:
        pictures = sum(os.path.getsize(p) for p in photographs)
        size = os.path.getsize(page)
        shutil.rmtree(data, ignore_errors=True)

    derivations = [r["derivation"] for r in page_runs]
    after_derivation = [r["first"] - r["derivation"] for r in page_runs]
    ratios = [d / n for d, n in zip(derivations, native)]
    djpeg_ms = statistics.median(djpeg)
    print(f"photograph: 4000 x 3000 JPEG; show of {PHOTOGRAPHS}: {size} bytes")
    print(f"djpeg of the photograph to /dev/null:      {median_and_range(djpeg)}")
    print(f"page opened to its gate:                   {median_and_range([r['load'] for r in page_runs])}")
    print(f"key derivation, native (pivtool info):     {median_and_range(native)}")
    print(f"key derivation, page (worker):             {median_and_range(derivations)}")
    print(f"  page / native, run by run:               {median_and_range(ratios, '', 1)} (target <= 2.5)")
    print(f"Enter to the first photograph on screen:   {median_and_range([r['first'] for r in page_runs])}")
    print(f"  of which after the derivation:           {median_and_range(after_derivation)}"
          f"  / djpeg {statistics.median(after_derivation) / djpeg_ms:.2f}")
    print(f"next slide (Right), key to its frame:      "
          f"{median_and_range([v for r in page_runs for v in r['next']])} (target <= 50)")
    print(f"previous slide (Left), key to its frame:   "
          f"{median_and_range([v for r in page_runs for v in r['previous']])}")
    limit = 1.37 * pictures + 2.5 * 2**20
    print(f"page size: {size} bytes = {size / pictures:.3f} x pictures; "
          f"limit 1.37 x pictures + 2.5 MiB = {limit:.0f} ({'within' if size <= limit else 'OVER'})")


if __name__ == "__main__":
    main()
