#include "serial/transfer_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "app/errors.h"
#include "i18n/message_catalogue.h"
#include "serial/comm_types.h"
#include "serial/instrument_link.h"
#include "serial/serial_link.h"
#include "zeiss/fixed_columns.h"
#include "serial/serial_options.h"

namespace tarvosen {

namespace {

constexpr const char* kLogHeading =
    "# Tarvosen transfer log: each burst of received bytes with its arrival in ms since the "
    "start; t = text with \\\\ \\r \\n \\t \\xHH escapes, x = hexadecimal";
constexpr char kHex[] = "0123456789abcdef";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buffer;
}

[[noreturn]] void Malformed(const std::filesystem::path& file, std::size_t line,
                            const std::string& what) {
    throw FileError({msg::kNotTransferLogLine, "%1 line %2 is not a transfer log line: %3",
                     {file.string(), std::to_string(line), what}});
}

}  // namespace

std::string EncodeBurst(std::string_view bytes) {
    std::string text = "t ";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\') {
            text += "\\\\";
        } else if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (c >= 0x20 && c < 0x7f && !(c == ' ' && i + 1 == bytes.size())) {
            text += static_cast<char>(c);  // a last blank is escaped so it cannot be lost
        } else {
            text += "\\x";
            text += kHex[c >> 4];
            text += kHex[c & 15];
        }
    }
    if (text.size() <= 2 + 2 * bytes.size()) return text;
    std::string hex = "x ";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        hex += kHex[c >> 4];
        hex += kHex[c & 15];
    }
    return hex;
}

