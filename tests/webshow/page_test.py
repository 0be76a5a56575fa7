#!/usr/bin/python3
"""The web page as a person uses it, in headless Chromium: the password gate,
playback, damaged shows, what the page fetches and deciphers, and a phone's
touch screen. One browser per group of tests.

Usage: page_test.py --pivtool P --write-samples W --work DIR [GROUP...]
Exits 77 (skipped) only where Chromium, its driver or Selenium is missing."""

import argparse
import os
import shutil
import struct
import sys
import unittest

from web_show_session import (BROWSER_MISSING, PICTURE_RECORDER, STRONG, XOR, BrowserTest,
                              PageServer, Paths, fingerprint, make_show, random_draws,
                              samples, text_recorder)

if not BROWSER_MISSING:
    from selenium.webdriver.common.keys import Keys

PASSWORD = "Sésame€"  # two characters beyond ASCII, both in code page 1252


def titled(*titles, sample="red.jpg"):
    return [(title, sample) for title in titles]


class GateTest(BrowserTest):
    """The password gate of both ciphers, each in one of the two languages."""

    # A browser that refuses the key derivation's worker derives on the page.
    NO_WORKER = "delete window.Worker;"
    CASES = [  # cipher options, language, label, wrong password text, checking text, scripts
        (XOR, "fr", "Mot de passe", "Mauvais mot de passe !", None, ()),
        (STRONG, "en", "Password", "Wrong password !", "Checking the password...", ()),
        (STRONG, "fr", "Mot de passe", "Mauvais mot de passe !",
         "Vérification du mot de passe...", (NO_WORKER,)),
    ]

    def open_show(self, options, language, scripts=()):
        page = make_show("gate-" + language, titled("Un.jpg", "Deux.jpg"),
                         ("--titles", "--language", language, *options), PASSWORD)
        self.browser.open(page, text_recorder("gate-message"), *scripts)
        self.browser.wait_for("the gate", lambda: self.browser.visible("gate"))

    def test_wrong_then_right_password(self):
        for options, language, label, wrong, checking, scripts in self.CASES:
            with self.subTest(language=language, scripts=scripts):
                self.open_show(options, language, scripts)
                b = self.browser
                self.assertEqual(b.run("return document.activeElement.id;"), "gate-password")
                self.assertEqual(b.text("gate-label"), label)
                self.assertEqual(b.run("return document.documentElement.lang;"), language)
                self.assertEqual(b.driver.title, "Pivolane")
                # A character no show's password can hold makes a wrong password too.
                for attempt in ("Sésame", "Sésame€密"):
                    b.keys(attempt, Keys.ENTER)
                    b.wait_for("the wrong-password text", lambda: b.text("gate-message") == wrong)
                    self.assertTrue(b.visible("gate"))
                    self.assertEqual(b.run("return document.getElementById('gate-password').value;"), "")
                b.run("recordedTexts.length = 0;")
                b.keys(PASSWORD, Keys.ENTER)
                b.wait_for_title("Un.jpg")
                self.assertFalse(b.visible("gate"))
                if checking:
                    self.assertIn(checking, b.run("return recordedTexts;"))

    def test_cancel_and_escape_end_the_show(self):
        for leave, language, again in (("cancel", "fr", "Revoir le diaporama"),
                                       ("escape", "en", "Watch the show again")):
            with self.subTest(leave=leave):
                self.open_show(STRONG, language)
                b = self.browser
                b.keys(PASSWORD)
                if leave == "cancel":
                    b.driver.find_element("id", "gate-cancel").click()
                else:
                    b.keys(Keys.ESCAPE)
                b.wait_for("the end of the show", b.ended)
                self.assertFalse(b.visible("gate"))
                # Watching again asks for the password again: no key is kept.
                self.assertEqual(b.text("end-again"), again)
                b.driver.find_element("id", "end-again").click()
                b.wait_for("the gate again", lambda: b.visible("gate"))
                b.keys(PASSWORD, Keys.ENTER)
                b.wait_for_title("Un.jpg")


