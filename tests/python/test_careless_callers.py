# The Python module against careless and hostile callers: values it cannot read,
# pictures it cannot use, arrays of the wrong kind or size, names in the preset
# files' own code page, and Ctrl-C while a render runs.
import os
import shutil
import signal
import tempfile
import threading

import numpy
import pytest

import morvessan

PRESET_TEXT = (
    "Category 'Warm'\n"
    "Preset 'Cafe'\n"
    "Type: Cloud\nNoiseLevel: 3\nNoiseSeed: 12\nColours: 00000000, 0, 00FFFFFF, 255\nTotalOpacity: 100\n"
    "Transformation: 1, 0, 0, 0, 1, 0, 0, 0, 1\nNoiseWeights: 1, 0.5, 0.25\nNoiseParameter: 10\nBlur: 0\n"
    "Texture: 0 ''\nNoise: 0\n"
)


@pytest.fixture
def library(monkeypatch):
    """A presets folder of one file whose names are written in Windows-1252."""
    folder = tempfile.mkdtemp()
    text = PRESET_TEXT.encode("ascii").replace(b"Cafe", "Café".encode("cp1252"))
    text = text.replace(b"'Warm'", "'Crème'".encode("cp1252"))
    with open(os.path.join(folder, "Maison.txt"), "wb") as file:
        file.write(text)
    monkeypatch.setenv("MORVESSAN_PRESET_FOLDER", folder)
    yield folder
    shutil.rmtree(folder)


class TestFieldValues:
    def test_lists_inside_lists_and_lists_holding_themselves_are_type_errors(self):
        itself = []
        itself.append(itself)
        deep = [1.0]
        for _ in range(100000):
            deep = [deep]
        for value in (itself, deep, [[1, 0, 0], [0, 1, 0], [0, 0, 1]]):
            with pytest.raises(TypeError, match="holds numbers, not lists"):
                morvessan.render(8, 8, noiseWeights=value)
        with pytest.raises(TypeError, match="holds numbers, not lists"):
            morvessan.render(8, 8, noiseSeed=itself)

    def test_a_texture_picture_that_cannot_be_used_is_named(self):
        with tempfile.TemporaryDirectory() as folder:
            notes = os.path.join(folder, "notes.txt")
            with open(notes, "w") as file:
                file.write("no picture here\n")
            for path, cause in ((os.path.join(folder, "missing.png"), ""), (notes, "is not a PNG, JPEG or bitmap"),
                                (folder, "")):
                with pytest.raises(ValueError) as refused:
                    morvessan.render(16, 16, textureEnabled=True, texturePath=path, textureAmount=50)
                assert f"cannot use the texture picture '{path}'" in str(refused.value)
                assert cause in str(refused.value)
            # Switched off, the path is only kept.
            assert morvessan.render(4, 4, textureEnabled=False, texturePath=notes).shape == (4, 4, 4)


class TestPresetNames:
    def test_names_in_the_files_code_page_are_read_and_found(self, library):
        names = morvessan.presets()
        assert {"file": "Maison", "category": "Crème", "name": "Café"} in names
        fields = morvessan.preset("Café")
        assert fields["noiseSeed"] == 12
        assert morvessan.preset("café", category="crème")["noiseSeed"] == 12
        assert morvessan.render(8, 8, preset="Café").shape == (8, 8, 4)

    def test_every_refusal_has_its_message(self, library):
        with pytest.raises(ValueError) as refused:
            morvessan.preset("Cafés")
        message = str(refused.value)
        assert "no preset named 'Cafés'" in message
        assert "Café" in message  # offered as what was meant, decoded


class TestArrays:
    @pytest.mark.parametrize("dtype", [numpy.float32, numpy.float64, numpy.uint16, numpy.int32, numpy.int64,
                                       numpy.int8, numpy.bool_])
    def test_arrays_of_other_types_are_refused_not_cast(self, dtype):
        with pytest.raises(TypeError) as refused:
            morvessan.apply(numpy.full((8, 8, 3), 0.7 if dtype in (numpy.float32, numpy.float64) else 1, dtype))
        assert "uint8" in str(refused.value)
        assert numpy.dtype(dtype).name in str(refused.value)

    def test_things_that_are_not_arrays_are_refused(self):
        with pytest.raises(TypeError, match="numpy.ndarray of uint8"):
            morvessan.apply([[[1, 2, 3]]])

    def test_views_of_uint8_are_taken_as_they_are(self):
        picture = numpy.arange(8 * 10 * 3, dtype=numpy.uint8).reshape(8, 10, 3)
        view = picture[:, ::2, :]
        assert numpy.array_equal(morvessan.apply(view, totalOpacity=0), numpy.ascontiguousarray(view))

    def test_sizes_past_the_limits_are_value_errors_before_anything_is_read(self):
        one = numpy.zeros(3, numpy.uint8)
        for shape in ((2**32 + 2, 1, 3), (1, 2**31, 3), (70000, 1, 3)):
            huge = numpy.lib.stride_tricks.as_strided(one, shape=shape, strides=(0, 0, 1))
            with pytest.raises(ValueError):
                morvessan.apply(huge)
        with pytest.raises(ValueError, match="no pixels"):
            morvessan.apply(numpy.zeros((0, 4, 3), numpy.uint8))


class TestSignals:
    @pytest.mark.parametrize("keywords", [{}, {"depth": 16}])
    def test_a_signal_stops_a_render_and_raises_what_its_handler_raises(self, keywords):
        # Ctrl-C is SIGINT, whose handler raises KeyboardInterrupt; a handler of our
        # own shows the same path without disturbing the test runner.
        class Stopped(Exception):
            pass

        finished = threading.Event()

        def handler(number, frame):
            # Once: a signal that comes after the first must not land in the test's own lines.
            if not finished.is_set():
                finished.set()
                raise Stopped()

        kept = signal.signal(signal.SIGUSR1, handler)

        def ring():
            while not finished.wait(0.05):
                os.kill(os.getpid(), signal.SIGUSR1)

        ringer = threading.Thread(target=ring)
        ringer.start()
        try:
            with pytest.raises(Stopped):
                morvessan.render(6000, 6000, noiseLevel=12, **keywords)
        finally:
            finished.set()
            ringer.join()
            signal.signal(signal.SIGUSR1, kept)
        # The module is fit for the next render.
        assert morvessan.render(8, 8).shape == (8, 8, 4)
