#pragma once
// Dialog texts from the message catalogue, in the language the command runs
// in. A dialog is made with its own texts and takes the catalogue's each time
// it is shown, so it follows the Language menu. Header-only: every
// subsystem's dialogs use it.

#include <QString>

#include "app/command_context.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::ui {

// The catalogue text of `base`, or `own` (the control's text as it stands)
// when the catalogue has none.
inline QString CatalogueText(const CommandContext& ctx, int base, const QString& own) {
    if (auto text = ctx.catalogue.find(base, ctx.state.languageIndex))
        return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
    return own;
}

}  // namespace tarvosen::ui