std::optional<std::string> DecodeBurst(std::string_view encoded) {
    if (encoded.size() < 2 || encoded[1] != ' ') return std::nullopt;
    const std::string_view body = encoded.substr(2);
    std::string out;
    if (encoded[0] == 'x') {
        if (body.size() % 2) return std::nullopt;
        for (std::size_t i = 0; i < body.size(); i += 2) {
            const int hi = HexDigit(body[i]), lo = HexDigit(body[i + 1]);
            if (hi < 0 || lo < 0) return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
        }
        return out;
    }
    if (encoded[0] != 't') return std::nullopt;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            out += body[i];
            continue;
        }
        if (++i == body.size()) return std::nullopt;
        switch (body[i]) {
            case '\\': out += '\\'; break;
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'x': {
                if (i + 2 >= body.size()) return std::nullopt;
                const int hi = HexDigit(body[i + 1]), lo = HexDigit(body[i + 2]);
                if (hi < 0 || lo < 0) return std::nullopt;
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return out;
}

TransferLog ReadTransferLog(const std::filesystem::path& file) {
    const std::string bytes = ReadFileBytes(file);
    TransferLog log;
    std::size_t lineNumber = 0, begin = 0;
    bool sawEnd = false;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\n', begin);
        if (end == std::string::npos) end = bytes.size();
        std::string_view line(bytes.data() + begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        const auto space = line.find(' ');
        const std::string_view key = line.substr(0, space);
        const std::string_view rest = space == std::string_view::npos ? "" : line.substr(space + 1);
        if (key == "port") {
            log.port = rest;
        } else if (key == "settings") {
            log.settings = rest;
        } else if (key == "instrument") {
            log.instrument = rest;
        } else if (key == "start") {
            log.start = rest;
        } else if (key == "burst" || key == "end") {
            const auto gap = rest.find(' ');
            long ms = 0;
            if (!zeiss::ParseInteger(rest.substr(0, gap), ms) || ms < 0)
                Malformed(file, lineNumber, "no milliseconds after \"" + std::string(key) + "\"");
            const std::string_view value = gap == std::string_view::npos ? "" : rest.substr(gap + 1);
            if (key == "end") {
                log.end = value;
                log.endMilliseconds = ms;
                sawEnd = true;
            } else {
                auto decoded = DecodeBurst(value);
                if (!decoded) Malformed(file, lineNumber, "a damaged burst");
                log.bursts.push_back({ms, std::move(*decoded)});
            }
        } else {
            Malformed(file, lineNumber, "unknown key \"" + std::string(key) + "\"");
        }
    }
    if (log.port.empty() && log.bursts.empty() && !sawEnd)
        throw FileError({msg::kNotTransferLog, "%1 is not a transfer log", {file.string()}});
    return log;
}

std::string DescribeLineSettings(const PortSettings& portSettings) {
    static constexpr const char* kParity[] = {"no parity", "odd parity", "even parity",
                                              "mark parity", "space parity"};
    static constexpr const char* kFlow[] = {"none", "cts", "dtr", "xonxoff", "default"};
    static constexpr const char* kStop[] = {"1 stop bit", "1.5 stop bits", "2 stop bits"};
    const int baud = std::clamp(portSettings.baudRate, 0, kBaudRateCount - 1);
    return std::to_string(BaudRateValue(static_cast<TBaudRate>(baud))) + " baud, " +
           std::to_string(std::clamp(portSettings.dataBits, 0, 4) + 4) + " data bits, " +
           kParity[std::clamp(portSettings.parity, 0, 4)] + ", " + kStop[std::clamp(portSettings.stopBits, 0, 2)] +
           ", flow control " + kFlow[std::clamp(portSettings.flowControl, 0, 4)];
}

TransferLogWriter::TransferLogWriter(const std::filesystem::path& file, const TransferLog& header)
    : file_(std::fopen(file.c_str(), "wb")) {
    if (!file_)
        throw FileError({msg::kCannotWriteTransferLog, "Cannot write the transfer log \"%1\": %2",
                         {file.string(), std::strerror(errno)}});
    std::string text = std::string(kLogHeading) + "\nport " + header.port + "\nsettings " +
                       header.settings + "\ninstrument " + header.instrument + "\nstart " +
                       header.start + "\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

TransferLogWriter::~TransferLogWriter() {
    if (!ended_) end(-1, "unknown");
    std::fclose(file_);
}

void TransferLogWriter::burst(long milliseconds, std::string_view bytes) {
    const std::string line = "burst " + std::to_string(milliseconds) + " " + EncodeBurst(bytes) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

void TransferLogWriter::end(long milliseconds, const std::string& how) {
    if (ended_) return;
    ended_ = true;
    const std::string line =
        "end " + std::to_string(milliseconds < 0 ? 0 : milliseconds) + " " + how + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

DownloadWatch::DownloadWatch(CommandContext& ctx, const std::filesystem::path& logFile)
    : ctx_(ctx), start_(std::chrono::steady_clock::now()) {
    if (!logFile.empty()) {
        TransferLog header;
        header.port = ctx.options.get<PortSettings>().port;
        header.settings = DescribeLineSettings(ctx.options.get<PortSettings>());
        header.instrument = InstrumentLabel(ctx.state.instrumentKind);
        header.start = UtcNow();
        log_.emplace(logFile, header);
    }
    previous_ = SerialLinkOf(ctx_).receiveObserver;
    SerialLinkOf(ctx_).receiveObserver = this;
}

DownloadWatch::~DownloadWatch() {
    if (SerialLinkOf(ctx_).receiveObserver == this) SerialLinkOf(ctx_).receiveObserver = previous_;
}

long DownloadWatch::elapsed() const {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start_)
                                 .count());
}

void DownloadWatch::bytesReceived(std::string_view bytes) {
    if (log_) log_->burst(elapsed(), bytes);
}

void DownloadWatch::lineReceived(std::string_view line, std::size_t lineNumber) {
    if (IsEndLine(line)) sawEnd_ = true;
    if (auto gap = addresses_.add(line, lineNumber)) {
        // Each gap as its line arrives; the first replaces the findings shown before.
        ctx_.user.showLineFindings({{"received", lineNumber, gap->text(TextsOf(ctx_))}},
                                   gaps_++ > 0);
    }
}

void DownloadWatch::finish(const std::string& how) {
    if (log_) log_->end(elapsed(), how);
}

void ReplayTransferLog(CommandContext& ctx, const TransferLog& log) {
    for (const auto& burst : log.bursts) ReceiveBytes(ctx, burst.bytes);
    std::string& pending = SerialLinkOf(ctx).pendingLine;
    if (!pending.empty()) {
        AppendWorkspaceLine(ctx, std::move(pending));
        pending.clear();
    }
}

CommandStatus ReplayCommand(CommandContext& ctx) {
    std::filesystem::path file;
    if (!ctx.state.inputFiles.empty()) {
        if (ctx.state.inputFiles.size() > 1) throw UsageError("replay takes one transfer log");
        file = ctx.state.inputFiles.front();
    } else {
        auto chosen = ctx.user.chooseOpenFile("Transfer log(*.log)|*.log|All(*.*)|*.*");
        if (!chosen) return CommandStatus::Cancelled;
        file = *chosen;
    }
    const TransferLog log = ReadTransferLog(file);
    SerialLinkOf(ctx).pendingLine.clear();
    {
        DownloadWatch watch(ctx);
        ReplayTransferLog(ctx, log);
    }
    ctx.user.information(TextsOf(ctx)(msg::kReplaySummary,
                                      "%1 bursts replayed from %2 (%3, %4; the download ended: %5)",
                                      {std::to_string(log.bursts.size()), file.filename().string(),
                                       log.port, log.start, log.end}));
    return CommandStatus::Done;
}

}  // namespace tarvosen