class PlaybackTest(BrowserTest):
    """Playback as the player's: keys, buttons, timer, loop, random order, bad
    pictures and the end."""

    def open_show(self, name, slides, options=(), *scripts):
        page = make_show(name, slides, ("--language", "en", *options))
        self.browser.open(page, *scripts)

    def test_keys_and_buttons_move_as_the_player_does(self):
        b = self.browser
        self.open_show("keys", titled("One.jpg", "Two.jpg", "Three.jpg", "Four.jpg"), ("--titles",))
        b.wait_for_title("One.jpg")
        self.assertTrue(b.visible("slide-title"))
        steps = [  # input, title after it
            (lambda: b.keys(Keys.SHIFT), "One.jpg"),  # no right to full screen yet
            (lambda: b.keys(Keys.ARROW_RIGHT), "Two.jpg"),
            (lambda: b.keys(Keys.SPACE), "Three.jpg"),
            (lambda: b.keys(Keys.ARROW_LEFT), "Two.jpg"),
            (lambda: b.keys(Keys.BACKSPACE), "One.jpg"),
            (lambda: b.keys(Keys.BACKSPACE), "One.jpg"),  # nothing before the first
            (lambda: b.keys(Keys.ENTER), "Two.jpg"),
            (lambda: b.click(), "Three.jpg"),
            (lambda: b.click(right=True), "Two.jpg"),
            (lambda: b.keys(Keys.ARROW_UP), "Two.jpg"),  # another key: no move
            (lambda: b.keys(Keys.ARROW_RIGHT), "Three.jpg"),
            (lambda: b.keys(Keys.ARROW_RIGHT), "Four.jpg"),
        ]
        for number, (step, title) in enumerate(steps):
            with self.subTest(step=number):
                step()
                b.wait_for_title(title)
        self.assertTrue(b.run("return document.fullscreenElement !== null;"),
                        "the first key asks for full screen")
        b.keys(Keys.ARROW_RIGHT)  # after the last slide without loop
        b.wait_for("the end of the show", b.ended)
        self.assertFalse(b.run("return document.fullscreenElement !== null;"))
        b.driver.find_element("id", "end-again").click()
        b.wait_for_title("One.jpg")

    def test_escape_and_leaving_full_screen_end_the_show(self):
        b = self.browser
        for leave in (lambda: b.keys(Keys.ESCAPE), lambda: b.run("document.exitFullscreen();")):
            self.open_show("leave", titled("One.jpg", "Two.jpg"), ("--titles",))
            b.wait_for_title("One.jpg")
            b.keys(Keys.ARROW_RIGHT)
            b.wait_for("full screen", lambda: b.run("return document.fullscreenElement !== null;"))
            leave()
            b.wait_for("the end of the show", b.ended)
            b.keys(Keys.ARROW_LEFT)  # nothing moves after the end
            self.assertTrue(b.ended())

    def test_timer_loops_and_pauses_on_other_keys(self):
        b = self.browser
        self.open_show("timer", titled("One.jpg", "Two.jpg"), ("--titles", "--delay", "1", "--loop"))
        for title in ("Two.jpg", "One.jpg", "Two.jpg"):  # round and round
            b.wait_for_title(title)
        b.keys(Keys.ARROW_DOWN)
        b.run("setTimeout(() => window.pausedTitle = document.title, 2500);")
        b.wait_for("2.5 s of pause", lambda: b.run("return window.pausedTitle;"))
        self.assertEqual(b.run("return window.pausedTitle;"), "Two.jpg")
        b.keys(Keys.ARROW_RIGHT)  # moves on and starts the timer again
        b.wait_for_title("One.jpg")
        b.wait_for_title("Two.jpg")

    def test_random_order_is_drawn_again_after_every_pass(self):
        b = self.browser
        draws = [0.9, 0.1, 0.6, 0.3, 0.0, 0.99, 0.5, 0.2]
        titles = ["A.jpg", "B.jpg", "C.jpg", "D.jpg"]
        self.open_show("random", titled(*titles), ("--titles", "--random", "--loop"),
                       random_draws(draws))
        order = list(range(len(titles)))
        draw = iter(draws * 4)

        def shuffle():
            for p in range(len(order)):
                j = int(next(draw) * len(order))
                order[p], order[j] = order[j], order[p]

        expected = []
        for _ in range(2):
            shuffle()
            expected += [titles[k] for k in order]
        seen = []
        for _ in expected:
            b.wait_for("a slide", lambda: b.driver.title in titles)
            seen.append(b.driver.title)
            b.run("document.title = '';")
            b.keys(Keys.ARROW_RIGHT)
        self.assertEqual(seen, expected)

    def test_pictures_fit_upright_and_centred(self):
        b = self.browser
        cases = [  # sample, its size as shown upright
            ("blue.bmp", (3000, 1000)),  # reduced to the width
            ("slow.bmp", (4000, 3000)),  # reduced to the height
            ("yellow.ico", (64, 64)),  # never enlarged
            ("cut.jpg", (900, 600)),  # shown as far as it goes, as the player does
            ("turned.jpg", (100, 200)),
        ]
        self.open_show("fit", [(f"{k}.{name}", name) for k, (name, _) in enumerate(cases)])
        for k, (name, (natural_width, natural_height)) in enumerate(cases):
            with self.subTest(name):
                b.wait_for("the picture", lambda: b.pictures() and b.run(
                    "return document.querySelector('canvas').dataset.shown !== 'seen';"))
                [shown] = b.pictures()
                width, height = b.run("return [innerWidth, innerHeight];")  # full screen or not
                scale = min(1, width / natural_width, height / natural_height)
                self.assertAlmostEqual(shown["width"], natural_width * scale, delta=1)
                self.assertAlmostEqual(shown["height"], natural_height * scale, delta=1)
                self.assertAlmostEqual(shown["left"] * 2 + shown["width"], width, delta=1)
                self.assertAlmostEqual(shown["top"] * 2 + shown["height"], height, delta=1)
                if k + 1 < len(cases):
                    b.run("document.querySelector('canvas').dataset.shown = 'seen';")
                    b.keys(Keys.ARROW_RIGHT)
        # The turned picture's red corner is at the top right once upright.
        red, green, blue, _ = b.run(
            "const c = document.querySelector('canvas');"
            "return Array.from(c.getContext('2d').getImageData(c.width - 5, 5, 1, 1).data);")
        self.assertEqual((red > 200, green < 80, blue < 80), (True, True, True))

    def test_bad_picture_is_captioned_and_the_show_goes_on(self):
        b = self.browser
        for titles in (("--titles",), ()):
            bad = [("Broken.jpg", "broken.jpg"), ("Huge.gif", "huge.gif")]
            self.open_show("bad", bad + [("Fine.jpg", "red.jpg")], titles)
            for title, _ in bad:
                b.wait_for_title((title if titles else "Pivolane") + " : ERROR: Invalid picture !")
                self.assertTrue(b.visible("slide-problem"))
                b.keys(Keys.ARROW_RIGHT)
            b.wait_for_title("Fine.jpg" if titles else "Pivolane")
            self.assertEqual(len(b.pictures()), 1)


