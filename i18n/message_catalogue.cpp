#include "i18n/message_catalogue.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace tarvosen {

bool MessageCatalogue::load(const std::filesystem::path& path) {
    texts_.clear();
    loaded_ = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    loadFromText(all.str());
    return true;
}

void MessageCatalogue::loadFromText(std::string_view text) {
    texts_.clear();
    loaded_ = true;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        int id = 0;
        auto [p, ec] = std::from_chars(line.data(), line.data() + tab, id);
        if (ec != std::errc() || p != line.data() + tab) continue;
        std::string value;
        std::string_view raw = line.substr(tab + 1);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == 'n') {
                value += '\n';
                ++i;
            } else {
                value += raw[i];
            }
        }
        texts_[id] = std::move(value);
    }
}

std::optional<std::string> MessageCatalogue::find(int base, int languageIndex) const {
    if (!loaded_) return std::nullopt;
    auto it = texts_.find(base + languageIndex);
    if (it == texts_.end()) return std::nullopt;
    return it->second;
}

std::string MessageCatalogue::lookup(int base, int languageIndex,
                                     std::string_view englishDefault) const {
    if (auto text = find(base, languageIndex)) return *text;
    return std::string(englishDefault);
}

std::string FillIn(std::string_view text, std::span<const std::string_view> values) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto place = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && place < values.size()) {
            out += values[place];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string MessageTexts::operator()(int base, std::string_view englishDefault,
                                     std::initializer_list<std::string_view> values) const {
    return filledIn(base, englishDefault, std::span(values.begin(), values.size()));
}

std::string MessageTexts::operator()(int base, std::string_view englishDefault,
                                     const std::vector<std::string>& values) const {
    const std::vector<std::string_view> views(values.begin(), values.end());
    return filledIn(base, englishDefault, views);
}

std::string MessageTexts::filledIn(int base, std::string_view englishDefault,
                                   std::span<const std::string_view> values) const {
    const std::string text =
        catalogue ? catalogue->lookup(base, languageIndex, englishDefault) : std::string(englishDefault);
    return values.empty() ? text : FillIn(text, values);
}

std::string ListOf(const std::vector<std::string>& items, const MessageTexts& texts, bool andLast,
                   std::size_t more) {
    const std::string comma = texts(msg::kListComma, ", ");
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && i + 1 == items.size() && andLast && more == 0)
            return texts(msg::kListAnd, "%1 and %2", {text, items[i]});
        if (i > 0) text += comma;
        text += items[i];
    }
    return more == 0 ? text : texts(msg::kAndMore, "%1 and %2 more", {text, std::to_string(more)});
}

}  // namespace tarvosen
