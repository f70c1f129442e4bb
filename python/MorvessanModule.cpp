// The Python module "morvessan": keyword arguments become field texts, NumPy
// arrays become host images and back; the work is in PythonTextures.
#include "VXLib/VXUTIL/VXPlatform.h"
#include "VXLib/VXUTIL/VXTextEncoding.h"
#include "job/JobCanvas.h"
#include "job/JobFiles.h"
#include "job/JobFolders.h"
#include "job/JobOptions.h"
#include "job/JobError.h"
#include "job/JobPlatform.h"
#include "job/JobPictureReader.h"
#include "python/PythonTextures.h"
#include "renderer/RenderThreads.h"
#include "plugin/PSMorvessanModuleSettings.h"
#include "texture/TextureFieldTable.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <functional>

namespace py = pybind11;
using namespace morvessan;
using namespace morvessan::python;

namespace {

// The folders: the two variables the plug-in reads, else share/morvessan of the
// prefix the module is installed in, else the build's own.
TextureFolders folders() {
    namespace fs = std::filesystem;
    TextureFolders found{MORVESSAN_BUILD_PRESETS, MORVESSAN_BUILD_TEXTURES};
    const fs::path module = py::module_::import("morvessan").attr("__file__").cast<std::string>();
    std::error_code ec;
    // Installed by pip: the package carries its presets and pictures.
    if (fs::is_directory(module.parent_path() / "presets", ec)) {
        found = {(module.parent_path() / "presets").string(), (module.parent_path() / "textures").string()};
    }
    // Installed as PREFIX/lib/python3.X/dist-packages/morvessan/: the data is in PREFIX/share.
    for (fs::path up = module.parent_path(); up.has_relative_path(); up = up.parent_path()) {
        if (up.filename() == "lib") {
            const fs::path data = up.parent_path() / job::kSharedDataFolder;
            if (fs::is_directory(data / "presets", ec)) {
                found = {(data / "presets").string(), (data / "textures").string()};
            }
            break;
        }
    }
    if (const std::string presets = vxProcessEnvironment(kPresetFolderVariable); !presets.empty()) {
        found.presets = presets;
    }
    if (const std::string textures = vxProcessEnvironment(kTextureFolderVariable); !textures.empty()) {
        found.textures = textures;
    }
    return found;
}

// A keyword's value as the command line would take it: on/off, numbers in their
// shortest exact form, sequences joined with commas. A sequence holds plain values:
// one inside another (or inside itself) is refused rather than walked.
std::string fieldText(const py::handle& value, bool inSequence = false) {
    if (py::isinstance<py::bool_>(value)) {
        return value.cast<bool>() ? "on" : "off";
    }
    if (py::isinstance<py::str>(value)) {
        return value.cast<std::string>();
    }
    if (py::isinstance<py::int_>(value)) {
        return py::str(value).cast<std::string>();
    }
    if (py::isinstance<py::sequence>(value)) {
        if (inSequence) {
            throw py::type_error("a field's list holds numbers, not lists");
        }
        std::string joined;
        for (const py::handle item : value) {
            joined += (joined.empty() ? "" : ",") + fieldText(item, true);
        }
        return joined;
    }
    if (py::hasattr(value, "__float__")) { // float, and NumPy's number types
        return formatShortest(value.cast<double>());
    }
    throw py::type_error("cannot read a " + py::str(value.get_type()).cast<std::string>() + " as a field value");
}

// Messages may quote names from preset files, which are Windows-1252: Python's
// exceptions take UTF-8 (anything else would leave the message empty).
template <typename Work>
auto guarded(Work work) {
    try {
        return work();
    } catch (const RequestError& error) {
        throw py::value_error(vxToUtf8(error.message));
    } catch (const job::JobError& error) {
        throw py::value_error(vxToUtf8(error.what()));
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(vxToUtf8(error.what()));
    }
}

// What a keyword's value must be, said as Python says it: "tileable must be True or
// False, not str".
[[noreturn]] void wrongKind(const std::string& keyword, const char* expected, const py::handle& value) {
    throw py::type_error(keyword + " must be " + expected + ", not " +
                         py::str(value.get_type().attr("__name__")).cast<std::string>());
}

bool flagOf(const std::string& keyword, const py::handle& value) {
    if (!py::isinstance<py::bool_>(value) && !py::isinstance(value, py::module_::import("numpy").attr("bool_"))) {
        wrongKind(keyword, "True or False", value);
    }
    return value.cast<bool>();
}

std::int64_t wholeOf(const std::string& keyword, const py::handle& value) {
    // bool is an int in Python, but tileable=1 or frame=True is a slip, not a number.
    if (py::isinstance<py::bool_>(value) || !py::hasattr(value, "__index__")) {
        wrongKind(keyword, "a whole number", value);
    }
    return py::int_(py::reinterpret_borrow<py::object>(value)).cast<std::int64_t>();
}

double numberOf(const std::string& keyword, const py::handle& value) {
    if (py::isinstance<py::bool_>(value) || !py::hasattr(value, "__float__")) {
        wrongKind(keyword, "a number", value);
    }
    return value.cast<double>();
}

std::string textOf(const std::string& keyword, const py::handle& value) {
    if (!py::isinstance<py::str>(value)) {
        wrongKind(keyword, "text (str)", value);
    }
    return value.cast<std::string>();
}

// A whole number that fits the request's 32 bits; a larger one is out of every range.
std::int32_t narrowed(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The job's own keywords (kJobOptions) choose where to start and what space the
// pattern lies in; every other keyword is a field, by its keyword (noise_seed) or
// its name in the table (noiseSeed).
TextureRequest requestOf(const py::kwargs& keywords) {
    TextureRequest request;
    for (const auto& [key, value] : keywords) {
        const std::string name = key.cast<std::string>();
        const job::JobOption* option = job::findJobOption(name);
        if (name == "frame") { // a sequence's frame: the command line writes ranges of them instead
            request.pattern.frame = narrowed(wholeOf(name, value));
        } else if (option == nullptr) {
            const TextureField* field = findTextureFieldByKeyword(name);
            try {
                request.fields.emplace_back(field != nullptr ? std::string(field->name) : name, fieldText(value));
            } catch (const py::type_error& error) {
                throw py::type_error(name + ": " + error.what());
            }
        } else if (name == "preset") {
            request.preset = textOf(name, value);
        } else if (name == "preset_file") {
            request.presetFile = textOf(name, value);
        } else if (name == "category") {
            request.category = textOf(name, value);
        } else if (name == "pattern_size") {
            request.patternSize = narrowed(wholeOf(name, value));
        } else if (name == "tileable") {
            request.pattern.tileable = flagOf(name, value);
        } else if (name == "evolve") {
            request.pattern.evolve = numberOf(name, value);
        } else if (name == "loop") {
            request.pattern.loop = narrowed(wholeOf(name, value));
        } else if (name == "normal_map") {
            request.normalMap = flagOf(name, value);
        } else if (name == "normal_strength") {
            const double strength = numberOf(name, value);
            request.normal.strength = guarded([&] { return job::jobNumber(*option, strength, name); });
        } else if (name == "normal_green") {
            const std::string green = textOf(name, value);
            if (green != "up" && green != "down") {
                throw py::value_error("normal_green '" + green + "' is not 'up' or 'down'");
            }
            request.normal.greenUp = green == "up";
        } else if (name == "compression") {
            throw py::type_error("'" + name + "' is an argument of save(), which writes the pixels render() gives");
        } else {
            // background and height_map are render()'s own arguments.
            throw py::type_error("'" + name + "' is an argument of render(), not a texture keyword");
        }
    }
    return request;
}

// Ctrl-C while a run has released the GIL: the run asks now and then whether
// Python has a signal waiting (a few times a second, so that the question costs
// nothing) and stops when it has; the caller then raises what the handler raised,
// KeyboardInterrupt for Ctrl-C.
class Interruption {
public:
    bool operator()() {
        if (m_raised) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - m_asked < std::chrono::milliseconds(50)) {
            return false;
        }
        m_asked = now;
        const py::gil_scoped_acquire held;
        // Only the main thread runs signal handlers; elsewhere this answers 0.
        m_raised = PyErr_CheckSignals() != 0;
        return m_raised;
    }
    // With the GIL held again: the handler's exception, when it raised one.
    void raiseIfRaised() const {
        if (m_raised) {
            throw py::error_already_set();
        }
    }

private:
    std::chrono::steady_clock::time_point m_asked = std::chrono::steady_clock::now();
    bool m_raised = false;
};

// Runs `work` without the GIL, so that other Python threads go on meanwhile; a
// Ctrl-C stops it and is raised as Python raises it.
template <typename Work>
auto withoutGil(TextureRequest& request, Work work) {
    Interruption interruption;
    request.interrupted = std::ref(interruption);
    try {
        const py::gil_scoped_release free;
        return work();
    } catch (...) {
        interruption.raiseIfRaised();
        throw;
    }
}

// Rows of RGBA (or RGB with channels=3) in 16 bits, opaque where the picture has no
// alpha, or of grey levels.
py::array deepArray(const DeepTexture& picture, int channels) {
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.planes == 1) {
        py::array_t<std::uint16_t> array({picture.height, picture.width});
        std::copy_n(picture.samples.data(), pixels, array.mutable_data());
        return array;
    }
    py::array_t<std::uint16_t> array({picture.height, picture.width, channels});
    std::uint16_t* out = array.mutable_data();
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint16_t* in = picture.samples.data() + i * picture.planes;
        std::copy_n(in, 3, out + i * channels);
        if (channels == 4) {
            out[i * 4 + 3] = picture.planes == 4 ? in[3] : 65535;
        }
    }
    return array;
}

