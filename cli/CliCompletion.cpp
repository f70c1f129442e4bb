// "completion bash": a bash completion script for commands, options and field names,
// made from the program's own lists so that it never falls behind them.
#include "VXLib/VXUTIL/VXTextEncoding.h"
#include "cli/CliBlockText.h"
#include "cli/CliFields.h"
#include "job/JobLibrary.h"
#include "job/JobOptions.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/CliOptionTable.h"
#include "texture/TextureFieldTable.h"

#include <algorithm>

#include <iostream>
#include <set>
#include <sstream>

namespace morvessan::cli {

namespace {

const char* const kCompletionHelp =
    "usage: morvessan completion bash\n"
    "\n"
    "Prints a bash completion script: commands, each command's options, field names\n"
    "after --set and 'params set FILE', the values of --type, --format and\n"
    "--background, the library's names after --preset, --preset-file and --category,\n"
    "files where a file is expected and nothing after options that take a typed\n"
    "value. Load it with: source <(morvessan completion bash)\n";

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) {
        out += (out.empty() ? "" : " ") + word;
    }
    return out;
}

// The options after which the script offers values (words, names, folders, files);
// after every other option of the table that takes a value nothing is offered.
const std::set<std::string_view> kOfferedValues{
    "--set",         "--type",         "--format",  "--depth",       "--seed",     "--output-dir",
    "--presets-dir", "--textures-dir", "--preset",  "--preset-file", "--category", "--background",
    "--params",      "--mask",         "--picture", "--module",      "--chroma"};

// Whether `name` is a choice option of the job's, whose words the script offers.
bool jobChoiceOption(std::string_view name) {
    const auto& options = job::kJobOptions;
    return std::any_of(options.begin(), options.end(), [&](const job::JobOption& option) {
        return option.option == name && option.kind == job::JobOptionKind::Choice;
    });
}

// The options whose value is typed, not chosen: nothing is offered after them.
std::string valueOptions() {
    std::set<std::string_view> typed;
    for (const CliOption& option : cliOptions()) {
        if (!option.value.empty() && kOfferedValues.count(option.name) == 0 && !jobChoiceOption(option.name)) {
            typed.insert(option.name);
        }
    }
    std::string out;
    for (const std::string_view name : typed) {
        out += (out.empty() ? "" : "|") + std::string(name);
    }
    return out;
}

// A case of the script for each choice option of the job: its words offered.
std::string choiceCases() {
    std::string out;
    for (const job::JobOption& option : job::kJobOptions) {
        if (option.kind == job::JobOptionKind::Choice) {
            std::string words(option.value);
            std::replace(words.begin(), words.end(), '|', ' ');
            out += "    " + std::string(option.option) + ") COMPREPLY=($(compgen -W \"" + words +
                   "\" -- \"$cur\")); return ;;\n";
        }
    }
    return out;
}

// The texture types as --type takes them.
std::string typeWords() {
    std::string words = textureFieldRange(textureField(TextureFieldId::Type));
    std::replace(words.begin(), words.end(), '|', ' ');
    return words;
}

// "completion names presets|files|categories [--presets-dir DIR]": the names the
// script offers, one a line, each once.
int printNames(const std::vector<std::string>& list) {
    const Arguments args("completion names", list, {"--presets-dir"}, {});
    args.expectOperands(1, "one operand: presets, files or categories");
    const std::string& kind = args.operands()[0];
    if (kind != "presets" && kind != "files" && kind != "categories") {
        throw usageError("completion names takes presets, files or categories");
    }
    PresetLibrary library;
    FilterParameters block{};
    writeDefaultParameters(block);
    loadLibrary(library, args.value("--presets-dir").value_or(defaultPresetsDir()), defaultTexturesDir(),
                block.texture);
    if (!libraryOnDisk(library)) {
        return 0;
    }
    std::set<std::string> names;
    for (int f = 0; f < library.fileCount(); ++f) {
        const PresetFile& file = library.file(f);
        if (kind == "files") {
            names.insert(file.name());
        }
        for (int c = 0; c < file.categoryCount(); ++c) {
            if (kind == "categories") {
                names.insert(file.categoryName(c));
            }
            for (int p = 0; kind == "presets" && p < file.presetCount(c); ++p) {
                names.insert(file.presetName(c, p));
            }
        }
    }
    for (const std::string& stored : names) {
        // In the terminal's encoding: preset files keep their names in Windows-1252,
        // and either spelling names the preset. A name the terminal would act on
        // is left out rather than printed.
        const std::string name = vxToUtf8(stored);
        if (printable(name) == name) {
            std::cout << name << "\n";
        }
    }
    return 0;
}

} // namespace

