#pragma once
// Reading a GSI file block by block: blank lines are passed over, lines that
// are no GSI block are not understood, and a unit code GSI does not define
// stops the reading with an error naming the file, the line and the code
// (never a guess).

#include <cstddef>
#include <functional>
#include <string>

#include "app/command_context.h"
#include "app/line_account.h"
#include "leica/gsi_word.h"

namespace tarvosen::leica {

// Word kinds a reader passes over.
extern const PassedOverKind kGsiCodeBlocks;
extern const PassedOverKind kGsiPointIds;

// Each block of `lines`, with its line number (from 1), in order. Returns
// false after an error shown to the user (an unknown unit code).
bool ForEachGsiBlock(CommandContext& ctx, const Workspace& lines, const std::string& file,
                     LineAccount& account,
                     const std::function<void(const GsiBlock&, std::size_t line)>& block);

// The error of a number word that holds no value in a unit it can take:
// "job.gsi, line 12: the word 331 holds no value in a unit it can take (unit
// code "3", data "0000000000159977"); nothing was written." Returns false.
bool RefuseGsiValue(CommandContext& ctx, const std::string& file, std::size_t line,
                    const GsiWord& word);

// True when the first GSI block among the first lines has a word `wanted`
// says it wants (a cheap look at a file's content).
bool GsiHasWord(const Workspace& lines, const std::function<bool(const GsiBlock&)>& wanted);

}  // namespace tarvosen::leica
