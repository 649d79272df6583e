#!/usr/bin/python3
"""tickerlux-web in headless chromium: pastes an address into Web Server, fills the rest of the
form by its labels as a person would, presses Update Sign Now, and waits for the virtual sign to
show the line and for the preview to draw it.

    browser_test.py BUILD_DIR [--screenshot FILE.png]   (a 360 px wide window for the picture)
"""
import json
import os
import queue
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

COM_PORT = 6
LINE = "Browser news -- Alpha -- Beta"


def start(argv, env):
    return subprocess.Popen(argv, stdout=subprocess.PIPE, text=True, env=env)


def lines_of(process):
    """The process's output lines, read on a thread, as a queue."""
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(l) for l in process.stdout], daemon=True).start()
    return lines


def field(driver, label):
    """The input that the label with this text is tied to."""
    tied = driver.find_element(By.XPATH, f"//label[normalize-space()='{label}']")
    return driver.find_element(By.ID, tied.get_attribute("for"))


def main():
    build = sys.argv[1]
    screenshot = sys.argv[sys.argv.index("--screenshot") + 1] if "--screenshot" in sys.argv else None
    work = tempfile.TemporaryDirectory()
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work.name, "config"),
               no_proxy="127.0.0.1,localhost")
    page = os.path.join(work.name, "news.html")
    with open(page, "w") as f:
        f.write("<h>Alpha</h><h>Beta</h>")

    processes = []
    driver = None
    try:
        sign = start([f"{build}/tools/signsim/tickerlux-signsim", "--json", "--com", str(COM_PORT)], env)
        processes.append(sign)
        events = lines_of(sign)
        assert json.loads(events.get(timeout=30))["event"] == "ready"
        subprocess.run([f"{build}/cli/tickerlux-cli", "config",
                        "Connection=serial port - betabrite classic", f"ComPort={COM_PORT}"],
                       env=env, check=True)
        pages = start([f"{build}/tools/tickerlux-pageserve", "--path", "/news", page], env)
        processes.append(pages)
        page_port = pages.stdout.readline().split()[1]
        web = start([f"{build}/web/tickerlux-web", os.path.join(work.name, "feed.tlx"),
                     "--listen", "127.0.0.1:0"], env)
        processes.append(web)
        ready = web.stdout.readline()
        assert ready.startswith("Listening on http://127.0.0.1:"), ready
        url = ready.split()[-1]

        options = webdriver.ChromeOptions()
        for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--window-size=360,900"):
            options.add_argument(flag)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        # A phone's viewport: headless chromium keeps its window at least 500 px wide.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 360, "height": 900, "deviceScaleFactor": 1, "mobile": True})
        driver.get(url)
        wait = WebDriverWait(driver, 30)
        wait.until(lambda d: d.find_element(By.ID, "app").is_displayed())

        # An address alone: the server splits it into the two fields and looks for headlines.
        field(driver, "Web Server:").send_keys(f"http://127.0.0.1:{page_port}/news\t")
        wait.until(lambda d: field(d, "Directory/File on Website:").get_attribute("value") == "/news")
        assert field(driver, "Web Server:").get_attribute("value") == f"127.0.0.1:{page_port}"

        for label, value in (("Text Before Headline:", "<h>"),
                             ("Text After Headline:", "</h>"),
                             ("Leading Comment:", "Browser news")):
            box = field(driver, label)
            box.clear()
            box.send_keys(value)
        field(driver, "Color:").send_keys("Green")

        driver.find_element(By.XPATH, "//button[normalize-space()='Update Sign Now']").click()
        pressed = time.monotonic()
        shown = None
        while shown is None:
            event = json.loads(events.get(timeout=30))
            if event["event"] == "display":
                shown = event
        print(f"Update Sign Now to the line on the virtual sign: {time.monotonic() - pressed:.3f} s")
        assert shown["text"] == LINE, shown

        wait.until(lambda d: d.find_element(By.ID, "outcome").text == "Sign updated.")
        # The preview holds lit green LEDs once the line is drawn (a blank panel has none).
        wait.until(lambda d: d.execute_script(
            "const i = document.getElementById('previewImage');"
            "if (!i.complete || !i.naturalWidth) return false;"
            "const c = document.createElement('canvas');"
            "c.width = i.naturalWidth; c.height = i.naturalHeight;"
            "const g = c.getContext('2d'); g.drawImage(i, 0, 0);"
            "const p = g.getImageData(0, 0, c.width, c.height).data;"
            "for (let k = 0; k < p.length; k += 4) if (p[k + 1] > 150 && p[k] < 100) return true;"
            "return false;"))
        if screenshot:
            driver.save_screenshot(screenshot)
        print("ok")
    finally:
        if driver:
            driver.quit()
        for process in processes:
            process.terminate()
        for process in processes:
            process.wait(timeout=30)
    # SIGTERM ends the server cleanly.
    assert web.returncode == 0, web.returncode


if __name__ == "__main__":
    main()
