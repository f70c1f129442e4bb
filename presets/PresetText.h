// The preset text format: the line tokenizer, the reader of category and preset
// blocks (with one line of look-back), and the writer.
#pragma once

#include "presets/PresetCategory.h"

#include <string>
#include <string_view>
#include <vector>

namespace morvessan {

// At most this many tokens are taken from one line; the rest is ignored.
inline constexpr int kMaxLineTokens = 20;

// Splits one line: blanks and commas separate tokens; a single or double quote
// starts a token that runs to the next quote of the same kind (or the end of the
// line); tabs and every other character are token characters; '' and "" are
// empty tokens. `*cut` (when given) tells whether tokens beyond the limit were left.
std::vector<std::string> splitPresetLine(std::string_view line, bool* cut = nullptr);

// Where and why the text was not read whole: the first preset block that could not
// be read, the first line after which nothing more was, or the first line that
// would lose part of itself (more than 20 tokens, more than eight colour stops).
struct PresetReadStop {
    std::size_t line = 0;   // 1-based; 0 when the text was read whole
    bool atEnd = false;     // the text ended inside a preset block
    std::string reason;     // what was expected there
    std::string found;      // the line as it stands
    bool wholeText = false; // `reason` speaks of the whole text, not of a line

    bool whole() const { return line == 0; }
    // "line 12: expected ..., found "Tpye: Cloud"" (long lines cut, control
    // characters shown as '?').
    std::string describe() const;
};

// Reads categories and presets from preset text held in memory. Lines end at LF;
// text that does not end where a line does (a number cut short), or whose last
// preset has fewer lines than the one before it, was cut short and is not whole.
// a CR right before the LF is dropped. A leading UTF-8 byte-order mark and blank
// lines (nothing but blanks, tabs and commas) are skipped. Texture file names are
// expanded with `texturesFolder` (prepended as it stands). Reading takes time in
// proportion to the length of the text.
class PresetTextReader {
public:
    PresetTextReader(std::string_view text, std::string texturesFolder);

    // Every category of the text, read until the first block that is neither a
    // heading nor a preset (or the end of the text).
    std::vector<PresetCategory> readAll();

    // One category: a heading ("Category" or "Catagory") and the presets after
    // it, or, without a heading, the presets from here on as category "Basic".
    // False when the next line starts neither.
    bool readCategory(PresetCategory& category);

    // One preset block: seven mandatory lines and up to five optional ones.
    // False (with the lines read so far consumed) when a mandatory line is
    // missing or wrong.
    bool readPreset(TexturePreset& preset);

    // Reads the next line that is not blank (or the pushed-back one again) and
    // splits it into tokens(); returns the count, 0 only at the end.
    int readTokens();
    const std::vector<std::string>& tokens() const { return m_tokens; }

    // After readAll: where reading stopped short of the end, if it did.
    const PresetReadStop& stop() const { return m_stop; }

private:
    std::string joinedTokens(std::size_t first) const;
    bool expect(bool ok, const std::string& name, const char* what);
    void checkEnd(std::size_t presets);
    void noteStop(const std::string& reason);

    std::string_view m_text;
    std::size_t m_offset = 0;
    std::size_t m_lines = 0;
    std::size_t m_line_number = 0;
    std::string m_textures_folder;
    std::string m_current_line;
    bool m_push_back = false;
    std::vector<std::string> m_tokens;
    PresetReadStop m_stop;
    // How far the last two presets reached (7 to 12 lines), and whether a heading
    // came after the last one.
    int m_last_reach = 0;
    int m_previous_reach = 0;
    std::string m_last_name;
    bool m_heading_last = false;
};

// Convenience: every category of `text`; where reading stopped in `*stop`.
std::vector<PresetCategory> readPresetText(std::string_view text, const std::string& texturesFolder,
                                           PresetReadStop* stop = nullptr);

// Whether a texture name read from a file names a file of the textures folder: a
// file name, never a path that could leave the folder.
bool isTextureFileName(const std::string& name);

// The whole file text for `categories`, every line ending in CR LF. A texture
// path inside `texturesFolder` (compared without regard to ASCII case) is
// written as the rest after the folder, any other path (or a rest that is no
// plain file name) as an empty name.
std::string writePresetText(const std::vector<PresetCategory>& categories, const std::string& texturesFolder);

// One preset block (twelve lines, CR LF ends).
std::string writePresetBlock(const TexturePreset& preset, const std::string& texturesFolder);

// A name as it is written: between single quotes, or between double quotes when
// it holds a single quote (its double quotes, if any, then become single ones).
// Line feeds become blanks, so a written name never breaks its line.
std::string quotePresetName(const std::string& name);

// True when a name can be written so that it reads back unchanged: it does not
// hold both kinds of quote, and holds no line break.
bool isWritableName(const std::string& name);

} // namespace morvessan
