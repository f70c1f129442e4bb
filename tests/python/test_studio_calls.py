# The command line and the Python call that Morvessan Studio shows draw the same
# picture: each is run as the user would paste it, and their pixels compared.
import json
import os
import re
import shlex
import subprocess
import tempfile
import urllib.request

import numpy
import pytest

import morvessan
from test_morvessan import PROGRAM, read_bmp, with_alpha


@pytest.fixture(scope="module")
def studio():
    with tempfile.TemporaryDirectory() as folder:
        server = subprocess.Popen([PROGRAM, "studio", "--no-browser", "--export-dir", folder],
                                  stdout=subprocess.PIPE, text=True)
        try:
            address = re.search(r"http://127\.0\.0\.1:\d+/[0-9a-f]{32}/", server.stdout.readline()).group(0)
            yield address, folder
        finally:
            server.terminate()
            server.wait()


def ask(address, path, body):
    request = urllib.request.Request(address + "api/" + path, json.dumps(body).encode(),
                                     {"Content-Type": "application/json"})
    with urllib.request.urlopen(request) as answer:
        return json.loads(answer.read())


@pytest.mark.parametrize("texture", [
    {"fields": {"type": "Marble", "noiseSeed": "7", "colours": "#102040@0,#C0804080@128,#FFFFFF@255",
                "noiseWeights": "1,0.5,0.25,0.125", "noiseEnabled": "on", "noise": "20"}},
    {"fields": {"type": "Wood", "noiseParameter": "12.5", "blurEnabled": "on", "blur": "4"},
     "tileable": True, "patternSize": 30},
    {"fields": {"type": "Fire", "transformation": "0.5,0.25,0.1,-0.3,1.5,0.2,0,0,1", "totalOpacity": "60"},
     "background": "#203040"},
])
def test_the_shown_command_and_python_call_draw_the_same_picture(studio, texture):
    address, folder = studio
    out = os.path.join(folder, "shown.bmp")
    shown = ask(address, "command", {**texture, "width": 60, "height": 44, "file": out})
    words = shlex.split(shown["commandLine"])
    assert words[:3] == ["morvessan", "render", out]
    done = subprocess.run([PROGRAM, *words[1:], "--quiet"], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert shown["python"].startswith("morvessan.render(60, 44")
    got = eval(shown["python"], {"morvessan": morvessan})
    assert numpy.array_equal(got, with_alpha(read_bmp(out)))
