#pragma once
// Bash completion for tarvosen-cli, written from the command table: commands,
// their options, and the values an option's value name lists.

#include <string>

namespace tarvosen {

std::string CliBashCompletion();

}  // namespace tarvosen