py::array render(std::int32_t width, std::int32_t height, const std::string& background,
                 const std::optional<int>& depthAsked, bool heightMap, int channels, const py::kwargs& keywords) {
    const int depth = depthAsked.value_or(heightMap ? 16 : 8);
    if (depth != 8 && depth != 16) {
        throw py::value_error("depth " + std::to_string(depth) + " is not 8 or 16");
    }
    if (heightMap && depth == 8) {
        throw py::value_error("height_map gives 16-bit grey levels, which depth=8 cannot hold");
    }
    if (channels != 3 && channels != 4) {
        throw py::value_error("channels " + std::to_string(channels) + " is not 3 (RGB) or 4 (RGBA)");
    }
    if (heightMap && channels != 4) {
        throw py::value_error("height_map gives one grey level a pixel; channels is for colour pictures");
    }
    TextureRequest request = requestOf(keywords);
    const TextureFolders where = folders();
    if (request.normalMap && (heightMap || (depth == 8 && depthAsked))) {
        throw py::value_error(heightMap ? "normal_map gives normals, not heights (height_map)"
                                        : "normal_map gives 16-bit samples, which depth=8 cannot hold");
    }
    if (request.normalMap && channels != 4) {
        throw py::value_error("normal_map gives three samples a pixel; channels is for colour pictures");
    }
    if (request.normalMap || depth == 16 || heightMap) {
        return guarded([&] {
            const DeepTexture picture = withoutGil(request, [&] {
                return renderDeepTexture(width, height, background, request, where,
                                         request.normalMap ? DeepKind::NormalMap
                                         : heightMap       ? DeepKind::HeightMap
                                                           : DeepKind::Colour);
            });
            return deepArray(picture, request.normalMap ? 3 : channels);
        });
    }
    return guarded([&]() -> py::array {
        // The rows go straight into the array: the picture is held once, however large.
        checkCanvas(width, height, background);
        py::array_t<std::uint8_t> array({height, width, channels});
        std::uint8_t* out = array.mutable_data();
        const std::int32_t planes = canvasShape(width, height, background).planes;
        withoutGil(request, [&] {
            return renderTexture(width, height, background, request, where,
                                 [&](std::int32_t y, const std::uint8_t* row) {
                                     std::uint8_t* line = out + static_cast<std::size_t>(y) * width * channels;
                                     for (std::int32_t x = 0; x < width; ++x) {
                                         std::copy_n(row + x * planes, 3, line + x * channels);
                                         if (channels == 4) {
                                             line[x * 4 + 3] = planes == 4 ? row[x * 4 + 3] : 255;
                                         }
                                     }
                                 });
        });
        return array;
    });
}

