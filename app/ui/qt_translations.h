#pragma once
// Qt's own texts (the OK, Cancel, Yes and No of dialogs and message boxes,
// the file dialogs) in the language of the menu bar, from the translations
// Qt ships. English needs none; a missing translation file leaves Qt's
// English texts.

namespace tarvosen::ui {

// languageIndex: 1 English, 2 Simplified Chinese, 3 Traditional Chinese.
void UseQtTranslations(int languageIndex);

}  // namespace tarvosen::ui
