#!/usr/bin/env python3
# Morvessan Studio in Debian's Chromium, driven by its driver: the page loads, its
# controls edit the texture, a drag moves it, a preset it saves is listed by the
# command line, and its export is the bytes of the command it shows. Screenshots
# at two window sizes are left in the folder given.
# usage: test_studio_browser.py MORVESSAN_PROGRAM SCREENSHOT_FOLDER
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

program, shots = sys.argv[1], sys.argv[2]
os.makedirs(shots, exist_ok=True)
work = tempfile.mkdtemp(prefix='morvessan-studio-browser-')
presets = os.path.join(work, 'presets')
exports = os.path.join(work, 'exports')
shutil.copytree(os.path.join(os.path.dirname(program), 'Morvessan Presets'), presets)
os.makedirs(exports)
textures = os.path.join(os.path.dirname(program), 'Morvessan Textures')


def wait_for(what, check, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        value = check()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError('timed out waiting for ' + what)


server = subprocess.Popen([program, 'studio', '--no-browser', '--export-dir', exports, '--presets-dir', presets,
                           '--textures-dir', textures], stdout=subprocess.PIPE, text=True)
options = Options()
options.binary_location = '/usr/bin/chromium'
for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                 '--window-size=1400,950', '--hide-scrollbars']:
    options.add_argument(argument)
driver = None
try:
    line = server.stdout.readline()
    address = re.search(r'http://127\.0\.0\.1:\d+/[0-9a-f]{32}/', line)
    assert address, 'no address in: ' + line
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.get(address.group(0))
    js = driver.execute_script
    shown = lambda: int(js("return +(document.getElementById('preview').dataset.ready || 0)"))
    wait_for('the first preview', lambda: shown() > 0 and not js('return window.studio.inFlight'))
    assert 'Bonfire' in driver.find_element(By.ID, 'message').text, 'the page does not start at the showcase'
    wait_for('the thumbnails', lambda: js("return [...document.querySelectorAll('#library-grid img')]"
                                          ".slice(0, 4).every(i => i.complete && i.naturalWidth > 0)"))
    driver.save_screenshot(os.path.join(shots, 'studio-wide.png'))

    def settled(after):
        wait_for('a new preview', lambda: shown() > after and not js('return window.studio.inFlight'))

    # A preset from the grid, then the seed typed into its box.
    before = shown()
    driver.find_elements(By.CSS_SELECTOR, '#library-grid .preset')[2].click()
    settled(before)
    seed = driver.find_element(By.CSS_SELECTOR, 'input[name=noiseSeed]')
    seed.clear()
    before = shown()
    seed.send_keys('4321\n')
    settled(before)
    assert js('return window.studio.fields.noiseSeed') == '4321'

    # A drag moves the pattern: the transformation the server hands back changes.
    matrix = js('return window.studio.fields.transformation')
    before = shown()
    frame = driver.find_element(By.ID, 'preview-frame')
    ActionChains(driver).move_to_element(frame).click_and_hold().move_by_offset(60, 25).release().perform()
    settled(before)
    wait_for('the moved transformation', lambda: js('return window.studio.fields.transformation') != matrix)

    # Seamless, seen tiled.
    before = shown()
    driver.find_element(By.ID, 'tileable').click()
    settled(before)
    driver.find_element(By.ID, 'show-tiled').click()
    assert driver.find_element(By.ID, 'tiled').is_displayed()
    driver.save_screenshot(os.path.join(shots, 'studio-seamless.png'))
    driver.find_element(By.ID, 'show-tiled').click()

    # Saved as a preset, which the command line then lists.
    name = driver.find_element(By.ID, 'save-name')
    name.clear()
    name.send_keys('Browser Made')
    driver.find_element(By.ID, 'save-preset').click()
    wait_for('the saved preset', lambda: 'Saved' in driver.find_element(By.ID, 'message').text)
    listed = subprocess.run([program, 'presets', 'list', '--presets-dir', presets, '--textures-dir', textures],
                            capture_output=True, text=True)
    assert 'Browser Made' in listed.stdout, listed.stdout

    # Exported, and the bytes of the command the page shows.
    for box, value in (('export-width', '320'), ('export-height', '200'), ('export-name', 'browser.png')):
        element = driver.find_element(By.ID, box)
        element.clear()
        element.send_keys(value + '\n')
    wait_for('the command', lambda: 'browser.png --size 320x200' in driver.find_element(By.ID, 'command-line').text)
    driver.find_element(By.ID, 'export').click()
    wait_for('the export', lambda: 'Exported' in driver.find_element(By.ID, 'message').text, 120)
    command = shlex.split(driver.find_element(By.ID, 'command-line').text)
    assert command[:3] == ['morvessan', 'render', 'browser.png'], command
    again = os.path.join(work, 'again')
    os.makedirs(again)
    made = subprocess.run([program] + command[1:] + ['--quiet', '--presets-dir', presets, '--textures-dir', textures],
                          cwd=again, capture_output=True, text=True)
    assert made.returncode == 0, made.stderr
    with open(os.path.join(exports, 'browser.png'), 'rb') as a, open(os.path.join(again, 'browser.png'), 'rb') as b:
        assert a.read() == b.read(), 'the export differs from the command line it shows'

    timings = js('return window.studio.timings')
    print('input to picture (ms):', timings)
    driver.set_window_size(900, 1100)
    time.sleep(0.5)
    driver.save_screenshot(os.path.join(shots, 'studio-narrow.png'))
    errors = [entry for entry in driver.get_log('browser') if entry['level'] == 'SEVERE']
    assert not errors, errors
    print('studio in the browser: all checks passed')
finally:
    if driver:
        driver.quit()
    server.terminate()
    server.wait()
    shutil.rmtree(work, ignore_errors=True)