// The picture as C-ordered uint8 rows; any other kind of array is refused, not cast:
// a cast would turn floats in 0..1 black and wrap values past 255.
py::array_t<std::uint8_t, py::array::c_style> pictureBytes(const py::handle& given) {
    if (!py::isinstance<py::array>(given)) {
        throw py::type_error("a picture is a numpy.ndarray of uint8, not a " +
                             py::str(given.get_type().attr("__name__")).cast<std::string>());
    }
    const auto array = py::reinterpret_borrow<py::array>(given);
    if (!py::isinstance<py::array_t<std::uint8_t>>(array)) {
        throw py::type_error(
            "a picture is an array of uint8 (0..255 a channel), not " + py::str(array.dtype()).cast<std::string>() +
            "; for floats in 0..1 pass (picture * 255).round().astype(numpy.uint8), for uint16 (picture >> 8)");
    }
    if (array.ndim() != 3 || (array.shape(2) != 3 && array.shape(2) != 4)) {
        throw py::value_error("a picture is an array of rows x columns x 3 (RGB) or 4 (RGBA) bytes");
    }
    // Checked before the sizes are narrowed to the image's 32-bit fields.
    const std::int64_t rows = array.shape(0);
    const std::int64_t columns = array.shape(1);
    if (rows < 1 || columns < 1) {
        throw py::value_error("the picture has no pixels (" + std::to_string(rows) + " x " + std::to_string(columns) +
                              ")");
    }
    if (const std::string problem = pictureSizeProblem(columns, rows, std::int32_t(array.shape(2))); !problem.empty()) {
        throw py::value_error(problem);
    }
    return py::array_t<std::uint8_t, py::array::c_style>::ensure(array);
}

