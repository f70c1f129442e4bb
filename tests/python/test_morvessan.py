# The Python module against the command line: the same texture gives the same
# bytes, bad values get the command line's message, presets read back exactly.
import os
import struct
import subprocess
import tempfile
import threading
import zlib

import numpy
import pytest

import morvessan

PROGRAM = os.environ["MORVESSAN_PROGRAM"]


def read_bmp(path):
    """Rows of RGB from a 24-bit bottom-up bitmap, as our writer makes them."""
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24
    stride = (width * 3 + 3) & ~3
    rows = [numpy.frombuffer(data, numpy.uint8, width * 3, offset + y * stride).reshape(width, 3)
            for y in range(abs(height))]
    picture = numpy.stack(rows[::-1] if height > 0 else rows)
    return picture[:, :, ::-1]


def write_bmp(path, rgb):
    height, width, _ = rgb.shape
    stride = (width * 3 + 3) & ~3
    header = struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 54 + stride * height, 0, 0, 54, 40, width, height,
                         1, 24, 0, stride * height, 2835, 2835, 0, 0)
    rows = b"".join(rgb[y, :, ::-1].tobytes().ljust(stride, b"\0") for y in reversed(range(height)))
    open(path, "wb").write(header + rows)


def cli(*args):
    return subprocess.run([PROGRAM, *args, "--quiet"], capture_output=True, text=True)


def with_alpha(rgb):
    return numpy.dstack([rgb, numpy.full(rgb.shape[:2], 255, numpy.uint8)])


@pytest.mark.parametrize("options, keywords", [
    (["--type", "marble", "--seed", "7", "--octaves", "10"], {"type": "marble", "noiseSeed": 7, "noiseLevel": 10}),
    (["--preset", "Bonfire"], {"preset": "Bonfire"}),
    (["--type", "marble", "--seed", "7", "--pattern-size", "25"], {"type": "marble", "noiseSeed": 7, "pattern_size": 25}),
    (["--type", "fire", "--seed", "3", "--tileable"], {"type": "fire", "noiseSeed": 3, "tileable": True}),
    (["--type", "wood", "--set", "colours=#102040@0,#FFFFFF@255", "--set", "noiseParameter=12.5"],
     {"type": "wood", "colours": "#102040@0,#FFFFFF@255", "noiseParameter": 12.5}),
    (["--type", "cloud", "--set", "noiseWeights=1,0.5,0.25", "--set", "blurEnabled=on", "--set", "blur=3"],
     {"type": "cloud", "noiseWeights": [1, 0.5, 0.25], "blurEnabled": True, "blur": 3}),
])
def test_render_gives_the_command_lines_pixels(options, keywords):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.bmp")
        done = cli("render", "--size", "70x45", *options, out)
        assert done.returncode == 0, done.stderr
        expected = with_alpha(read_bmp(out))
    got = morvessan.render(70, 45, **keywords)
    assert got.dtype == numpy.uint8 and got.shape == (45, 70, 4)
    assert numpy.array_equal(got, expected)


def test_a_frame_of_an_evolving_loop_is_the_command_lines_frame():
    with tempfile.TemporaryDirectory() as folder:
        done = cli("render", "--size", "40x30", "--type", "marble", "--tileable", "--loop", "6",
                   "--per-frame-evolve", "0.4", "--frame-range", "4:4", os.path.join(folder, "f-%d.bmp"))
        assert done.returncode == 0, done.stderr
        expected = with_alpha(read_bmp(os.path.join(folder, "f-4.bmp")))
    got = morvessan.render(40, 30, type="marble", tileable=True, evolve=0.4, loop=6, frame=4)
    assert numpy.array_equal(got, expected)
    # Frame 6 of a 6-frame loop is its first again.
    assert numpy.array_equal(morvessan.render(40, 30, evolve=0.4, loop=6, frame=6),
                             morvessan.render(40, 30, evolve=0.4, loop=6, frame=0))
    with pytest.raises(ValueError, match="loop=N needs evolve=DZ"):
        morvessan.render(8, 8, loop=4)
    with pytest.raises(ValueError, match="belong to render"):
        morvessan.apply(numpy.zeros((4, 4, 3), numpy.uint8), tileable=True)


def test_apply_gives_the_command_lines_pixels():
    y, x = numpy.mgrid[0:40, 0:57]
    picture = numpy.dstack([x * 4, y * 6, (x + y) * 2]).astype(numpy.uint8)
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "in.bmp")
        out = os.path.join(folder, "out.bmp")
        write_bmp(source, picture)
        done = cli("apply", "--preset", "Bonfire", "--set", "totalOpacity=60", source, out)
        assert done.returncode == 0, done.stderr
        expected = read_bmp(out)
    got = morvessan.apply(picture, preset="Bonfire", totalOpacity=60)
    assert got.shape == picture.shape
    assert numpy.array_equal(got, expected)
    assert not numpy.array_equal(got, picture)
    # Four planes keep their alpha.
    rgba = with_alpha(picture)
    rgba[::2, :, 3] = 0
    assert morvessan.apply(rgba, preset="Bonfire").shape == rgba.shape