class DamagedShowTest(BrowserTest):
    """Shows changed after they were written get the player's refusals."""

    @staticmethod
    def sealed_size(name):
        """The stored size of a sample picture in a sealed document."""
        size = os.path.getsize(samples()[name])
        return size + 16 * max(1, -(-size // 65536))

    def test_refusals(self):
        def flip(offset):
            def change(document):
                document[offset if offset >= 0 else len(document) + offset] ^= 0x01
                return document
            return change

        def huge_picture_size(document):  # the first entry's size, of a plain document
            document[128:132] = struct.pack("<i", 0x7FFFFFF0)
            return document

        b = self.browser
        slides = [("One.jpg", "red.jpg"), ("Two.jpg", "large.jpg")]
        options = ("--titles", "--language", "en")
        second = 2 * 136 + 16 + self.sealed_size("red.jpg")
        second_end = second + self.sealed_size("large.jpg")
        cases = [  # name, cipher, change, outcome
            ("header", STRONG, flip(-156 + 6), "wrong"),
            ("slide table", STRONG, flip(5), "wrong"),
            ("picture", STRONG, flip(second + 100), "Two.jpg : ERROR: Invalid picture !"),
            # After the end of the picture that a decoder reads, in its last part.
            ("picture's tail", STRONG, flip(second_end - 100),
             "Two.jpg : ERROR: Invalid picture !"),
            ("document cut", STRONG, lambda d: d[: len(d) // 3 * 2], "invalid"),
            ("page cut", STRONG, None, "invalid"),
            ("entry", (), huge_picture_size, "invalid"),
            ("cipher version", STRONG, flip(-156 + 153), "invalid"),
        ]
        for name, cipher, change, outcome in cases:
            with self.subTest(name):
                password = PASSWORD if cipher else None
                page = make_show("damaged", slides, options + cipher, password, change)
                if name == "page cut":  # in the middle of the show's data
                    with open(page, "rb") as f:
                        whole = f.read()
                    with open(page, "wb") as f:
                        f.write(whole[: whole.index(b'"application/octet-stream">') + 1001])
                b.open(page)
                if outcome != "invalid":
                    b.wait_for("the gate", lambda: b.visible("gate"))
                    b.keys(PASSWORD, Keys.ENTER)
                if outcome == "wrong":
                    b.wait_for("the wrong-password text",
                               lambda: b.text("gate-message") == "Wrong password !")
                elif outcome == "invalid":
                    b.wait_for("the invalid-file message", lambda: b.visible("notice"))
                    self.assertEqual(b.text("notice-text"), "Invalid file !")
                    self.assertFalse(b.visible("gate"))
                    b.driver.find_element("id", "notice-ok").click()
                    self.assertEqual((b.visible("end"), b.visible("end-again")), (True, False))
                else:
                    b.wait_for_title("One.jpg")
                    b.keys(Keys.ARROW_RIGHT)
                    b.wait_for_title(outcome)


class DeliveryTest(BrowserTest):
    """What the page fetches and what it deciphers, from file:// and from a
    plain http:// server."""

    def test_pictures_come_out_whole_and_nothing_is_fetched(self):
        pictures = ["red.jpg", "green.gif", "blue.bmp", "yellow.ico", "large.jpg"]
        originals = []
        for name in pictures:
            with open(samples()[name], "rb") as f:
                originals.append(fingerprint(f.read()))
        slides = [(f"{k + 1} {name}", name) for k, name in enumerate(pictures)]
        served = os.path.join(Paths.work, "served")
        os.makedirs(served, exist_ok=True)
        server = PageServer(served)
        self.addCleanup(server.close)
        for cipher in (XOR, STRONG):
            page = make_show("delivered", slides, ("--titles", "--language", "en", *cipher), PASSWORD)
            shutil.copy(page, os.path.join(served, "show.html"))
            for url in (page, server.url("show.html")):
                with self.subTest(cipher=cipher[1], url=url.split(":")[0]):
                    self.play_through(url, slides, originals)

    def play_through(self, url, slides, originals):
        b = self.browser
        b.open(url, PICTURE_RECORDER)
        b.wait_for("the gate", lambda: b.visible("gate"))
        b.keys(PASSWORD, Keys.ENTER)
        for title, _ in slides:
            b.wait_for_title(title)
            b.keys(Keys.ARROW_RIGHT)
        b.wait_for("the end of the show", b.ended)
        fingerprints = b.wait_for("the fingerprints", lambda: b.run(
            "return objectUrls.fingerprints.every(Boolean) && objectUrls.fingerprints;"))
        self.assertEqual(sorted(set(fingerprints)), sorted(originals))
        self.assertEqual(b.run("return isSecureContext;"), not url.startswith("http:"))
        made, revoked = b.run("return [objectUrls.made, objectUrls.revoked];")
        self.assertEqual(set(made), set(revoked), "every object URL is revoked")
        page = url if "://" in url else "file://" + url
        self.assertEqual([u for u in b.requested_urls() if not u.startswith(("blob:", "data:"))],
                         [page])


class PhoneTest(BrowserTest):
    """A phone's touch screen: swipes and taps, and nothing to scroll."""

    phone = True

    def test_swipes_taps_and_fit(self):
        b = self.browser
        page = make_show("phone", [("One.bmp", "blue.bmp"), ("Two.jpg", "red.jpg"),
                                   ("Three.jpg", "red.jpg")], ("--titles", "--language", "en"))
        b.open(page)
        b.wait_for_title("One.bmp")
        pages_before = b.run("return history.length;")
        steps = [((300, 60), "Two.jpg"), ((200, 200), "Three.jpg"), ((60, 300), "Two.jpg")]
        for (from_x, to_x), title in steps:  # swipe left, tap, swipe right
            b.touch(from_x, to_x)
            b.wait_for_title(title)
        width, height, scroll_width, scroll_height, history = b.run(
            "const page = document.scrollingElement;"
            "return [innerWidth, innerHeight, page.scrollWidth, page.scrollHeight, history.length];")
        self.assertLessEqual((scroll_width, scroll_height), (width, height))
        self.assertEqual(history, pages_before, "no swipe went back a page")
        b.touch(300, 60)
        b.wait_for_title("Three.jpg")
        [image] = b.pictures()
        self.assertLessEqual(image["width"], width)
        self.assertGreaterEqual(image["left"], 0)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--pivtool", "--write-samples", "--work"):
        parser.add_argument(option, required=True)
    arguments, groups = parser.parse_known_args()
    if BROWSER_MISSING:
        print(f"page_test: skipped: {BROWSER_MISSING}")
        return 77
    Paths.pivtool = arguments.pivtool
    Paths.write_samples = arguments.write_samples
    Paths.work = os.path.abspath(arguments.work)
    shutil.rmtree(Paths.work, ignore_errors=True)
    os.makedirs(Paths.work)
    result = unittest.main(argv=[sys.argv[0], *groups], exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
