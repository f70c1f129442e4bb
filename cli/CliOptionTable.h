// Every option of the command line with its value and meaning, in one table: the
// commands' --help text and the manual page (morvessan.1) are both made from it.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace morvessan::cli {

struct CliOption {
    std::string_view group; // the block of options it belongs to: "run", "texture", "sheet" ...
    std::string_view name;  // "--size"
    std::string_view value; // "WxH"; empty for a flag
    std::string_view text;  // what it does, one paragraph
};

struct CliVariable {
    std::string_view name;
    std::string_view text;
};

// A texture option that stands for one field: its value is the field's text as
// --set takes it, but for --seed, --blur, --grain and --picture, which have rules of
// their own in applyFieldOptions (--seed random, --blur 0, a picture's folder).
struct FieldShorthand {
    std::string_view option; // "--octaves"
    std::string_view field;  // "noiseLevel"; an effect's amount for --blur and --grain
    std::string_view value;
    std::string_view text;
};

inline constexpr std::array kFieldShorthands{
    FieldShorthand{"--type", "type", "cloud|fire|marble|wood", "the texture type"},
    FieldShorthand{"--seed", "noiseSeed", "N|random",
                   "noiseSeed; 0 draws a new pattern on every run; random picks 1..9999 and prints it on stderr"},
    FieldShorthand{"--octaves", "noiseLevel", "N", "noiseLevel"},
    FieldShorthand{"--weights", "noiseWeights", "W1,W2,...", "noiseWeights of the first octaves"},
    FieldShorthand{"--colours", "colours", "'#RRGGBB[AA]@POS,...'", "the gradient, up to 8 stops, POS 0..255 rising"},
    FieldShorthand{"--opacity", "totalOpacity", "N", "totalOpacity"},
    FieldShorthand{"--blur", "blur", "N", "blur amount 1..100; 0 or off switches it off"},
    FieldShorthand{"--grain", "noise", "N", "added noise 1..100; 0 or off switches it off"},
    FieldShorthand{"--picture", "texturePath", "NAME|PATH", "blend a texture picture (NAME: from the textures folder)"},
    FieldShorthand{"--picture-amount", "textureAmount", "N", "textureAmount"},
};

// The shorthand `option`; a build error (in a constant expression) when there is none.
consteval const FieldShorthand& fieldShorthand(std::string_view option) {
    for (const FieldShorthand& shorthand : kFieldShorthands) {
        if (shorthand.option == option) {
            return shorthand;
        }
    }
    throw "no such shorthand";
}
// The shorthand `option`, or null.
const FieldShorthand* findFieldShorthand(std::string_view option);

std::span<const CliOption> cliOptions();
std::span<const CliVariable> cliVariables();

// The options of `group` as --help shows them: the name and value, then the text
// from column 27, wrapped at 80 columns.
std::string optionsHelp(std::string_view group);

// The manual page in troff, made from the option table, the field table and the
// variables; the build writes it, and cli/morvessan.1 must equal it.
std::string manualPage();

} // namespace morvessan::cli
