// The Python module "morvessan": keyword arguments become field texts, NumPy
// arrays become host images and back; the work is in PythonTextures.
#include "VXLib/VXUTIL/VXPlatform.h"
#include "VXLib/VXUTIL/VXTextEncoding.h"
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
    // Installed as PREFIX/lib/python3.X/dist-packages/morvessan...so: the data is in PREFIX/share.
    for (fs::path up = module.parent_path(); up.has_relative_path(); up = up.parent_path()) {
        if (up.filename() == "lib") {
            const fs::path data = up.parent_path() / job::kSharedDataFolder;
            std::error_code ec;
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

// The job's own keywords (kJobOptions) choose where to start and what space the
// pattern lies in; every other keyword is a field.
TextureRequest requestOf(const py::kwargs& keywords) {
    TextureRequest request;
    for (const auto& [key, value] : keywords) {
        const std::string name = key.cast<std::string>();
        const job::JobOption* option = job::findJobOption(name);
        if (name == "frame") { // a sequence's frame: the command line writes ranges of them instead
            request.pattern.frame = value.cast<int>();
        } else if (option == nullptr) {
            request.fields.emplace_back(name, fieldText(value));
        } else if (name == "preset") {
            request.preset = value.cast<std::string>();
        } else if (name == "preset_file") {
            request.presetFile = value.cast<std::string>();
        } else if (name == "category") {
            request.category = value.cast<std::string>();
        } else if (name == "pattern_size") {
            request.patternSize = value.cast<std::int32_t>();
        } else if (name == "tileable") {
            request.pattern.tileable = value.cast<bool>();
        } else if (name == "evolve") {
            request.pattern.evolve = value.cast<double>();
        } else if (name == "loop") {
            request.pattern.loop = value.cast<int>();
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

// Rows of RGBA, whatever the planes of the image.
py::array_t<std::uint8_t> rgbaArray(const HostImage& image) {
    py::array_t<std::uint8_t> array({image.height, image.width, 4});
    std::uint8_t* out = array.mutable_data();
    const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* in = image.pixels.data() + i * image.planes;
        out[i * 4] = in[0];
        out[i * 4 + 1] = in[1];
        out[i * 4 + 2] = in[2];
        out[i * 4 + 3] = image.planes == 4 ? in[3] : 255;
    }
    return array;
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

// Rows of RGBA in 16 bits (opaque where the picture has no alpha), or of grey levels.
py::array deepArray(const DeepTexture& picture) {
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.planes == 1) {
        py::array_t<std::uint16_t> array({picture.height, picture.width});
        std::copy_n(picture.samples.data(), pixels, array.mutable_data());
        return array;
    }
    py::array_t<std::uint16_t> array({picture.height, picture.width, 4});
    std::uint16_t* out = array.mutable_data();
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint16_t* in = picture.samples.data() + i * picture.planes;
        out[i * 4] = in[0];
        out[i * 4 + 1] = in[1];
        out[i * 4 + 2] = in[2];
        out[i * 4 + 3] = picture.planes == 4 ? in[3] : 65535;
    }
    return array;
}

py::array render(std::int32_t width, std::int32_t height, const std::string& background,
                 const std::optional<int>& depthAsked, bool heightMap, const py::kwargs& keywords) {
    const int depth = depthAsked.value_or(heightMap ? 16 : 8);
    if (depth != 8 && depth != 16) {
        throw py::value_error("depth " + std::to_string(depth) + " is not 8 or 16");
    }
    if (heightMap && depth == 8) {
        throw py::value_error("height_map gives 16-bit grey levels, which depth=8 cannot hold");
    }
    TextureRequest request = requestOf(keywords);
    const TextureFolders where = folders();
    if (depth == 16 || heightMap) {
        return guarded([&] {
            const DeepTexture picture = withoutGil(request, [&] {
                return renderDeepTexture(width, height, background, request, where,
                                         heightMap ? DeepKind::HeightMap : DeepKind::Colour);
            });
            return deepArray(picture);
        });
    }
    return guarded([&]() -> py::array {
        const HostImage image =
            withoutGil(request, [&] { return renderTexture(width, height, background, request, where); });
        return rgbaArray(image);
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

py::array_t<std::uint8_t> apply(const py::object& given, const py::kwargs& keywords) {
    const auto picture = pictureBytes(given);
    HostImage image(static_cast<std::int32_t>(picture.shape(1)), static_cast<std::int32_t>(picture.shape(0)),
                    static_cast<std::int32_t>(picture.shape(2)));
    std::memcpy(image.pixels.data(), picture.data(), image.pixels.size());
    TextureRequest request = requestOf(keywords);
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
            fields[py::str(field)] = fieldValue(*findTextureField(field), text);
        }
        return fields;
    });
}

} // namespace

PYBIND11_MODULE(morvessan, module) {
    job::installJobPlatform("morvessan");
    module.doc() = "Procedural textures (Cloud, Fire, Marble, Wood) rendered by the Morvessan filter.";
    module.def(
        "render", &render, py::arg("width"), py::arg("height"), py::kw_only(), py::arg("background") = "white",
        py::arg("depth") = py::none(), py::arg("height_map") = false,
        "render(width, height, *, background='white', depth=None (8), height_map=False, preset=None, preset_file=None, "
        "category=None, pattern_size=0, **fields) -> numpy.ndarray of shape (height, width, 4), uint8 RGBA; "
        "uint16 RGBA with depth=16 (the gradient at each pixel's exact value, as render --depth 16 writes it); "
        "with height_map=True uint16 of shape (height, width), the texture's values -1..1 as "
        "floor((v + 1) x 32767.5 + 0.5), as render --height-map writes them.\n\n"
        "Starts from the preset named (else the defaults), sets each field given by name "
        "(noiseSeed=7, type='marble', colours='#102040@0,#FFFFFF@255', noiseWeights=[...]) with "
        "its range checked, and draws the texture over a white, transparent or #RRGGBB canvas. "
        "pattern_size=N makes N pixels the pattern's unit in both directions, as --pattern-size does. "
        "tileable=True makes a seamless tile (--tileable); frame=K with evolve=DZ draws frame K of a "
        "sequence whose noise moves DZ lattice cells in depth each frame (--per-frame-evolve), and "
        "loop=N makes that sequence come back to its first frame after N frames (--loop).");
    module.def("apply", &apply, py::arg("picture"),
               "apply(picture, *, preset=None, preset_file=None, category=None, **fields) -> numpy.ndarray.\n\n"
               "Draws the texture over an array of rows x columns x 3 (RGB) or 4 (RGBA) uint8 and returns "
               "a new array of the same shape.");
    module.def("save", &save, py::arg("picture"), py::arg("path"), py::kw_only(), py::arg("compression") = "default",
               "save(picture, path, *, compression='default') writes an array of rows x columns x 3 (RGB) or 4 "
               "(RGBA) uint8 to a PNG, JPEG or bitmap file named by its extension, replacing a file whole or not "
               "at all. compression is fast, default or small, as render --compression takes it: a PNG's bytes "
               "are then the command line's for the same pixels.");
    module.def("presets", &presets, "presets() -> list of {'file', 'category', 'name'} for every preset.");
    module.def("preset", &preset, py::arg("name"), py::kw_only(), py::arg("preset_file") = py::none(),
               py::arg("category") = py::none(),
               "preset(name, *, preset_file=None, category=None) -> dict of the preset's fields, each "
               "accepted back by render() and apply() as a keyword.");
    py::list names;
    for (const TextureField& field : textureFields()) {
        names.append(py::str(std::string(field.name)));
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
