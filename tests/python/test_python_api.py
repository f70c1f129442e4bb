# The module as Python users expect it: a version, snake_case keywords beside the
# table's names, TypeErrors that name the keyword, RGB or RGBA, a mask for apply,
# the command line's limits, and a stub that lists every keyword.
import ast
import os
import re
import tempfile

import numpy
import pytest

import morvessan
from test_morvessan import cli, read_bmp, write_bmp

SOURCE = os.path.join(os.path.dirname(__file__), "..", "..")


def test_the_version_is_the_projects():
    with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as cmake:
        assert morvessan.__version__ == re.search(r"project\(Morvessan VERSION ([0-9.]+)", cmake.read()).group(1)


def test_fields_are_snake_case_keywords_and_the_tables_names_are_taken_too():
    assert "noise_seed" in morvessan.fields and "noiseSeed" not in morvessan.fields
    assert morvessan.field_table["noise_seed"]["name"] == "noiseSeed"
    snake = morvessan.render(40, 30, type="marble", noise_seed=7, noise_level=9, blur_enabled=True, blur=2,
                             noise_weights=[1, 0.5])
    camel = morvessan.render(40, 30, type="marble", noiseSeed=7, noiseLevel=9, blurEnabled=True, blur=2,
                             noiseWeights=[1, 0.5])
    assert numpy.array_equal(snake, camel)
    fields = morvessan.preset("Bonfire")
    assert list(fields) == morvessan.fields
    # Callers that read the table's names keep working.
    assert fields["noiseSeed"] == fields["noise_seed"]
    with pytest.raises(KeyError):
        fields["noSuchField"]
    assert numpy.array_equal(morvessan.render(20, 20, **fields), morvessan.render(20, 20, preset="Bonfire"))


@pytest.mark.parametrize("keywords, named", [
    ({"tileable": "yes"}, "tileable must be True or False, not str"),
    ({"tileable": 1}, "tileable must be True or False, not int"),
    ({"frame": "2", "evolve": 0.1}, "frame must be a whole number, not str"),
    ({"frame": True, "evolve": 0.1}, "frame must be a whole number, not bool"),
    ({"pattern_size": 1.5}, "pattern_size must be a whole number, not float"),
    ({"evolve": "fast"}, "evolve must be a number, not str"),
    ({"preset": 3}, "preset must be text \\(str\\), not int"),
    ({"noise_seed": object()}, "noise_seed: cannot read"),
    ({"noise_weights": [[1]]}, "noise_weights: a field's list holds numbers"),
])
def test_a_value_of_the_wrong_kind_is_a_type_error_naming_its_keyword(keywords, named):
    with pytest.raises(TypeError, match=named):
        morvessan.render(8, 8, **keywords)


def test_channels_give_rgb_or_rgba():
    rgba = morvessan.render(30, 20, type="fire", noise_seed=4)
    rgb = morvessan.render(30, 20, type="fire", noise_seed=4, channels=3)
    assert rgb.shape == (20, 30, 3) and numpy.array_equal(rgb, rgba[:, :, :3])
    deep = morvessan.render(30, 20, type="fire", noise_seed=4, depth=16, channels=3)
    assert deep.shape == (20, 30, 3) and deep.dtype == numpy.uint16
    clear = morvessan.render(30, 20, type="fire", background="transparent", colours="#FF800000@0,#FFFFFFFF@255")
    assert clear[:, :, 3].min() < 255
    with pytest.raises(ValueError, match="channels 2"):
        morvessan.render(8, 8, channels=2)
    with pytest.raises(ValueError, match="height_map"):
        morvessan.render(8, 8, height_map=True, channels=3)


def test_a_type_or_seed_alone_shows_its_whole_range_as_on_the_command_line():
    alone = morvessan.render(64, 64, noise_seed=5, channels=3)
    # Black to white, opaque: the whole range, where the block's own gradient (clear
    # to white over a white canvas) left only the top quarter of the levels.
    assert alone.min() < 64 and alone.max() > 191
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "seed.bmp")
        assert cli("render", "--size", "64x64", "--seed", "5", out).returncode == 0
        assert numpy.array_equal(alone, read_bmp(out))
    # A gradient given, a preset or a kept block decide for themselves.
    given = morvessan.render(64, 64, noise_seed=5, colours="#00000000@0,#FFFFFFFF@255", channels=3)
    assert given.min() >= 128


