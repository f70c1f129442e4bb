// The help pages say the same ranges as the field table that the dialog, the
// command line and the presets take theirs from.
#include "texture/TextureFieldTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace morvessan;

namespace {

std::string helpPage(const std::string& name) {
    const char* source = std::getenv("MORVESSAN_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : ".") + "/docs/help/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The text of the table row whose first cell is `label`, with its line breaks as spaces.
std::string helpRow(const std::string& page, const std::string& label) {
    const std::string html = helpPage(page);
    const std::size_t at = html.find("<td>" + label + "</td><td>");
    if (at == std::string::npos) {
        return {};
    }
    std::string row = html.substr(at, html.find("</tr>", at) - at);
    for (char& c : row) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    return row;
}

std::string whole(double value) { return std::to_string(static_cast<long long>(value)); }

// 50 as "50.0": the dialog shows Grain with one decimal.
std::string oneDecimal(double value) {
    const long long tenths = std::llround(value * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

} // namespace

TEST(HelpPages, RangesAreTheFieldTables) {
    const TextureField& seed = textureField(TextureFieldId::NoiseSeed);
    const TextureField& bands = textureField(TextureFieldId::NoiseLevel);
    const TextureField& grain = textureField(TextureFieldId::NoiseParameter);
    const TextureField& opacity = textureField(TextureFieldId::TotalOpacity);
    const struct {
        const char* page;
        const char* label;
        std::string says;
    } rows[] = {
        {"Customizing.htm", "Random Seed", "from " + whole(seed.low) + " to " + whole(seed.high)},
        {"Customizing.htm", "Randomise", "between " + whole(kRandomSeedLow) + " and " + whole(kRandomSeedHigh)},
        {"Customizing.htm", "Turbulence Bands", whole(bands.low) + " to " + whole(bands.high)},
        {"Customizing.htm", "Grain", oneDecimal(grain.low) + " to " + oneDecimal(grain.high)},
        {"Preview.htm", "Opacity", whole(opacity.low) + " to " + whole(opacity.high)},
    };
    for (const auto& row : rows) {
        const std::string text = helpRow(row.page, row.label);
        ASSERT_FALSE(text.empty()) << row.page << " has no row " << row.label;
        EXPECT_NE(text.find(row.says), std::string::npos) << row.page << " " << row.label << ": " << text;
    }
    const char* const counts[] = {"", "one", "two", "three", "four", "five", "six", "seven", "eight"};
    static_assert(kMaxColourStops == 8);
    EXPECT_NE(helpRow("Colours.htm", "Add").find(std::string("up to ") + counts[kMaxColourStops]), std::string::npos);
}