def test_a_value_out_of_range_is_refused_with_the_command_lines_words():
    with tempfile.TemporaryDirectory() as folder:
        done = cli("render", "--size", "8x8", "--set", "noiseSeed=40000", os.path.join(folder, "out.png"))
    assert done.returncode == 2
    with pytest.raises(ValueError) as refused:
        morvessan.render(8, 8, noiseSeed=40000)
    assert str(refused.value) in done.stderr
    with pytest.raises(ValueError, match="unknown field 'noiseSed'"):
        morvessan.render(8, 8, noiseSed=1)
    with pytest.raises(ValueError):
        morvessan.render(8, 8, preset="No Such Preset")
    with pytest.raises(ValueError):
        morvessan.render(0, 8)
    with pytest.raises(ValueError):
        morvessan.render(8, 8, background="grey")
    with pytest.raises(ValueError):
        morvessan.apply(numpy.zeros((4, 4, 2), numpy.uint8))
    with pytest.raises(TypeError):
        morvessan.render(8, 8, noiseSeed=object())


def test_presets_read_back_exactly():
    names = morvessan.presets()
    assert all(set(entry) == {"file", "category", "name"} for entry in names)
    assert any(entry["name"] == "Bonfire" for entry in names)
    fields = morvessan.preset("Bonfire")
    assert list(fields) == morvessan.fields
    assert isinstance(fields["noiseSeed"], int) and isinstance(fields["blurEnabled"], bool)
    assert len(fields["transformation"]) == 9
    assert numpy.array_equal(morvessan.render(40, 30, **fields), morvessan.render(40, 30, preset="Bonfire"))


def test_renders_run_side_by_side_without_the_interpreter_lock():
    expected = morvessan.render(300, 200, type="fire", noiseSeed=3)
    results = [None] * 4

    def work(index):
        results[index] = morvessan.render(300, 200, type="fire", noiseSeed=3)

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert all(numpy.array_equal(result, expected) for result in results)


