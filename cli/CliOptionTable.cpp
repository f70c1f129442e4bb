// The option table and what is made from it: each command's option help and the
// manual page.
#include "cli/CliOptionTable.h"

#include "job/JobOptions.h"
#include "texture/TextureFieldTable.h"
#include "texture/TexturePreset.h"

#include <array>

namespace morvessan::cli {

namespace {

using job::jobOption;

// A row of the job's own options, shown in `group`.
constexpr CliOption fromJob(std::string_view group, const job::JobOption& option) {
    return CliOption{group, option.option, option.value, option.text};
}

// A row of a field's shorthand.
constexpr CliOption fromShorthand(const FieldShorthand& shorthand) {
    return CliOption{"texture", shorthand.option, shorthand.value, shorthand.text};
}

// The shorthands' help names these ranges in words: a change of the field table
// must change the words too.
static_assert(kRandomSeedLow == 1 && kRandomSeedHigh == 9999, "say the new range in --seed's help");
static_assert(textureField(TextureFieldId::Blur).low == 1 && textureField(TextureFieldId::Blur).high == 100 &&
                  textureField(TextureFieldId::Noise).low == 1 && textureField(TextureFieldId::Noise).high == 100,
              "say the new range in --blur's and --grain's help");
static_assert(kMaxColourStops == 8, "say the new number of stops in --colours' help");

constexpr std::array kOptions{
    CliOption{"canvas", "--size", "WxH",
              "canvas size (default 1024x768), up to 65535 a side for PNG and bitmap files (a bitmap file within 4 "
              "GiB) and 65500 for JPEG; rows are written as they are done, so memory stays small at any size"},
    fromJob("canvas", jobOption("background")),
    CliOption{"canvas", "--depth", "8|16",
              "bits a channel (default 8); 16 writes a 16-bit PNG (RGB, or RGBA on a transparent canvas) with the "
              "gradient evaluated at each pixel's exact value, smooth where 8 bits band; PNG only, and not with "
              "--mask, --rect or --module"},
    fromJob("canvas", jobOption("height_map")),
    fromJob("canvas", jobOption("normal_map")),
    fromJob("canvas", jobOption("normal_strength")),
    fromJob("canvas", jobOption("normal_green")),
    fromJob("canvas", jobOption("tileable")),
    CliOption{"batch", "--output-dir", "DIR",
              "write every INPUT into DIR under its own name (DIR is made, with its parents, when missing); a "
              "picture that fails is reported with its name, the others are still done, and the exit status is 1"},
    CliOption{"batch", "--format", "png|jpg|bmp", "the format of the --output-dir pictures (default each input's own)"},
    CliOption{"run", "--params", "FILE",
              "the parameter block: read when FILE exists (defaults otherwise) and written back after the run"},
    fromJob("run", jobOption("preset_file")),
    fromJob("run", jobOption("category")),
    fromJob("run", jobOption("preset")),
    CliOption{"run", "--mask", "FILE", "selection: 8-bit grey picture of the same size, 255 = selected"},
    CliOption{"run", "--rect", "X,Y,W,H", "filter rectangle inside the picture (default the whole image)"},
    fromJob("run", jobOption("pattern_size")),
    CliOption{"run", "--scale-by-source", "", "scale the colour index by the source brightness"},
    CliOption{"run", "--overwrite-source", "", "with --scale-by-source: replace pixels instead of blending"},
    CliOption{"run", "--no-scale-by-source", "", "switch off the flag that the --params block holds"},
    CliOption{"run", "--no-overwrite-source", "", "switch off the flag that the --params block holds"},
    CliOption{"run", "--presets-dir", "DIR",
              "presets folder (default: \"Morvessan Presets\" beside the program, or the installed folders)"},
    CliOption{"run", "--textures-dir", "DIR",
              "textures folder (default: \"Morvessan Textures\" beside the program, or the installed one)"},
    CliOption{"run", "--max-pixels", "N",
              "refuse input pictures (and masks) of more than N pixels (default 128000000)"},
    CliOption{"run", "--strict", "", "refuse a damaged input picture instead of using what can be read"},
    CliOption{"run", "--threads", "N",
              "render on at most N threads, 1 to 64 (default every core, or MORVESSAN_THREADS); the picture is the "
              "same with any number"},
    CliOption{"run", "--quality", "N", "JPEG quality, 1 to 100 (default 90)"},
    CliOption{"run", "--chroma", "444|420", "JPEG colour at full or half resolution (default 420)"},
    fromJob("run", jobOption("compression")),
    CliOption{"run", "--quiet", "", "no progress bar and no summary"},
    CliOption{"input", "--depth", "8",
              "accept an 8-bit OUTPUT for a 16-bit INPUT, which is refused without it (the filter draws 8 bits a "
              "channel)"},
    CliOption{"output", "--strip", "",
              "write none of INPUT's colour profile, EXIF block and resolution, which OUTPUT otherwise keeps"},
    CliOption{"output", "--background", "#RRGGBB",
              "what transparency is flattened over in a JPEG OUTPUT (default white)"},
    CliOption{"texture", "--set", "FIELD=VALUE",
              "set one field (fields below), or one of the block's own: presetFile, categoryIndex, scaleBySource, "
              "overwriteSource"},
    fromShorthand(fieldShorthand("--type")),
    fromShorthand(fieldShorthand("--seed")),
    fromShorthand(fieldShorthand("--octaves")),
    fromShorthand(fieldShorthand("--weights")),
    fromShorthand(fieldShorthand("--colours")),
    fromShorthand(fieldShorthand("--opacity")),
    fromShorthand(fieldShorthand("--blur")),
    fromShorthand(fieldShorthand("--grain")),
    fromShorthand(fieldShorthand("--picture")),
    fromShorthand(fieldShorthand("--picture-amount")),
    CliOption{"texture", "--move", "DX,DY", "move the pattern by DX,DY pixels of the filter rectangle"},
    CliOption{"texture", "--rotate", "DEG", "turn the pattern clockwise about the rectangle's centre"},
    CliOption{"texture", "--scale", "SX,SY", "stretch the pattern about the centre (2,1: twice as wide)"},
    CliOption{"texture", "--zoom", "F", "--scale F,F"},
    CliOption{"texture", "--reset-transform", "", "no rotation, scaling or shear left; the centre keeps its value"},
    CliOption{"frames", "--frames", "N",
              "write N frames: OUTPUT holds %d or %0Nd for the frame number (frame 0 first); without it, -%04d goes "
              "before the extension; - writes the frames one after another to standard output as PNG (a stream "
              "that ffmpeg -f image2pipe reads)"},
    CliOption{"frames", "--frame-range", "A:B",
              "write only frames A to B (counted from 0, both included) of the N: a frame comes from its number "
              "alone, so slices rendered apart, on other machines too, equal the same frames of a whole run"},
    CliOption{"frames", "--per-frame-move", "DX,DY", "a move applied once more in each frame, in the order given"},
    CliOption{"frames", "--per-frame-rotate", "DEG", "a turn applied once more in each frame"},
    CliOption{"frames", "--per-frame-zoom", "F", "a zoom applied once more in each frame"},
    CliOption{"frames", "--per-frame-seed", "", "the seed grows by 1 each frame"},
    fromJob("frames", jobOption("evolve")),
    fromJob("frames", jobOption("loop")),
    CliOption{"sheet", "--preset-file", "NAME", "the preset file to draw (default: the first)"},
    CliOption{"sheet", "--size", "N", "thumbnails of N x N pixels, 16 to 1024 (default 128)"},
    CliOption{"sheet", "--presets-dir", "DIR",
              "presets folder (default: \"Morvessan Presets\" beside the program, or the installed folders)"},
    CliOption{"sheet", "--textures-dir", "DIR",
              "textures folder (default: \"Morvessan Textures\" beside the program, or the installed one)"},
    CliOption{"sheet", "--quality", "N", "JPEG quality, 1 to 100 (default 90)"},
    CliOption{"sheet", "--chroma", "444|420", "JPEG colour at full or half resolution (default 420)"},
    CliOption{"sheet", "--quiet", "", "no progress bar and no summary"},
    CliOption{"presets", "--json", "", "(list) one JSON object instead of the listing"},
    CliOption{"presets", "--preset-file", "NAME", "(add) the preset file to add to; made when missing"},
    CliOption{"presets", "--category", "NAME", "(add) the category to add to; made when missing"},
    CliOption{"presets", "--name", "NAME", "(add) the new preset's name"},
    CliOption{"presets", "--params", "FILE", "(add) the block whose texture is added (default the defaults)"},
    CliOption{"presets", "--presets-dir", "DIR",
              "presets folder (default: \"Morvessan Presets\" beside the program, or the installed folders)"},
    CliOption{"presets", "--textures-dir", "DIR",
              "textures folder (default: \"Morvessan Textures\" beside the program, or the installed one)"},
    CliOption{"params", "--json", "", "(show) one JSON object, ending in \"schema\": 1 (docs/params-schema.json)"},
    CliOption{"studio", "--port", "N", "listen on this port of 127.0.0.1 (default a free one)"},
    CliOption{"studio", "--export-dir", "DIR",
              "the folder the page's pictures are exported to (default the current folder); the studio "
              "writes nowhere else but the presets folder"},
    CliOption{"studio", "--no-browser", "", "print the address without opening a browser at it"},
    CliOption{"studio", "--presets-dir", "DIR",
              "presets folder (default: \"Morvessan Presets\" beside the program, or the installed folders)"},
    CliOption{"studio", "--textures-dir", "DIR",
              "textures folder (default: \"Morvessan Textures\" beside the program, or the installed one)"},
    CliOption{"windows", "--module", "FILE",
              "(morvessan.exe, before the command) run an installed filter module as a host loads it, instead of the "
              "linked-in one"},
};

constexpr std::array kVariables{
    CliVariable{"MORVESSAN_THREADS",
                "The number of threads a render uses when --threads does not say (default every core); the picture "
                "is the same with any number."},
    CliVariable{"MORVESSAN_SIMD",
                "scalar, baseline, avx2 or avx512: the widest instruction set the renderer may use (default the widest "
                "the processor has); every choice gives the same picture. A value of MORVESSAN_THREADS or of this "
                "variable that is not understood is named in a warning."},
    CliVariable{"MORVESSAN_PRESET_FOLDER",
                "The folder the filter module, in an image editor, reads its preset files from instead of the one "
                "beside the module. The command line sets it itself, to --presets-dir or its own folder, for the "
                "filter it runs; set outside, it does not change the command line's folders."},
    CliVariable{"MORVESSAN_TEXTURE_FOLDER",
                "The same for the texture pictures, instead of the folder beside the module; the command line sets it "
                "to --textures-dir or its own folder."},
    CliVariable{"TMPDIR",
                "The folder a picture for standard output is written through first (whole, so that a failed run "
                "sends nothing), then copied out piece by piece."},
    CliVariable{"XDG_DATA_HOME",
                "Where an installed program keeps the user's own preset files (in morvessan/ under it); an absolute "
                "path, else HOME/.local/share is used."},
};

// `text` in lines of at most `width` characters, each after `indent` spaces but the first.
std::string wrapped(std::string_view text, std::size_t column, std::size_t indent) {
    constexpr std::size_t kWidth = 80;
    std::string out;
    std::size_t at = column;
    while (!text.empty()) {
        const std::size_t end = text.find(' ');
        const std::string_view word = text.substr(0, end);
        if (at > indent && at + 1 + word.size() > kWidth) {
            out += "\n" + std::string(indent, ' ');
            at = indent;
        } else if (at > indent || (at == indent && !out.empty() && out.back() != ' ')) {
            out += ' ';
            ++at;
        }
        out += word;
        at += word.size();
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return out;
}

// Text for troff: hyphens as minus signs, backslashes escaped, no line starting with a control character.
std::string troff(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '-') {
            out += "\\-";
        } else if (c == '\\') {
            out += "\\e";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

constexpr std::string_view kHead = R"(.\" The manual page of the command-line program, made by 'morvessan manual'
.\" from the program's option and field tables; do not edit it by hand.
.TH MORVESSAN 1 "" "Morvessan" "User Commands"
.SH NAME
morvessan \- render procedural textures onto new canvases and over pictures
.SH SYNOPSIS
.B morvessan render
.RI [ options ] " OUTPUT"
.br
.B morvessan apply
.RI [ options ] " INPUT OUTPUT"
.br
.B morvessan apply
.RI [ options ] " \-\-output\-dir DIR INPUT..."
.br
.B morvessan edit
.RI [ options ] " INPUT OUTPUT"
.br
.B morvessan presets list
.RB [ \-\-json ]
.br
.B morvessan presets check
.I FILE...
.br
.B morvessan presets add
.B \-\-preset\-file
.I NAME
.B \-\-category
.I NAME
.B \-\-name
.I NAME
.br
.B morvessan sheet
.RI [ options ] " OUTPUT"
.br
.B morvessan params show
.RB [ \-\-json ]
.I FILE
.br
.B morvessan params set
.I FILE FIELD=VALUE...
.br
.B morvessan params init
.I FILE
.br
.B morvessan studio
.RI [ options ]
.br
.B morvessan completion bash
.br
.B morvessan \-\-version
.SH DESCRIPTION
.B morvessan
runs the texture filter without a dialog: Cloud, Fire, Marble and Wood textures
coloured by a gradient, placed by a transformation, with optional blur, added
noise and a blended texture picture. The texture starts from a parameter block
.RB ( \-\-params ),
a preset of the library
.RB ( \-\-preset\-file ", " \-\-category ", " \-\-preset )
or the defaults, and is then changed by the texture options in the order given.
.B "morvessan COMMAND \-\-help"
describes each command.
)";

constexpr std::string_view kTail = R"(.SH NAMES
Preset, preset file and category names may be given in any letter case when that
picks one; a preset found in two preset files is refused with both named (give
.BR \-\-preset\-file ).
A mistyped command, option, field, texture type or name is refused with the
nearest known one suggested.
.B params show
prints every field in the form
.B params set
and
.B \-\-set
take back, giving the same block byte for byte.
.SH PIPES AND BATCHES
.B \-
as INPUT reads a picture from standard input, as OUTPUT writes a PNG to standard
output; messages and the progress bar go to standard error.
.SH PRESET FILES
.B presets add
holds a lock on the preset file (a file
.RI . NAME .txt.lock
beside it) from reading the file to replacing it, so that adds at the same time
all keep their presets; a file that another program changed meanwhile is read
again. A name that the category already holds is refused. A preset file that does
not end where a preset or a heading ends (cut short) is damaged and is never
saved over. Texture names in preset files are file names of the textures folder;
a name with a folder in it names no texture.
.SH FILES
.TP
.I "Morvessan Presets/"
beside the program: the preset files
.RI ( NAME .txt)
of the library, when that folder is there, unless
.B \-\-presets\-dir
names another.
.TP
.I "Morvessan Textures/"
beside the program: the texture pictures that presets and
.B \-\-picture
.I NAME
use, unless
.B \-\-textures\-dir
names another folder.
.TP
.IR PREFIX/share/morvessan/presets/ ", " PREFIX/share/morvessan/textures/
for a program installed in
.I PREFIX/bin
without those folders beside it: the shipped presets, read and never written, and
the texture pictures.
.TP
.I $XDG_DATA_HOME/morvessan/
(or
.I ~/.local/share/morvessan/
without it): the installed program's own preset files, read with the shipped ones;
.B presets add
writes here.
.TP
.I FILE
of
.BR \-\-params :
the 832-byte parameter block, read before and written after a run.
)";

constexpr std::string_view kEnd = R"(.SH EXIT STATUS
0 done; 1 failed (a file, a run, a preset file not read whole, any picture of a
batch, a texture picture that cannot be used, output that could not be written);
2 wrong command line or a value out of range; 3
.B edit
cancelled in the dialog.
.SH EXAMPLES
.nf
morvessan render \-\-size 800x600 \-\-type marble \-\-seed 7 \-\-octaves 10 \e
    \-\-colours '#102040@0,#FFFFFF@255' \-\-rotate 30 marble.png
morvessan apply \-\-preset Bonfire \-\-output\-dir done \-\-format jpg photos/*.png
morvessan render \-\-size 640x360 \-\-type cloud \-\-frames 48 \e
    \-\-per\-frame\-move 4,0 clouds\-%04d.png
.fi
.SH SEE ALSO
.B "morvessan COMMAND \-\-help"
)";

} // namespace

const FieldShorthand* findFieldShorthand(std::string_view option) {
    for (const FieldShorthand& shorthand : kFieldShorthands) {
        if (shorthand.option == option) {
            return &shorthand;
        }
    }
    return nullptr;
}

std::span<const CliOption> cliOptions() { return kOptions; }

std::span<const CliVariable> cliVariables() { return kVariables; }

std::string optionsHelp(std::string_view group) {
    constexpr std::size_t kColumn = 26;
    std::string out;
    for (const CliOption& option : kOptions) {
        if (option.group != group) {
            continue;
        }
        std::string head =
            "  " + std::string(option.name) + (option.value.empty() ? "" : " ") + std::string(option.value);
        // A long name and value take a line of their own.
        head += head.size() + 1 > kColumn ? "\n" + std::string(kColumn, ' ') : std::string(kColumn - head.size(), ' ');
        out += head + wrapped(option.text, kColumn, kColumn) + "\n";
    }
    return out;
}

std::string manualPage() {
    std::string page(kHead);
    const struct {
        std::string_view group;
        std::string_view title;
    } sections[] = {
        {"run", "render, apply and edit"},
        {"canvas", "render"},
        {"frames", "render: animation"},
        {"input", "apply and edit: the input picture"},
        {"output", "apply: what the output keeps"},
        {"batch", "apply: many pictures"},
        {"texture", "texture options (render, apply, edit), applied in the order given"},
        {"sheet", "sheet"},
        {"presets", "presets"},
        {"params", "params"},
        {"studio", "studio"},
        {"windows", "Windows"},
    };
    page += ".SH OPTIONS\n";
    for (const auto& section : sections) {
        page += ".SS \"" + troff(section.title) + "\"\n";
        for (const CliOption& option : kOptions) {
            if (option.group != section.group) {
                continue;
            }
            page += option.value.empty() ? ".TP\n.B " + troff(option.name) + "\n"
                                         : ".TP\n.BI \"" + troff(option.name) + " \" \"" + troff(option.value) + "\"\n";
            page += troff(option.text) + "\n";
        }
    }
    page += ".SH FIELDS\nWhat\n.B \\-\\-set\nand\n.B params set\ntake (name: range):\n";
    for (const TextureField& field : textureFields()) {
        page += ".TP\n.B " + troff(field.name) + "\n" + troff(textureFieldRange(field)) + ": " + troff(field.meaning) +
                "\n";
    }
    page += kTail;
    page += ".SH ENVIRONMENT\n";
    for (const CliVariable& variable : kVariables) {
        page += ".TP\n.B " + troff(variable.name) + "\n" + troff(variable.text) + "\n";
    }
    page += kEnd;
    return page;
}

} // namespace morvessan::cli
