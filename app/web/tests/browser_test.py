#!/usr/bin/python3
"""The web site in a real browser: headless Chromium driven by Selenium.

    browser_test.py CASE --site DIR --serve SCRIPT [--hashes LIST]

Each case serves the site on a free port of its own (scripts/serve-web, with or without the
cross-origin isolation headers), opens it, checks one behaviour and that the browser's console
shows no error. Exit codes: 0 passed, 1 failed, 77 skipped because Chromium, its driver,
Selenium or the built site is missing (the reason is printed).
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

SKIP = 77
CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# ---- pictures -------------------------------------------------------------------------------

def png_pixels(data):
    """(width, height, rows of bytes, bytes per pixel) of an 8-bit, non-interlaced RGB(A) PNG."""
    check(data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    check(depth == 8 and colour in (2, 6) and interlace == 0, f"unexpected PNG format {header}")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            corner = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows, bpp


def colour_count(png):
    width, height, rows, bpp = png_pixels(png)
    colours = set()
    for row in rows[::4]:
        for x in range(0, width * bpp, 4 * bpp):
            colours.add(row[x:x + 3])
    return colours


# ---- the browser and the server --------------------------------------------------------------

class Site:
    def __init__(self, serve, site, isolation):
        command = [sys.executable, serve, "0", "--dir", site]
        if not isolation:
            command.append("--no-isolation")
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        check(" at http://" in line, f"serve-web did not start: {line!r}")
        self.url = line.split(" at ", 1)[1].strip()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def open_browser(width=960, height=600):
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError:
        skip("Selenium for Python is missing (apt-get install python3-selenium)")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--hide-scrollbars", f"--window-size={width},{height}", "--force-device-scale-factor=1"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service(DRIVER), options=options)
    driver.set_script_timeout(60)
    return driver


def wait_for(what, condition, seconds):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise Failure(f"timed out after {seconds} s waiting for {what}")


def console_errors(driver):
    return [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]


def requests_elsewhere(driver, origin):
    import json
    urls = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message.get("method") == "Network.requestWillBeSent":
            url = message["params"]["request"]["url"]
            if not (url.startswith(origin) or url.startswith("data:") or url.startswith("blob:")):
                urls.append(url)
    return urls


def start_drive(driver, url):
    driver.get(url)
    wait_for("the program to start", lambda: driver.execute_script("return document.body.dataset.started"), 30)
    # Until the first frame arrives, the canvas has its default size of 300 x 150.
    wait_for("a frame on the canvas", lambda: driver.execute_script(
        "const c = document.getElementById('drive'); return c.width !== 300 || c.height !== 150;"), 30)


def press(driver, keys):
    from selenium.webdriver.common.action_chains import ActionChains
    ActionChains(driver).send_keys(keys).perform()


# ---- the cases --------------------------------------------------------------------------------

def case_hashes(driver, site, args, isolation):
    every = 7
    with open(args.hashes) as f:
        expected = [line for line in f.read().splitlines() if (int(line.split(",")[0]) - 1) % every == 0]
    driver.get(f"{site.url}index.html?hashes={len(expected)}&every={every}&from=1")
    wait_for("'hashes done'", lambda: driver.title == "hashes done", 600)
    got = driver.execute_script("return document.getElementById('hashes').textContent").splitlines()
    rendering = driver.execute_script("return document.body.dataset.rendering")
    check(rendering == ("workers" if isolation else "page"),
          f"with isolation {isolation} the page painted with '{rendering}'")
    check(len(got) == len(expected), f"{len(got)} lines, not {len(expected)}")
    differ = [(e, g) for e, g in zip(expected, got) if e != g]
    check(not differ, f"{len(differ)} of {len(expected)} frames differ, the first {differ[:1]}")
    print(f"all {len(expected)} frames (every {every} steps) hash as recorded, painted by '{rendering}'")


def case_hashes_isolated(driver, site, args):
    case_hashes(driver, site, args, True)


def case_hashes_plain(driver, site, args):
    case_hashes(driver, site, args, False)


def case_drive(driver, site, args):
    start_drive(driver, f"{site.url}index.html")
    time.sleep(1.0)
    png = driver.get_screenshot_as_png()
    colours = colour_count(png)
    check(len(colours) >= 50, f"the screenshot has only {len(colours)} colours")
    # The drive starts in daylight: the sky at the top is blue, so red and blue are the right
    # way round (the frame's 0x00RRGGBB words in the canvas's R, G, B, A bytes).
    width, _, rows, bpp = png_pixels(png)
    red, green, blue = rows[2][(width // 2) * bpp:(width // 2) * bpp + 3]
    check(blue > red + 40, f"the sky is not blue: red {red}, green {green}, blue {blue}")
    print(f"the running page shows {len(colours)} colours (sampled)")
    state = driver.execute_script(
        "const c = document.getElementById('drive'), d = document.documentElement;"
        "return [c.width, c.height, innerWidth, innerHeight, devicePixelRatio, d.scrollWidth, d.scrollHeight];")
    width, height, inner_w, inner_h, ratio, scroll_w, scroll_h = state
    check((width, height) == (round(inner_w * ratio), round(inner_h * ratio)),
          f"canvas {width} x {height} for a window of {inner_w} x {inner_h} at ratio {ratio}")
    check(scroll_w <= inner_w and scroll_h <= inner_h, f"the page scrolls: {scroll_w} x {scroll_h}")
    others = requests_elsewhere(driver, site.url.rstrip("/"))
    check(not others, f"requests to other hosts: {others}")


def case_pause(driver, site, args):
    start_drive(driver, f"{site.url}index.html")
    time.sleep(0.5)
    press(driver, " ")
    wait_for("the pause", lambda: driver.execute_script("return document.body.dataset.paused") == "yes", 5)
    time.sleep(0.3)   # a frame already on its way may still land
    first = driver.get_screenshot_as_png()
    time.sleep(1.0)
    second = driver.get_screenshot_as_png()
    check(first == second, "the picture moved while paused")
    press(driver, " ")
    wait_for("the drive to resume", lambda: driver.execute_script("return document.body.dataset.paused") == "no", 5)
    time.sleep(1.0)
    check(driver.get_screenshot_as_png() != second, "the picture did not move after resuming")
    print("space paused the drive (two screenshots 1 s apart equal) and resumed it")


def case_resize(driver, site, args):
    start_drive(driver, f"{site.url}index.html")
    size = lambda: driver.execute_script(
        "const c = document.getElementById('drive'); return [c.width, c.height];")
    before = size()
    driver.set_window_size(700, 500)
    inner = driver.execute_script("return [innerWidth, innerHeight]")
    check(inner != before, "the window did not change size")
    after = wait_for("the canvas to follow the window", lambda: size() == inner and size(), 10)
    print(f"canvas {before[0]} x {before[1]} became {after[0]} x {after[1]} with the window")


def case_hidden(driver, site, args):
    # The tab hidden as the browser hides it: document.hidden and the visibilitychange event.
    start_drive(driver, f"{site.url}index.html")
    shown = lambda: driver.execute_script("return Module._veldmark_frames_shown()")
    set_hidden = lambda hidden: driver.execute_script(
        "Object.defineProperty(document, 'hidden', {configurable: true, get: () => arguments[0]});"
        "document.dispatchEvent(new Event('visibilitychange'));", hidden)
    time.sleep(0.5)
    set_hidden(True)
    time.sleep(0.2)
    stopped = shown()
    time.sleep(1.0)
    check(shown() == stopped, f"{shown() - stopped} frames drawn while hidden")
    set_hidden(False)
    wait_for("the drive to go on", lambda: shown() > stopped, 5)
    print(f"nothing drawn while hidden (stopped at frame {stopped}); it went on from there when shown")


def case_keys(driver, site, args):
    start_drive(driver, f"{site.url}index.html")
    fullscreen = lambda: driver.execute_script("return document.fullscreenElement !== null")
    press(driver, "f")
    wait_for("full screen", fullscreen, 5)
    cursor = lambda: driver.execute_script("return document.getElementById('drive').style.cursor")
    wait_for("the cursor to hide", lambda: cursor() == "none", 5)
    from selenium.webdriver.common.action_chains import ActionChains
    ActionChains(driver).move_by_offset(10, 10).perform()
    wait_for("the cursor to show again", lambda: cursor() == "", 2)
    press(driver, "f")
    wait_for("the window again", lambda: not fullscreen(), 5)
    driver.find_element("id", "drive").click()
    wait_for("full screen from a click", fullscreen, 5)
    print("F and a click toggle full screen; the cursor hides in full screen and comes back with the mouse")


def case_no_simd(driver, site, args):
    # A browser whose WebAssembly rejects vector instructions: the page says so and loads nothing.
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        const validate = WebAssembly.validate;
        WebAssembly.validate = function (bytes) {
            const b = new Uint8Array(bytes.buffer || bytes);
            for (let i = 0; i + 1 < b.length; ++i) if (b[i] === 0xfd) return false;
            return validate.call(WebAssembly, bytes);
        };"""})
    driver.get(f"{site.url}index.html")
    text = wait_for("the message", lambda: driver.execute_script(
        "const s = document.getElementById('status'); return !s.hidden && s.textContent;"), 10)
    check("WebAssembly SIMD" in text, f"the message does not name what is missing: {text!r}")
    time.sleep(0.5)
    check(not driver.execute_script("return document.body.dataset.started"), "the program started anyway")
    print(f"without SIMD the page says: {text}")


