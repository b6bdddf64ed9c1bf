#include "app/ui/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <optional>
#include <vector>

namespace tarvosen::ui {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for bytes 0x80..0xFF

bool IsEscape(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

// Decodes strict UTF-8 (no overlong forms, no surrogates, at most U+10FFFF);
// nothing when the bytes are not valid UTF-8.
std::optional<QString> DecodeUtf8(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            out.append(QChar(b));
            ++p;
            continue;
        }
        int extra;
        char32_t cp;
        char32_t minimum;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, cp = b & 0x1F, minimum = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, cp = b & 0x0F, minimum = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, cp = b & 0x07, minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (end - p <= extra) return std::nullopt;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        // Appended unit by unit: a conversion routine would drop a leading BOM.
        if (cp < 0x10000) {
            out.append(QChar(static_cast<char16_t>(cp)));
        } else {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        }
        p += extra + 1;
    }
    return out;
}

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }
    void reset() const { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t cd_;
};

const Converter& FromGb18030() {
    thread_local Converter c("UTF-16LE", "GB18030");
    return c;
}

const Converter& ToGb18030() {
    thread_local Converter c("GB18030", "UTF-16LE");
    return c;
}

QString DecodeGb18030(std::string_view bytes) {
    QString out;
    const Converter& conv = FromGb18030();
    if (!conv.ok()) {
        for (unsigned char b : bytes) out.append(b < 0x80 ? QChar(b) : QChar(kEscapeBase + b));
        return out;
    }
    conv.reset();
    // A GB18030 character of n bytes gives at most n UTF-16 units.
    std::vector<char16_t> buffer(bytes.size() + 4);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer.data());
        std::size_t outLeft = buffer.size() * sizeof(char16_t);
        const std::size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        const auto units =
            static_cast<qsizetype>((reinterpret_cast<char16_t*>(outPtr) - buffer.data()));
        out.append(QStringView(buffer.data(), units));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // An invalid or truncated sequence: keep its first byte as a stand-in.
        const auto b = static_cast<unsigned char>(*in);
        out.append(b < 0x80 ? QChar(b) : QChar(kEscapeBase + b));
        ++in;
        --inLeft;
        conv.reset();
    }
    return out;
}

// Encodes a run of text without stand-ins.
void EncodeRun(QStringView run, LineEncoding encoding, std::string& out) {
    if (run.isEmpty()) return;
    if (encoding == LineEncoding::Utf8) {
        out += run.toUtf8().toStdString();
        return;
    }
    const Converter& conv = ToGb18030();
    if (!conv.ok()) {
        out += run.toUtf8().toStdString();
        return;
    }
    conv.reset();
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(run.data()));
    std::size_t inLeft = static_cast<std::size_t>(run.size()) * sizeof(char16_t);
    std::vector<char> buffer(static_cast<std::size_t>(run.size()) * 4 + 8);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // A lone surrogate has no encoding; it becomes a question mark.
        out += '?';
        in += sizeof(char16_t);
        inLeft -= std::min(inLeft, sizeof(char16_t));
        conv.reset();
    }
    // Finish any shift state.
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    iconv(conv.get(), nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    return DecodeUtf8(bytes).has_value();
}

LineEncoding EncodingOf(std::string_view bytes) {
    return IsValidUtf8(bytes) ? LineEncoding::Utf8 : LineEncoding::Gb18030;
}

QString DecodeLine(std::string_view bytes) {
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (auto text = DecodeUtf8(bytes)) return *text;
    return DecodeGb18030(bytes);
}

std::string EncodeLine(const QString& text, LineEncoding encoding) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const QStringView all(text);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const char16_t c = all[i].unicode();
        if (!IsEscape(c)) continue;
        // A stand-in right after a high surrogate would be half of a pair;
        // valid pairs never use the range U+DC80..U+DCFF alone.
        if (i > 0 && all[i - 1].isHighSurrogate()) continue;
        EncodeRun(all.mid(runStart, i - runStart), encoding, out);
        out += static_cast<char>(c - kEscapeBase);
        runStart = i + 1;
    }
    EncodeRun(all.mid(runStart), encoding, out);
    return out;
}

}  // namespace tarvosen::ui
