#include "cli/bash_completion.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "cli/command_help.h"

namespace tarvosen {

namespace {

// What completes an option's value, read from its value name: the choices of
// "a|b|c", the numbers of "5..8", file names for FILE or FILE.ext, devices for
// DEV, today for a date; nothing for free text.
std::string ValueCompletion(std::string_view valueName) {
    if (valueName.find('|') != std::string_view::npos) {
        std::string words(valueName);
        std::replace(words.begin(), words.end(), '|', ' ');
        return "COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))";
    }
    if (const auto dots = valueName.find(".."); dots != std::string_view::npos &&
        std::isdigit(static_cast<unsigned char>(valueName.front())) &&
        std::isdigit(static_cast<unsigned char>(valueName.back()))) {
        std::string words;
        for (int n = std::stoi(std::string(valueName.substr(0, dots)));
             n <= std::stoi(std::string(valueName.substr(dots + 2))); ++n)
            words += (words.empty() ? "" : " ") + std::to_string(n);
        return "COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))";
    }
    if (valueName == "FILE") return "_tarvosen_cli_files";
    if (valueName.starts_with("FILE.")) return "_tarvosen_cli_files " + std::string(valueName.substr(5));
    if (valueName == "DEV") return "COMPREPLY=($(compgen -f -- \"${cur:-/dev/tty}\"))";
    if (valueName == "YYYY-MM-DD") return "COMPREPLY=($(compgen -W \"$(date +%F)\" -- \"$cur\"))";
    return "COMPREPLY=()";
}

}  // namespace

std::string CliBashCompletion() {
    std::ostringstream out;
    out << "# bash completion for tarvosen-cli, generated from its command table.\n\n"
           "# File names, of one extension when given.\n"
           "_tarvosen_cli_files() {\n"
           "    if declare -F _filedir >/dev/null; then\n"
           "        _filedir \"$@\"\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n\n"
           "_tarvosen_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    if ((COMP_CWORD == 1)); then\n"
           "        COMPREPLY=($(compgen -W 'list --help --version";
    for (const CommandRow* row : CliCommands()) out << ' ' << row->cliName;
    out << "' -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case $prev in\n"
           "    -o | --output) _tarvosen_cli_files; return ;;\n"
           "    esac\n"
           "    local options=\n"
           "    case ${COMP_WORDS[1]} in\n";
    for (const CommandRow* row : CliCommands()) {
        const auto options = OptionsOf(*row);
        if (options.empty()) continue;
        out << "    " << row->cliName << ")\n"
            << "        options='";
        for (std::size_t i = 0; i < options.size(); ++i)
            out << (i ? " --" : "--") << options[i].name;
        out << "'\n        case $prev in\n";
        for (const CliOption& option : options)
            if (!option.valueName.empty())
                out << "        --" << option.name << ") " << ValueCompletion(option.valueName)
                    << "; return ;;\n";
        out << "        esac\n        ;;\n";
    }
    out << "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options --output --help\" -- \"$cur\"))\n"
           "    else\n"
           "        _tarvosen_cli_files\n"
           "    fi\n"
           "}\n\n"
           "complete -F _tarvosen_cli tarvosen-cli\n";
    return out.str();
}

}  // namespace tarvosen