CASES = {
    "hashes_isolated": (case_hashes_isolated, True),
    "hashes_plain": (case_hashes_plain, False),
    "drive": (case_drive, True),
    "drive_plain": (case_drive, False),
    "pause": (case_pause, True),
    "resize": (case_resize, True),
    "keys": (case_keys, True),
    "hidden": (case_hidden, False),
    "no_simd": (case_no_simd, True),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--site", required=True)
    parser.add_argument("--serve", required=True)
    parser.add_argument("--hashes")
    args = parser.parse_args()
    for tool, package in ((CHROMIUM, "chromium"), (DRIVER, "chromium-driver")):
        if not os.access(tool, os.X_OK):
            skip(f"{tool} is missing (apt-get install {package})")
    if not os.path.isfile(os.path.join(args.site, "veldmark.wasm")):
        skip(f"no web site in {args.site} (scripts/build-web needs emscripten)")
    run, isolation = CASES[args.case]
    site = Site(args.serve, args.site, isolation)
    driver = None
    try:
        driver = open_browser()
        run(driver, site, args)
        errors = console_errors(driver)
        check(not errors, f"the console shows errors: {errors}")
    except Failure as failure:
        print(f"FAIL {args.case}: {failure}")
        if driver:
            for entry in driver.get_log("browser"):
                print("  console:", entry.get("level"), entry.get("message"))
        return 1
    finally:
        if driver:
            driver.quit()
        site.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
