// "completion bash": a bash completion script for commands, options and field names,
// made from the program's own lists so that it never falls behind them.
#include "host/cli/CliFields.h"
#include "host/cli/CliSupport.h"
#include "host/cli/Commands.h"

#include <iostream>

namespace morvessan::cli {

namespace {

const char* const kCompletionHelp =
    "usage: morvessan completion bash\n"
    "\n"
    "Prints a bash completion script: commands, each command's options, field names\n"
    "after --set and 'params set FILE', and the values of --type and --format. Load\n"
    "it with: source <(morvessan completion bash)\n";

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) {
        out += (out.empty() ? "" : " ") + word;
    }
    return out;
}

} // namespace

int commandCompletion(const std::vector<std::string>& list) {
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
    for (const TextureField& field : textureFields()) {
        fields += (fields.empty() ? "" : " ") + std::string(field.name) + "=";
    }
    const std::string common = "--presets-dir --textures-dir --help";
    std::cout << "# bash completion for morvessan, made by 'morvessan completion bash'\n"
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
                 "    --set) compopt -o nospace; COMPREPLY=($(compgen -W \"$fields\" -- \"$cur\")); return ;;\n"
                 "    --type) COMPREPLY=($(compgen -W \"cloud fire marble wood\" -- \"$cur\")); return ;;\n"
                 "    --format) COMPREPLY=($(compgen -W \"png jpg bmp\" -- \"$cur\")); return ;;\n"
                 "    --seed) COMPREPLY=($(compgen -W \"random\" -- \"$cur\")); return ;;\n"
                 "    --output-dir|--presets-dir|--textures-dir) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
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
              << " --preset-file --size --quiet\" ;;\n"
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
                 "            compopt -o nospace; COMPREPLY=($(compgen -W \"$fields\" -- \"$cur\")); return\n"
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
    return 0;
}

} // namespace morvessan::cli