def test_sides_go_as_far_as_the_command_lines_render():
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "wide.bmp")
        done = cli("render", "--size", "30001x2", "--type", "wood", "--seed", "9", out)
        assert done.returncode == 0, done.stderr
        wide = morvessan.render(30001, 2, type="wood", noise_seed=9, channels=3)
        assert numpy.array_equal(wide, read_bmp(out))
    with pytest.raises(ValueError, match="65535"):
        morvessan.render(65536, 1)


def test_a_mask_limits_apply_as_the_command_lines_mask():
    rng = numpy.random.default_rng(5)
    photo = rng.integers(0, 256, (24, 32, 3), dtype=numpy.uint8)
    levels = numpy.tile(numpy.linspace(0, 255, 32).round().astype(numpy.uint8), (24, 1))
    with tempfile.TemporaryDirectory() as folder:
        write_bmp(os.path.join(folder, "in.bmp"), photo)
        write_bmp(os.path.join(folder, "mask.bmp"), numpy.dstack([levels] * 3))
        out = os.path.join(folder, "out.bmp")
        done = cli("apply", "--preset", "Bonfire", "--mask", os.path.join(folder, "mask.bmp"),
                   os.path.join(folder, "in.bmp"), out)
        assert done.returncode == 0, done.stderr
        expected = read_bmp(out)
    assert numpy.array_equal(morvessan.apply(photo, mask=levels, preset="Bonfire"), expected)
    assert numpy.array_equal(morvessan.apply(photo, mask=levels / 255.0, preset="Bonfire"), expected)
    half = numpy.zeros((24, 32), dtype=bool)
    half[:, 16:] = True
    masked = morvessan.apply(photo, mask=half, preset="Bonfire")
    assert numpy.array_equal(masked[:, :16], photo[:, :16]) and not numpy.array_equal(masked[:, 16:], photo[:, 16:])
    with pytest.raises(ValueError, match="the mask is 8 x 8 but the picture is 32 x 24"):
        morvessan.apply(photo, mask=numpy.zeros((8, 8), numpy.uint8))
    with pytest.raises(TypeError, match="int16"):
        morvessan.apply(photo, mask=numpy.zeros((24, 32), numpy.int16))
    with pytest.raises(ValueError, match="from 0 to 1"):
        morvessan.apply(photo, mask=numpy.full((24, 32), 1.5))


def test_the_stub_lists_every_keyword_with_a_type():
    folder = os.path.dirname(morvessan.__file__)
    assert os.path.exists(os.path.join(folder, "py.typed"))
    with open(os.path.join(folder, "__init__.pyi"), encoding="utf-8") as stub:
        tree = ast.parse(stub.read())
    functions = {node.name: node for node in tree.body if isinstance(node, ast.FunctionDef)}
    assert set(functions) >= {"render", "apply", "presets", "preset", "save"}
    render = [a.arg for a in functions["render"].args.kwonlyargs]
    apply = [a.arg for a in functions["apply"].args.kwonlyargs]
    for keyword in morvessan.fields:
        assert keyword in render and keyword in apply, keyword
    for keyword in morvessan.options:
        assert keyword in render or keyword == "compression", keyword  # compression is save()'s
    assert [a.arg for a in functions["save"].args.kwonlyargs] == ["compression"]
    assert "tileable" not in apply and "mask" in apply and "channels" in render
    assert len(render) == len(set(render))
    assert all(a.annotation is not None for a in functions["render"].args.kwonlyargs)


@pytest.mark.parametrize("options, keywords", [
    (["--type", "marble", "--seed", "5"], {"type": "marble", "noise_seed": 5}),
    (["--type", "cloud", "--tileable", "--normal-strength", "2.5", "--normal-green", "down", "--pattern-size", "40"],
     {"type": "cloud", "tileable": True, "normal_strength": 2.5, "normal_green": "down", "pattern_size": 40}),
])
def test_normal_maps_are_the_command_lines(options, keywords):
    from test_morvessan import read_png16
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "normals.png")
        done = cli("render", "--size", "90x60", "--normal-map", *options, out)
        assert done.returncode == 0, done.stderr
        expected = read_png16(out)
    got = morvessan.render(90, 60, normal_map=True, **keywords)
    assert got.dtype == numpy.uint16 and got.shape == (60, 90, 3)
    assert numpy.array_equal(got, expected)
    length = numpy.linalg.norm(got / 65535.0 * 2 - 1, axis=2)
    assert numpy.allclose(length, 1, atol=1e-4)
    with pytest.raises(ValueError, match="normal_map belongs to render"):
        morvessan.apply(numpy.zeros((4, 4, 3), numpy.uint8), normal_map=True)
    with pytest.raises(ValueError, match="not 'up' or 'down'"):
        morvessan.render(8, 8, normal_map=True, normal_green="left")