// A selection mask: rows x columns of uint8 (255 = selected), bool, or floats in
// 0..1 (rounded to the 256 levels the filter reads).
HostMask maskOf(const py::handle& given) {
    if (!py::isinstance<py::array>(given)) {
        wrongKind("mask", "a numpy.ndarray of rows x columns", given);
    }
    const auto array = py::reinterpret_borrow<py::array>(given);
    if (array.ndim() != 2 || array.shape(0) < 1 || array.shape(1) < 1 || array.shape(0) > kMaxHostSide ||
        array.shape(1) > kMaxHostSide) {
        throw py::value_error("a mask is an array of rows x columns, one level a pixel");
    }
    HostMask mask(static_cast<std::int32_t>(array.shape(1)), static_cast<std::int32_t>(array.shape(0)));
    const std::string kind = py::str(array.dtype()).cast<std::string>();
    if (kind == "uint8") {
        const auto bytes = py::array_t<std::uint8_t, py::array::c_style>::ensure(array);
        std::memcpy(mask.bytes.data(), bytes.data(), mask.bytes.size());
    } else if (kind == "bool") {
        const auto flags = py::array_t<bool, py::array::c_style>::ensure(array);
        std::transform(flags.data(), flags.data() + mask.bytes.size(), mask.bytes.begin(),
                       [](bool on) { return on ? std::uint8_t{255} : std::uint8_t{0}; });
    } else if (kind == "float32" || kind == "float64") {
        const auto levels = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
        for (std::size_t i = 0; i < mask.bytes.size(); ++i) {
            const double level = levels.data()[i];
            if (!(level >= 0 && level <= 1)) {
                throw py::value_error("a float mask holds levels from 0 to 1, not " + formatShortest(level));
            }
            mask.bytes[i] = static_cast<std::uint8_t>(std::lround(level * 255));
        }
    } else {
        throw py::type_error("a mask is an array of uint8 (255 = selected), bool, or floats in 0..1, not " + kind);
    }
    return mask;
}

py::array_t<std::uint8_t> apply(const py::object& given, const py::object& mask, const py::kwargs& keywords) {
    const auto picture = pictureBytes(given);
    HostImage image(static_cast<std::int32_t>(picture.shape(1)), static_cast<std::int32_t>(picture.shape(0)),
                    static_cast<std::int32_t>(picture.shape(2)));
    std::memcpy(image.pixels.data(), picture.data(), image.pixels.size());
    TextureRequest request = requestOf(keywords);
    if (request.normalMap) {
        throw py::value_error("normal_map belongs to render: it makes a new picture");
    }
    if (!mask.is_none()) {
        request.mask = maskOf(mask);
    }
    const TextureFolders where = folders();
    return guarded([&] {
        const HostImage result = withoutGil(request, [&] { return applyTexture(std::move(image), request, where); });
        py::array_t<std::uint8_t> array({result.height, result.width, result.planes});
        std::memcpy(array.mutable_data(), result.pixels.data(), result.pixels.size());
        return array;
    });
}

