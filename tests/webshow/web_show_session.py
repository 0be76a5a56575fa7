"""What the web page's tests share: shows written by pivtool, the web pages
made of them, and a headless Chromium driven by Selenium that opens them."""

import base64
import functools
import http.server
import io
import json
import os
import random
import shutil
import subprocess
import threading
import time
import unittest

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
DATA_MARKER = b'<script id="pivolane-show" type="application/octet-stream">'
DATA_ENDING = b"</script>\n</body>\n</html>\n"

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.actions.pointer_input import PointerInput
    from selenium.webdriver.common.actions import interaction
    from selenium.webdriver.common.keys import Keys
    from PIL import Image

    BROWSER_MISSING = None
except ImportError as error:  # no Selenium or PIL: the suite is skipped
    BROWSER_MISSING = f"a module is missing ({error})"
if not (os.path.exists(CHROMIUM) and os.path.exists(CHROMEDRIVER)):
    BROWSER_MISSING = f"{CHROMIUM} or {CHROMEDRIVER} is missing"


class Paths:
    """Set by the test main from its command line."""

    pivtool = None
    write_samples = None
    work = None


def samples():
    """The sample pictures, written once: name -> path. Beside those of
    write_samples, "turned.jpg": 200 x 100 pixels, red in its top left
    corner, whose EXIF orientation turns it a quarter clockwise; and
    "large.jpg", a JPEG of several of the parts the page deciphers at a time,
    whose last 300 KiB follow the picture's end, as cameras append data; and
    "cut.jpg", the first half of its picture."""
    folder = os.path.join(Paths.work, "samples")
    if not os.path.isdir(folder):
        os.makedirs(folder)
        subprocess.run([Paths.write_samples, folder], check=True)
        picture = Image.new("RGB", (200, 100), (30, 30, 200))
        picture.paste((255, 0, 0), (0, 0, 50, 50))
        orientation = picture.getexif()
        orientation[0x0112] = 6
        picture.save(os.path.join(folder, "turned.jpg"), exif=orientation.tobytes())
        noise = Image.frombytes("RGB", (900, 600), random.Random(1).randbytes(900 * 600 * 3))
        large = io.BytesIO()
        noise.save(large, "JPEG", quality=80)
        with open(os.path.join(folder, "large.jpg"), "wb") as f:
            f.write(large.getvalue() + bytes(300 * 1024))
        with open(os.path.join(folder, "cut.jpg"), "wb") as f:
            f.write(large.getvalue()[: large.tell() // 2])
    return {name: os.path.join(folder, name) for name in sorted(os.listdir(folder))}


def make_show(name, slides, options=(), password=None, change=None):
    """A web show written by pivtool. slides: (title, sample name); each title
    becomes the picture's file name, which pivtool takes as the slide's
    title. change(document bytes) may damage the show's document after."""
    folder = os.path.join(Paths.work, name + ".pictures")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    pictures = []
    for title, sample in slides:
        pictures.append(os.path.join(folder, title))
        shutil.copyfile(samples()[sample], pictures[-1])
    page = os.path.join(Paths.work, name + ".html")
    arguments = [Paths.pivtool, "build", page, *options]
    if password is not None:
        arguments.append("--password-stdin")
    subprocess.run(arguments + ["--"] + pictures, check=True, capture_output=True,
                   input=(password or "") + "\n", encoding="utf-8")
    if change:
        change_document(page, change)
    return page


def change_document(page, change):
    """Changes the document bytes that the page carries in base64."""
    with open(page, "rb") as f:
        html = f.read()
    begin = html.index(DATA_MARKER) + len(DATA_MARKER)
    end = html.rindex(DATA_ENDING)
    document = change(bytearray(base64.b64decode(html[begin:end], validate=True)))
    with open(page, "wb") as f:
        f.write(html[:begin] + base64.b64encode(document) + html[end:])


# The least key derivation: these tests protect nothing.
STRONG = ("--cipher", "2", "--kdf-passes", "1", "--kdf-memory", "8")
# A password gives the strong cipher unless the XOR cipher is asked for.
XOR = ("--cipher", "1")


# A name that the browser takes to 127.0.0.1: unlike 127.0.0.1 itself, a
# page served from it is not a secure context, and has no WebCrypto.
SERVER_NAME = "pivolane.test"


class PageServer:
    """Serves a folder over plain http:// on a free port of 127.0.0.1, as
    SERVER_NAME."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def url(self, file_name):
        return f"http://{SERVER_NAME}:{self.server.server_port}/{file_name}"

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Browser:
    """One headless Chromium for a group of tests. phone: a 390 x 844
    touch screen instead of a 1280 x 800 desktop."""

    def __init__(self, phone=False):
        options = Options()
        options.binary_location = CHROMIUM
        profile = os.path.join(Paths.work, "chromium-profile-" + str(os.getpid()) + str(id(self)))
        width, height = (390, 844) if phone else (1280, 800)
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                         f"--window-size={width},{height}", f"--user-data-dir={profile}",
                         "--no-first-run", "--no-default-browser-check",
                         f"--host-resolver-rules=MAP {SERVER_NAME} 127.0.0.1"):
            options.add_argument(argument)
        if phone:
            options.add_experimental_option("mobileEmulation", {"deviceMetrics": {
                "width": width, "height": height, "pixelRatio": 3.0, "touch": True}})
        options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.profile = profile
        self.injected = []

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url, *scripts):
        """Opens url with scripts run in every document before the page's own."""
        for identifier in self.injected:
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                        {"identifier": identifier})
        self.injected = [
            self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                        {"source": script})["identifier"]
            for script in scripts]
        self.driver.get_log("performance")  # what came before is not this page's
        self.driver.get(url if "://" in url else "file://" + url)

    def run(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def wait_for(self, what, condition, timeout=15):
        """Waits for condition() to be true; fails naming what was awaited."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError(f"waited in vain for {what}")
            time.sleep(0.05)

    def wait_for_title(self, title, timeout=15):
        self.wait_for(f"the title {title!r} (it is {self.driver.title!r})",
                      lambda: self.driver.title == title, timeout)

    def keys(self, *keys):
        actions = ActionChains(self.driver)
        for key in keys:
            actions.send_keys(key)
        actions.perform()

    def click(self, right=False):
        stage = self.driver.find_element("id", "stage")
        actions = ActionChains(self.driver)
        (actions.context_click(stage) if right else actions.click(stage)).perform()

    def touch(self, from_x, to_x, y=400):
        """A finger from from_x to to_x: a swipe, or a tap where they are equal."""
        finger = PointerInput(interaction.POINTER_TOUCH, "finger")
        actions = ActionBuilder(self.driver, mouse=finger)
        actions.pointer_action.move_to_location(from_x, y).pointer_down()
        if to_x != from_x:
            actions.pointer_action.move_to_location((from_x + to_x) // 2, y)
            actions.pointer_action.move_to_location(to_x, y)
        actions.pointer_action.pointer_up()
        actions.perform()

    def visible(self, element_id):
        return self.run("const e = document.getElementById(arguments[0]);"
                        "return Boolean(e) && e.getClientRects().length > 0;", element_id)

    def text(self, element_id):
        return self.run("return document.getElementById(arguments[0]).textContent;", element_id)

    def requested_urls(self):
        """Every address the page asked the network for since it was opened."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def pictures(self):
        """The sizes and places of the pictures in the page."""
        return self.run("return Array.from(document.querySelectorAll('img, canvas'),"
                        " (e) => e.getBoundingClientRect().toJSON());")

    def ended(self):
        """The show is over: no picture and no title of it in the page, the
        title "Pivolane", and the end screen."""
        return (self.driver.title == "Pivolane" and not self.pictures()
                and not self.text("stage").strip() and self.visible("end"))


class BrowserTest(unittest.TestCase):
    """A group of tests that share one browser."""

    phone = False

    @classmethod
    def setUpClass(cls):
        if BROWSER_MISSING:
            raise unittest.SkipTest(BROWSER_MISSING)
        cls.browser = Browser(cls.phone)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()


# Records every text an element is given, from the page's first moment.
def text_recorder(element_id):
    return ("window.recordedTexts = [];"
            "document.addEventListener('DOMContentLoaded', () => {"
            f"  const element = document.getElementById({element_id!r});"
            "  new MutationObserver(() => recordedTexts.push(element.textContent))"
            "    .observe(element, {childList: true, characterData: true, subtree: true});"
            "});")


def fingerprint(data):
    """The length and 32-bit FNV-1a hash of data, as PICTURE_RECORDER
    takes them in the page (where WebCrypto may be missing)."""
    value = 0x811C9DC5
    for byte in data:
        value = ((value ^ byte) * 0x01000193) & 0xFFFFFFFF
    return f"{len(data)}:{value:08x}"


# Records the fingerprint of every picture the page makes a Blob of or
# streams to an ImageDecoder, and which object URLs it makes and revokes.
PICTURE_RECORDER = """
window.objectUrls = {made: [], revoked: [], fingerprints: []};
const fingerprint = (bytesPromise) => {
  const index = objectUrls.fingerprints.push(null) - 1;
  bytesPromise.then((bytes) => {
    let value = 0x811c9dc5;
    for (const byte of bytes) value = Math.imul(value ^ byte, 0x01000193) >>> 0;
    objectUrls.fingerprints[index] = bytes.length + ':' + value.toString(16).padStart(8, '0');
  });
};
window.Blob = class extends Blob {
  constructor(parts, options) {
    super(parts, options);
    if (this.type.startsWith('image/')) {
      fingerprint(this.arrayBuffer().then((b) => new Uint8Array(b)));
    }
  }
};
if (window.ImageDecoder) {
  window.ImageDecoder = class extends ImageDecoder {
    constructor(init) {
      const [decoded, recorded] = init.data.tee();
      super({...init, data: decoded});
      // Copied as they come: the page wipes its parts once they are decoded.
      fingerprint(new Response(recorded.pipeThrough(new TransformStream({
        transform: (part, out) => out.enqueue(part.slice())}))).arrayBuffer()
        .then((b) => new Uint8Array(b)));
    }
  };
}
const make = URL.createObjectURL.bind(URL);
const revoke = URL.revokeObjectURL.bind(URL);
URL.createObjectURL = (object) => {
  const url = make(object);
  objectUrls.made.push(url);
  return url;
};
URL.revokeObjectURL = (url) => { objectUrls.revoked.push(url); revoke(url); };
"""


def random_draws(draws):
    """Makes Math.random give draws over and over."""
    return (f"(() => {{ const draws = {json.dumps(draws)}; let next = 0;"
            "Math.random = () => draws[next++ % draws.length]; })();")