def read_png(path):
    """The samples of an 8- or 16-bit PNG as stored, by zlib and the format's row filters alone."""
    data = open(path, "rb").read()
    at, compressed = 8, b""
    while at < len(data):
        length, = struct.unpack_from(">I", data, at)
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack_from(">IIBB", body)
        elif kind == b"IDAT":
            compressed += body
    channels = {0: 1, 2: 3, 6: 4}[colour]
    step = depth // 8 * channels
    stride = step * width
    raw = zlib.decompress(compressed)
    rows, above = [], [0] * stride
    for y in range(height):
        kind, line = raw[y * (stride + 1)], raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        row = [0] * stride
        for x in range(stride):
            a = row[x - step] if x >= step else 0
            b = above[x]
            c = above[x - step] if x >= step else 0
            if kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                guess = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            else:
                guess = [0, a, b, (a + b) // 2][kind]
            row[x] = (line[x] + guess) & 255
        rows.append(row)
        above = row
    samples = numpy.array(rows, numpy.uint8)
    if depth == 16:
        samples = samples.view(">u2").astype(numpy.uint16)
    return samples.reshape(height, width, channels)


def read_png16(path):
    samples = read_png(path)
    assert samples.dtype == numpy.uint16
    return samples


@pytest.mark.parametrize("background", ["white", "transparent"])
def test_sixteen_bits_give_the_command_lines_pixels(background):
    options = ["--type", "marble", "--seed", "7", "--set", "colours=#102040@0,#F0E0D080@255", "--grain", "20"]
    keywords = {"type": "marble", "noiseSeed": 7, "colours": "#102040@0,#F0E0D080@255", "noiseEnabled": True,
                "noise": 20}
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.png")
        done = cli("render", "--size", "61x37", "--background", background, "--depth", "16", *options, out)
        assert done.returncode == 0, done.stderr
        expected = read_png16(out)
    if expected.shape[2] == 3:
        expected = numpy.dstack([expected, numpy.full(expected.shape[:2], 65535, numpy.uint16)])
    got = morvessan.render(61, 37, background=background, depth=16, **keywords)
    assert got.dtype == numpy.uint16 and got.shape == (37, 61, 4)
    assert numpy.array_equal(got, expected)
    # Reduced, the 8-bit picture; and many more levels than it has.
    eight = morvessan.render(61, 37, background=background, **keywords).astype(int)
    visible = eight[:, :, 3] > 0
    assert numpy.abs((got.astype(int) + 128) // 257 - eight)[visible].max() <= 3
    assert len(numpy.unique(got[:, :, 0])) > 4 * len(numpy.unique(eight[:, :, 0]))


def test_the_height_map_gives_the_command_lines_levels():
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "height.png")
        done = cli("render", "--size", "150x40", "--type", "wood", "--seed", "3", "--height-map", out)
        assert done.returncode == 0, done.stderr
        expected = read_png16(out)[:, :, 0]
    got = morvessan.render(150, 40, type="wood", noiseSeed=3, height_map=True)
    assert got.dtype == numpy.uint16 and got.shape == (40, 150)
    assert numpy.array_equal(got, expected)


@pytest.mark.parametrize("keywords, message", [
    ({"depth": 12}, "depth 12 is not 8 or 16"),
    ({"depth": 8, "height_map": True}, "height_map gives 16-bit grey levels"),
    ({"depth": 16, "noiseLevel": 99}, "noiseLevel '99' is outside"),
])
def test_bad_depths_are_refused(keywords, message):
    with pytest.raises(ValueError, match=message):
        morvessan.render(10, 10, **keywords)


def test_the_job_options_reach_python_and_the_command_line_with_one_range():
    """Each option of the job's table is a keyword here and an option of the command
    line, and both refuse a value past either end of its one range."""
    assert {"pattern_size", "loop", "evolve", "tileable", "preset"} <= set(morvessan.options)
    help_text = cli("render", "--help").stdout
    for keyword, option in morvessan.options.items():
        assert option["option"] in help_text, keyword
        if option["kind"] == "choice":
            assert "|".join(option["choices"]) in help_text, keyword
        if option["kind"] != "integer":
            continue
        low, high = (int(end) for end in option["range"])
        extra = ["--per-frame-evolve", "1", "--frame-range", "0:0"] if keyword == "loop" else []
        for wrong in (low - 1, high + 1):
            refused = cli("render", "--size", "8x8", option["option"], str(wrong), *extra, "x-%d.png")
            assert refused.returncode == 2, (keyword, wrong)
            assert f"{low}..{high}" in refused.stderr, (keyword, refused.stderr)
            words = {"evolve": 0.5} if keyword == "loop" else {}
            with pytest.raises(ValueError, match=f"{low}.*{high}"):
                morvessan.render(8, 8, **{keyword: wrong}, **words)
        morvessan.render(8, 8, **{keyword: high}, **({"evolve": 0.5} if keyword == "loop" else {}))


@pytest.mark.parametrize("compression", ["fast", "default", "small"])
def test_save_writes_the_command_lines_png_at_each_compression(compression):
    """save() takes the job's compression words and gives the command line's bytes for
    the same pixels; the pixels read back whole."""
    assert morvessan.options["compression"]["choices"] == ["fast", "default", "small"]
    keywords = {"type": "fire", "noiseSeed": 4, "noiseEnabled": True, "noise": 10}
    with tempfile.TemporaryDirectory() as folder:
        expected, ours = os.path.join(folder, "cli.png"), os.path.join(folder, "ours.png")
        done = cli("render", "--size", "90x50", "--type", "fire", "--seed", "4", "--grain", "10",
                   "--compression", compression, expected)
        assert done.returncode == 0, done.stderr
        picture = morvessan.render(90, 50, **keywords)[:, :, :3]
        morvessan.save(picture, ours, compression=compression)
        assert open(ours, "rb").read() == open(expected, "rb").read()
        assert numpy.array_equal(read_png(ours), picture)


def test_save_refuses_bad_words_paths_and_arrays():
    picture = numpy.zeros((4, 5, 3), numpy.uint8)
    with tempfile.TemporaryDirectory() as folder:
        with pytest.raises(ValueError, match="compression 'tiny' is not fast, default or small"):
            morvessan.save(picture, os.path.join(folder, "a.png"), compression="tiny")
        with pytest.raises(ValueError, match=r"\.png, \.jpg"):
            morvessan.save(picture, os.path.join(folder, "a.gif"))
        with pytest.raises(OSError):
            morvessan.save(picture, os.path.join(folder, "no such folder", "a.png"))
        with pytest.raises(TypeError, match="uint8"):
            morvessan.save(picture.astype(numpy.float32), os.path.join(folder, "a.png"))
        assert os.listdir(folder) == []
    with pytest.raises(TypeError, match="argument of save"):
        morvessan.render(8, 8, compression="small")


def test_pattern_size_zero_is_the_default():
    assert numpy.array_equal(morvessan.render(12, 8, pattern_size=0, noiseSeed=3), morvessan.render(12, 8, noiseSeed=3))
    with pytest.raises(ValueError, match=r"pattern_size -1 is outside 0\.\.30000"):
        morvessan.render(12, 8, pattern_size=-1)