// The picture written to `path` in the format its extension names, a PNG deflated
// as `compression` says: the command line's file for the same pixels and options.
void save(const py::object& given, const std::string& path, const std::string& compression) {
    const auto picture = pictureBytes(given);
    VXPictureWriting writing;
    writing.threads = renderThreadCount();
    guarded([&] { writing.compression = job::jobCompression(compression, "compression"); });
    if (!isWritableImagePath(path)) {
        throw py::value_error("'" + path + "' names no format save() writes (.png, .jpg, .jpeg or .bmp)");
    }
    HostImage image(static_cast<std::int32_t>(picture.shape(1)), static_cast<std::int32_t>(picture.shape(0)),
                    static_cast<std::int32_t>(picture.shape(2)));
    std::memcpy(image.pixels.data(), picture.data(), image.pixels.size());
    std::string error;
    bool saved = false;
    {
        const py::gil_scoped_release free;
        saved = saveHostImage(path, image, error, writing);
    }
    if (!saved) {
        PyErr_SetString(PyExc_OSError, vxToUtf8(error).c_str());
        throw py::error_already_set();
    }
}

py::list presets() {
    py::list list;
    const std::vector<PresetName> names = guarded([] { return listPresets(folders()); });
    for (const PresetName& name : names) {
        py::dict entry;
        entry["file"] = vxToUtf8(name.file);
        entry["category"] = vxToUtf8(name.category);
        entry["name"] = vxToUtf8(name.name);
        list.append(entry);
    }
    return list;
}

// A field's text as a Python value of its kind.
py::object fieldValue(const TextureField& field, const std::string& text) {
    const auto numbers = [&] {
        py::list list;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find(',', start), text.size());
            double value = 0;
            parseDecimal(std::string_view(text).substr(start, end - start), value);
            list.append(value);
            start = end + 1;
        }
        return list;
    };
    switch (field.kind) {
    case TextureFieldKind::Integer: return py::int_(std::stoll(text));
    case TextureFieldKind::Decimal: {
        double value = 0;
        parseDecimal(text, value);
        return py::float_(value);
    }
    case TextureFieldKind::Flag: return py::bool_(text == "on");
    case TextureFieldKind::Weights:
    case TextureFieldKind::Matrix: return numbers();
    default: return py::str(vxToUtf8(text));
    }
}

py::dict preset(const std::string& name, const std::optional<std::string>& presetFile,
                const std::optional<std::string>& category) {
    TextureRequest choice;
    choice.preset = name;
    choice.presetFile = presetFile;
    choice.category = category;
    const TextureFolders where = folders();
    return guarded([&] {
        py::dict fields;
        for (const auto& [field, text] : presetFields(choice, where)) {
            const TextureField& declared = *findTextureField(field);
            fields[py::str(textureFieldKeyword(declared))] = fieldValue(declared, text);
        }
        return fields;
    });
}

} // namespace

// The build passes the project's version; this is its value when it does not.
#if !defined(MORVESSAN_VERSION)
#define MORVESSAN_VERSION "unknown"
#endif

