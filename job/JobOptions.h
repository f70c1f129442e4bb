// The options of a texture job that every front end offers, each declared once
// with its kind, range, default and help: the command line and Python take theirs from here.
#pragma once

#include "job/JobFiles.h"
#include "job/JobPattern.h"
#include "renderer/NormalMap.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvessan::job {

enum class JobOptionKind {
    Flag,    // on when given
    Integer, // a whole number in [low, high]
    Number,  // a decimal number in [low, high]
    Text,    // a name or a colour
    Choice,  // one of the words of `value`, between bars: "fast|default|small"
};

struct JobOption {
    std::string_view keyword; // the Python module's keyword: "pattern_size"
    std::string_view option;  // the command line's option: "--pattern-size"
    std::string_view value;   // what the value looks like: "N"; a choice's words; empty for a flag
    JobOptionKind kind = JobOptionKind::Text;
    double low = 0; // the range of a number, both ends included
    double high = 0;
    std::string_view text; // what it does, one paragraph
};

inline constexpr std::array kJobOptions{
    JobOption{"background", "--background", "COLOUR", JobOptionKind::Text, 0, 0,
              "white (default), transparent or #RRGGBB"},
    JobOption{"height_map", "--height-map", "", JobOptionKind::Flag, 0, 0,
              "write the texture's own values (after grain, blur and picture, before colouring) as a 16-bit grey "
              "PNG, -1..1 as floor((v + 1) x 32767.5 + 0.5), 0..65535: the height or displacement map 3-D and game "
              "tools read; PNG only, and not with --mask, --rect or --module"},
    JobOption{"normal_map", "--normal-map", "", JobOptionKind::Flag, 0, 0,
              "write the tangent-space normals of the texture's own values (central differences of the heights "
              "--height-map writes, round the edges of a --tileable tile) as a 16-bit RGB PNG, each -1..1 as "
              "(n + 1) / 2 x 65535; PNG only, and not with --mask, --rect or --module"},
    JobOption{"normal_strength", "--normal-strength", "K", JobOptionKind::Number, 0.01, kMaxNormalStrength,
              "how steep a normal map's heights stand: the slope is K / 32 height units (-1..1 spans two) per pattern "
              "unit, so the map looks the same at any size (default 1)"},
    JobOption{"normal_green", "--normal-green", "up|down", JobOptionKind::Choice, 0, 0,
              "the normal map's green channel points up the picture (OpenGL, the default) or down (DirectX)"},
    JobOption{"tileable", "--tileable", "", JobOptionKind::Flag, 0, 0,
              "a seamless tile: the right edge continues into the left and the bottom into the top (the pattern's "
              "scale and turn are rounded to whole lattice periods across the picture; no perspective)"},
    JobOption{"preset_file", "--preset-file", "NAME", JobOptionKind::Text, 0, 0,
              "choose a preset from this preset file"},
    JobOption{"category", "--category", "NAME", JobOptionKind::Text, 0, 0, "... from this category"},
    JobOption{"preset", "--preset", "NAME", JobOptionKind::Text, 0, 0,
              "... with this name (applied to the block before the run); names match in any letter case when that "
              "picks one"},
    JobOption{"pattern_size", "--pattern-size", "N", JobOptionKind::Integer, 0, double(kMaxHostSide),
              "N pixels to the pattern's unit in both directions, so that the pattern keeps its proportions and a "
              "larger picture shows more of it; steps then act about the rectangle's centre in that unit (default "
              "0: the filter rectangle is the unit, and the pattern stretches with its shape)"},
    JobOption{"evolve", "--per-frame-evolve", "DZ", JobOptionKind::Number, -kMaxEvolveStep, kMaxEvolveStep,
              "the noise moves DZ lattice cells through its third dimension each frame, so the pattern evolves "
              "instead of sliding (the first frame is the depth-0 slice of that noise, not the flat pattern)"},
    JobOption{"loop", "--loop", "N", JobOptionKind::Integer, 2, double(kMaxFrames),
              "an N-frame sequence (instead of --frames N) whose last frame flows into its first: with "
              "--per-frame-evolve, the depth wraps after N x |DZ| cells rounded to whole cells; no other "
              "per-frame step"},
    JobOption{"compression", "--compression", "fast|default|small", JobOptionKind::Choice, 0, 0,
              "how hard a PNG is compressed: fast spends the least time (zlib's run-length coding on every strip; "
              "large files where grain breaks the runs), default (the default) chooses run-length coding or zlib's "
              "level 2 for each strip by a sample of it, small takes about three times default's time for files "
              "10 to 20 % smaller (libdeflate's level 6); the pixels are the same at every level, and the bytes the "
              "same with any number of threads"},
};

// The option of `keyword`; a build error (in a constant expression) when there is none.
consteval const JobOption& jobOption(std::string_view keyword) {
    for (const JobOption& option : kJobOptions) {
        if (option.keyword == keyword) {
            return option;
        }
    }
    throw "no such job option";
}

// The option of `keyword`, or null.
const JobOption* findJobOption(std::string_view keyword);

// "LOW..HIGH" of a number option, its ends as the user types them.
std::string rangeText(const JobOption& option);

// A whole decimal number in [low, high] from its text, or a request error naming
// `what` as the caller does ("--loop", "width").
std::int32_t parseInteger(const std::string& text, std::int32_t low, std::int32_t high, const std::string& what);

// The words a choice option takes, in their order.
std::vector<std::string_view> choiceWords(const JobOption& option);

// The index among choiceWords of `text`, or a request error naming `name` and the words.
std::int32_t jobChoice(const JobOption& option, std::string_view text, std::string_view name);

// `value` when it lies in the range of number option `option`, else a request error
// naming `name` and the range.
double jobNumber(const JobOption& option, double value, std::string_view name);

// --compression's word as the PNG writers' level.
VXPngCompression jobCompression(std::string_view text, std::string_view name);

// A whole number of `option` from its text (parseInteger over the option's range).
std::int32_t jobInteger(const JobOption& option, const std::string& text, const std::string& name);
// The same for a number given as a whole number (Python's int).
std::int32_t jobInteger(const JobOption& option, std::int64_t value, std::string_view name);

} // namespace morvessan::job