int commandCompletion(const std::vector<std::string>& list) {
    if (!list.empty() && list[0] == "names") {
        return printNames(std::vector<std::string>(list.begin() + 1, list.end()));
    }
    const Arguments args("completion", list, {}, {});
    if (args.help()) {
        std::cout << kCompletionHelp;
        return 0;
    }
    args.expectOperands(1, "one operand: bash");
    if (args.operands()[0] != "bash") {
        throw usageError("completion is written for bash only");
    }
    std::string fields;
    for (const std::string& name : everyFieldName()) {
        fields += (fields.empty() ? "" : " ") + name + "=";
    }
    const std::string common = "--presets-dir --textures-dir --help";
    // Written whole at once, so that a failed write is reported with its cause.
    std::ostringstream script;
    script
        << "# bash completion for morvessan, made by 'morvessan completion bash'\n"
           "# The names of the library the line's --presets-dir (or the default) holds.\n"
           "_morvessan_names() {\n"
           "    local dir=\"\" i\n"
           "    for ((i = 1; i < ${#COMP_WORDS[@]} - 1; i++)); do\n"
           "        [ \"${COMP_WORDS[i]}\" = --presets-dir ] && dir=\"${COMP_WORDS[i+1]}\"\n"
           "    done\n"
           "    local words=(completion names \"$1\")\n"
           "    [ -n \"$dir\" ] && words+=(--presets-dir \"$dir\")\n"
           "    # Names come from files anyone may share: they are matched as plain text and\n"
           "    # never pass through compgen -W, which would expand $(...), `...` and ${...}.\n"
           "    local want=\"\" quote=\"\" c name\n"
           "    for ((i = 0; i < ${#cur}; i++)); do\n"
           "        c=\"${cur:i:1}\"\n"
           "        if [ -n \"$quote\" ] && [ \"$c\" = \"$quote\" ]; then quote=\"\"\n"
           "        elif [ -z \"$quote\" ] && { [ \"$c\" = \"'\" ] || [ \"$c\" = '\"' ]; }; then quote=\"$c\"\n"
           "        elif [ \"$quote\" != \"'\" ] && [ \"$c\" = '\\' ] && ((i + 1 < ${#cur})); then\n"
           "            i=$((i + 1)); want+=\"${cur:i:1}\"\n"
           "        else want+=\"$c\"; fi\n"
           "    done\n"
           "    COMPREPLY=()\n"
           "    while IFS= read -r name; do\n"
           "        [ \"${name:0:${#want}}\" = \"$want\" ] && COMPREPLY+=(\"$name\")\n"
           "    done < <(\"${COMP_WORDS[0]}\" \"${words[@]}\" 2>/dev/null)\n"
           "    return 0\n"
           "}\n"
           "_morvessan() {\n"
           "    local cur=\"${COMP_WORDS[COMP_CWORD]}\" prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
           "    local fields=\""
        << fields
        << "\"\n"
           "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
           "        COMPREPLY=($(compgen -W \"render apply edit presets sheet params completion --help "
           "--version\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case \"$prev\" in\n"
           "    --set) compopt -o nospace 2>/dev/null; COMPREPLY=($(compgen -W \"$fields\" -- \"$cur\")); return ;;\n"
           "    --type) COMPREPLY=($(compgen -W \""
        << typeWords()
        << "\" -- \"$cur\")); return ;;\n"
           "    --format) COMPREPLY=($(compgen -W \"png jpg bmp\" -- \"$cur\")); return ;;\n"
           "    --depth) COMPREPLY=($(compgen -W \"8 16\" -- \"$cur\")); return ;;\n"
           "    --seed) COMPREPLY=($(compgen -W \"random\" -- \"$cur\")); return ;;\n"
           "    --output-dir|--presets-dir|--textures-dir) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
           "    --preset) _morvessan_names presets; return ;;\n"
           "    --preset-file) _morvessan_names files; return ;;\n"
           "    --category) _morvessan_names categories; return ;;\n"
           "    --background) COMPREPLY=($(compgen -W \"white transparent\" -- \"$cur\")); return ;;\n"
           "    --chroma) COMPREPLY=($(compgen -W \"444 420\" -- \"$cur\")); return ;;\n"
        << choiceCases()
        << "    --params|--mask|--picture|--module) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "    "
        << valueOptions()
        << ") COMPREPLY=(); return ;;\n"
           "    esac\n"
           "    local options=\"\"\n"
           "    case \"${COMP_WORDS[1]}\" in\n"
           "    render) options=\""
        << joined(runOptionNames("render"))
        << " --help\" ;;\n"
           "    apply) options=\""
        << joined(runOptionNames("apply"))
        << " --help\" ;;\n"
           "    edit) options=\""
        << joined(runOptionNames("edit"))
        << " --help\" ;;\n"
           "    sheet) options=\""
        << common
        << " --preset-file --size --quality --chroma --quiet\" ;;\n"
           "    presets)\n"
           "        if [ \"$COMP_CWORD\" -eq 2 ]; then\n"
           "            COMPREPLY=($(compgen -W \"list check add\" -- \"$cur\")); return\n"
           "        fi\n"
           "        options=\""
        << common
        << " --json --preset-file --category --name --params\" ;;\n"
           "    params)\n"
           "        if [ \"$COMP_CWORD\" -eq 2 ]; then\n"
           "            COMPREPLY=($(compgen -W \"show set init\" -- \"$cur\")); return\n"
           "        fi\n"
           "        if [ \"${COMP_WORDS[2]}\" = set ] && [ \"$COMP_CWORD\" -ge 4 ]; then\n"
           "            compopt -o nospace 2>/dev/null; COMPREPLY=($(compgen -W \"$fields\" -- \"$cur\")); return\n"
           "        fi\n"
           "        options=\"--json --help\" ;;\n"
           "    esac\n"
           "    if [[ \"$cur\" == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _morvessan morvessan morvessan.exe\n";
    std::string error;
    if (!writeStandardOutput(script.str(), error)) {
        throw JobError(error);
    }
    return 0;
}

} // namespace morvessan::cli