// The compiled part of the package "morvessan" (morvessan/__init__.py holds the rest).
PYBIND11_MODULE(_morvessan, module) {
    job::installJobPlatform("morvessan");
    module.doc() = "Procedural textures (Cloud, Fire, Marble, Wood) rendered by the Morvessan filter.";
    module.attr("__version__") = MORVESSAN_VERSION;
    module.def(
        "render", &render, py::arg("width"), py::arg("height"), py::kw_only(), py::arg("background") = "white",
        py::arg("depth") = py::none(), py::arg("height_map") = false, py::arg("channels") = 4,
        "render(width, height, *, background='white', depth=None (8), height_map=False, channels=4, preset=None, "
        "preset_file=None, category=None, pattern_size=0, **fields) -> numpy.ndarray of shape (height, width, 4), "
        "uint8 RGBA (RGB with channels=3); uint16 with depth=16 (the gradient at each pixel's exact value, as "
        "render --depth 16 writes it); with height_map=True uint16 of shape (height, width), the texture's values "
        "-1..1 as floor((v + 1) x 32767.5 + 0.5), as render --height-map writes them. Sides up to 65535, as the "
        "command line's render.\n\n"
        "Starts from the preset named (else the defaults), sets each field given by its keyword "
        "(noise_seed=7, type='marble', colours='#102040@0,#FFFFFF@255', noise_weights=[...]; the field table's "
        "names, noiseSeed=7, are taken too) with its range checked, and draws the texture over a white, "
        "transparent or #RRGGBB canvas. pattern_size=N makes N pixels the pattern's unit in both directions, as "
        "--pattern-size does. tileable=True makes a seamless tile (--tileable); frame=K with evolve=DZ draws "
        "frame K of a sequence whose noise moves DZ lattice cells in depth each frame (--per-frame-evolve), and "
        "loop=N makes that sequence come back to its first frame after N frames (--loop).");
    module.def("apply", &apply, py::arg("picture"), py::kw_only(), py::arg("mask") = py::none(),
               "apply(picture, *, mask=None, preset=None, preset_file=None, category=None, **fields) -> "
               "numpy.ndarray.\n\n"
               "Draws the texture over an array of rows x columns x 3 (RGB) or 4 (RGBA) uint8 and returns "
               "a new array of the same shape. mask (rows x columns: uint8 with 255 selected, bool, or floats "
               "in 0..1) limits the texture to the selection, as the command line's --mask.");
    module.def("save", &save, py::arg("picture"), py::arg("path"), py::kw_only(), py::arg("compression") = "default",
               "save(picture, path, *, compression='default') writes an array of rows x columns x 3 (RGB) or 4 "
               "(RGBA) uint8 to a PNG, JPEG or bitmap file named by its extension, replacing a file whole or not "
               "at all. compression is fast, default or small, as render --compression takes it: a PNG's bytes "
               "are then the command line's for the same pixels.");
    module.def("presets", &presets, "presets() -> list of {'file', 'category', 'name'} for every preset.");
    module.def("preset", &preset, py::arg("name"), py::kw_only(), py::arg("preset_file") = py::none(),
               py::arg("category") = py::none(),
               "preset(name, *, preset_file=None, category=None) -> dict of the preset's fields by keyword, each "
               "accepted back by render() and apply().");
    // Every field by its keyword, with what the stub and a caller need to know of it.
    py::dict fieldTable;
    for (const TextureField& field : textureFields()) {
        py::dict entry;
        entry["name"] = std::string(field.name);
        entry["kind"] = std::string(textureFieldKindWord(field.kind));
        entry["range"] = textureFieldRange(field);
        entry["help"] = std::string(field.meaning);
        fieldTable[py::str(textureFieldKeyword(field))] = entry;
    }
    module.attr("field_table") = fieldTable;
    py::list names;
    for (const TextureField& field : textureFields()) {
        names.append(py::str(textureFieldKeyword(field)));
    }
    module.attr("fields") = names;
    // The job's own keywords, as the command line's options also come from them.
    py::dict options;
    for (const job::JobOption& option : job::kJobOptions) {
        py::dict entry;
        entry["option"] = std::string(option.option);
        entry["kind"] = option.kind == job::JobOptionKind::Flag      ? "flag"
                        : option.kind == job::JobOptionKind::Integer ? "integer"
                        : option.kind == job::JobOptionKind::Number  ? "number"
                        : option.kind == job::JobOptionKind::Choice  ? "choice"
                                                                     : "text";
        if (option.kind == job::JobOptionKind::Integer || option.kind == job::JobOptionKind::Number) {
            entry["range"] = py::make_tuple(option.low, option.high);
        }
        if (option.kind == job::JobOptionKind::Choice) {
            py::list words;
            for (const std::string_view word : job::choiceWords(option)) {
                words.append(std::string(word));
            }
            entry["choices"] = words;
        }
        entry["help"] = std::string(option.text);
        options[py::str(std::string(option.keyword))] = entry;
    }
    module.attr("options") = options;
}
