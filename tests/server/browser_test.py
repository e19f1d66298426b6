#!/usr/bin/python3
"""Two tables enter a whole round from two headless Chromium sessions on
`orla-cli serve`, one of them reloading mid-round; the file and the ranking page
then hold exactly what was accepted. Leaves screenshots of the table page at
phone width (entering a round, and the travellers once it is complete) and of the
ranking page in the folder given as the third argument.

    browser_test.py ORLA_CLI WORK_DIR [SCREENSHOT_DIR]
"""
import json
import os
import re
import signal
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.common.by import By

cli, work = sys.argv[1], sys.argv[2]
shots = sys.argv[3] if len(sys.argv) > 3 else None
os.makedirs(work, exist_ok=True)
otr = os.path.join(work, "browser.otr")
for name in (otr, otr + ".tables"):
    if os.path.exists(name):
        os.remove(name)
subprocess.run([cli, "new", otr, "--movement", "mitchell", "--pairs", "10",
                "--boards-per-round", "2", "--name", "Browser"], check=True, stdout=subprocess.DEVNULL)
port = 19000 + os.getpid() % 1000
server = subprocess.Popen([cli, "serve", otr, "--address", "127.0.0.1", "--port", str(port),
                           "--show-results", "--show-travellers"], stdout=subprocess.PIPE, text=True)
lines = {}
for line in server.stdout:
    m = re.match(r"Table (\d+): (\S+)", line)
    if m:
        lines[int(m.group(1))] = m.group(2)
    if "Stop with Ctrl+C" in line:
        break
assert len(lines) == 5, lines


def browser():
    o = webdriver.ChromeOptions()
    for a in ("--headless=new", "--no-sandbox", "--window-size=360,900"):
        o.add_argument(a)
    return webdriver.Chrome(options=o)


def click(d, text):
    for _ in range(150):
        for b in d.find_elements(By.TAG_NAME, "button"):
            if b.text.strip() == text and b.is_enabled():
                b.click()
                time.sleep(0.15)
                return
        time.sleep(0.1)
    raise AssertionError("no button " + text + " in " + d.find_element(By.ID, "page").text)


def page_text(d, wanted, seconds=15):
    """The page's text once every word of `wanted` is in it (a loaded machine may
    take a while to fetch and draw), or as it stands when the time is up."""
    deadline = time.time() + seconds
    while True:
        text = d.find_element(By.ID, "page").text
        if all(w in text for w in wanted) or time.time() > deadline:
            return text
        time.sleep(0.2)


def enter(d, level, strain, declarer, result):
    click(d, "Contract…")
    click(d, level)
    click(d, strain)
    click(d, declarer)
    click(d, result)
    click(d, "Show the score")
    click(d, "Accept (EW)")


failures = []
a, b = browser(), browser()
try:
    a.get(lines[1])
    b.get(lines[2])
    enter(a, "4", "♠", "N", "=")           # table 1, board 1: +420
    enter(b, "3", "NT", "E", "-1")         # table 2, board 3 (EW vulnerable): +100
    b.refresh()                            # a reload mid-round shows the server's state
    if "Accepted" not in page_text(b, ["Accepted"]):
        failures.append("the reload lost table 2's accepted board")
    if shots:
        a.save_screenshot(os.path.join(shots, "table-page.png"))
    enter(a, "2", "♥", "S", "+1")          # table 1, board 2 (NS vulnerable): +140
    enter(b, "6", "♦", "W", "=")           # table 2, board 4 (both vulnerable): -1370
    text = page_text(a, ["Round 2", "goes to table", "Travellers of round 1", "4♠ N =", "140"])
    if "Round 2" not in text or "goes to table" not in text:
        failures.append("table 1 did not move on: " + text)
    if "Travellers of round 1" not in text or "4♠ N =" not in text or "140" not in text:
        failures.append("table 1 shows no travellers of round 1: " + text)
    a.refresh()                            # where the pairs go survives a reload
    text = page_text(a, ["goes to table", "Travellers of round 1"])
    if "goes to table" not in text or "Travellers of round 1" not in text:
        failures.append("a reload lost where the pairs go or the travellers: " + text)
    if shots:
        a.execute_script("document.querySelector('.travellers').scrollIntoView()")
        time.sleep(0.3)
        a.save_screenshot(os.path.join(shots, "table-travellers.png"))
    a.get(lines[1].split("/t/")[0] + "/ranking")
    ranking = page_text(a, ["Boards complete: none (0/10)"])
    if "Boards complete: none (0/10)" not in ranking:
        failures.append("ranking: " + ranking)
    if shots:
        a.set_window_size(1024, 700)
        a.save_screenshot(os.path.join(shots, "ranking-page.png"))
finally:
    a.quit()
    b.quit()
    server.send_signal(signal.SIGTERM)
    server.wait(timeout=20)

dump = json.loads(subprocess.run([cli, "dump", otr], check=True, capture_output=True, text=True).stdout)
stored = {(bd + 1, e + 1): v for bd, row in enumerate(dump["Results"]) for e, v in enumerate(row) if v}
expected = {(1, 1): 42.0, (2, 1): 14.0, (3, 1): 10.0, (4, 1): -137.0}
if stored != expected:
    failures.append("the file holds %r, not %r" % (stored, expected))
journal = [json.loads(l) for l in open(otr + ".tables")]
if [r["kind"] for r in journal] != ["keys", "result", "result", "result", "result"]:
    failures.append("journal: %r" % journal)
if server.returncode != 0:
    failures.append("serve ended with %d" % server.returncode)
for f in failures:
    print("FAILED:", f)
sys.exit(1 if failures else 0)
