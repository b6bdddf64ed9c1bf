#pragma once
// File dialog filters. The commands give them in the form
// "Text File(*.Txt)|*.Txt|All(*.*)|*.*" (pairs of a description and its
// patterns, patterns separated by ";"); Qt wants "Description (patterns)".
// The description a command gives is replaced by the name of its kind of file
// in the chosen language when the patterns are of a kind the program knows.

#include <filesystem>
#include <string>

#include <QStringList>

#include "i18n/message_catalogue.h"

namespace tarvosen::ui {

// One Qt name filter per pair. Patterns match without regard to case, as the
// file names of instrument data come in any case ("*.Txt" finds "JOB.TXT").
QStringList QtNameFilters(const std::string& filter, const MessageTexts& texts = {});

// The path with "." + extension added when the file name has no extension.
std::filesystem::path WithDefaultExtension(std::filesystem::path path,
                                           const std::string& extension);

}  // namespace tarvosen::ui
