#include "app/ui/menu_bars.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/command.h"

namespace tarvosen::ui {

QAction* CommandMenuBar::item(std::string_view key) const {
    auto it = items.find(key);
    return it == items.end() ? nullptr : it->second;
}

namespace {

const MenuPlace& PlaceIn(const CommandRow& row, int languageIndex) {
    switch (languageIndex) {
        case 1:
            return row.english;
        case 3:
            return row.big5;
        default:
            return row.gb;
    }
}

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

CommandMenuBar BuildMenuBar(int languageIndex, QWidget* parent,
                            const std::function<void(std::string_view key)>& run) {
    static const char* const kNames[] = {"MainMenu", "MainMenu1", "MainMenu2"};
    CommandMenuBar result;
    result.languageIndex = languageIndex;
    result.bar = new QMenuBar(parent);
    result.bar->setObjectName(kNames[std::clamp(languageIndex, 1, 3) - 1]);
    // Menus this bar does not have (the parent text was empty) swallow their rows.
    std::map<std::string_view, QMenu*, std::less<>> menus;
    std::map<std::string_view, QActionGroup*, std::less<>> groups;

    for (const CommandRow& row : CommandTable()) {
        const MenuPlace& place = PlaceIn(row, languageIndex);
        if (place.text.empty()) continue;
        QMenu* parentMenu = nullptr;
        if (!place.parent.empty()) {
            auto it = menus.find(place.parent);
            if (it == menus.end()) continue;
            parentMenu = it->second;
        }
        switch (row.kind) {
            case RowKind::Menu: {
                QMenu* menu = parentMenu ? parentMenu->addMenu(Text(place.text))
                                         : result.bar->addMenu(Text(place.text));
                menus[row.key] = menu;
                break;
            }
            case RowKind::Separator:
                if (parentMenu) parentMenu->addSeparator();
                break;
            case RowKind::Item: {
                if (!parentMenu) break;
                QAction* action = parentMenu->addAction(Text(place.text));
                action->setObjectName(Text(row.key));
                const std::string key(row.key);
                QObject::connect(action, &QAction::triggered, action, [run, key] { run(key); });
                if (!row.radioGroup.empty()) {
                    QActionGroup*& group = groups[row.radioGroup];
                    if (!group) {
                        group = new QActionGroup(result.bar);
                        group->setExclusive(true);
                    }
                    action->setCheckable(true);
                    group->addAction(action);
                    if (row.radioGroup == "language")
                        action->setChecked(row.radioValue == languageIndex);
                }
                result.items.emplace(key, action);
                break;
            }
        }
    }
    if (QAction* view = result.item("transfer.signal-lamps")) view->setCheckable(true);
    if (QAction* strict = result.item("app.read-strictly")) strict->setCheckable(true);
    return result;
}

}  // namespace tarvosen::ui
