#pragma once
// The transfer log of a download: the port and its settings, the instrument
// kind, the start time, every burst of bytes as the receive path took it in
// with its arrival time in milliseconds since the start, and how the download
// ended. It is text a person can read, one burst a line:
//
//   burst 120 t For M5|Adr     1|TO  0624.dat ... \r\n
//   burst 131 x b2e2c1bf0d0a
//
// "t" holds the bytes as text (backslash escapes \\ \r \n \t \xHH), "x" as
// hexadecimal, whichever is shorter, so a log is at most about twice the size
// of what was received. Replaying the bursts through ReceiveBytes gives the
// lines the download gave.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command.h"
#include "serial/receive_observer.h"
#include "zeiss/address_continuity.h"
#include "serial/serial_options.h"

namespace tarvosen {

struct TransferBurst {
    long milliseconds = 0;
    std::string bytes;
};

struct TransferLog {
    std::string port, settings, instrument, start;
    std::vector<TransferBurst> bursts;
    std::string end;  // END, idle time-out, Stop, device lost (...)
    long endMilliseconds = 0;
};

// A burst as the log's line writes it, after "burst MS ".
std::string EncodeBurst(std::string_view bytes);
// The bytes of an encoded burst; nullopt when it is not well formed.
std::optional<std::string> DecodeBurst(std::string_view encoded);

// Reads a log; throws FileError naming the file and line of what is wrong.
TransferLog ReadTransferLog(const std::filesystem::path& file);

// "9600 baud, 8 data bits, no parity, 1 stop bit, flow control xonxoff"
std::string DescribeLineSettings(const PortSettings& portSettings);

// Writes the log as the download goes, each burst flushed as it comes, so a
// download that ends badly leaves its log behind.
class TransferLogWriter {
  public:
    // Throws FileError when the file cannot be written.
    TransferLogWriter(const std::filesystem::path& file, const TransferLog& header);
    ~TransferLogWriter();
    TransferLogWriter(const TransferLogWriter&) = delete;
    TransferLogWriter& operator=(const TransferLogWriter&) = delete;

    void burst(long milliseconds, std::string_view bytes);
    void end(long milliseconds, const std::string& how);

  private:
    std::FILE* file_ = nullptr;
    bool ended_ = false;
};

// Watches a download (or a replay): keeps the transfer log when given a file
// and warns of each address gap as its line arrives.
class DownloadWatch : public ReceiveObserver {
  public:
    // Takes the place of SerialLinkOf(ctx).receiveObserver until it goes.
    DownloadWatch(CommandContext& ctx, const std::filesystem::path& logFile = {});
    ~DownloadWatch() override;
    DownloadWatch(const DownloadWatch&) = delete;
    DownloadWatch& operator=(const DownloadWatch&) = delete;

    void bytesReceived(std::string_view bytes) override;
    void lineReceived(std::string_view line, std::size_t lineNumber) override;
    // Ends the log with how the download ended.
    void finish(const std::string& how);
    bool sawEnd() const { return sawEnd_; }
    std::size_t gaps() const { return gaps_; }

  private:
    long elapsed() const;

    CommandContext& ctx_;
    std::chrono::steady_clock::time_point start_;
    std::optional<TransferLogWriter> log_;
    ReceiveObserver* previous_ = nullptr;
    zeiss::AddressTracker addresses_;
    std::size_t gaps_ = 0;
    bool sawEnd_ = false;
};

// Feeds the bursts through ReceiveBytes and keeps an unended last record as
// a line, as the download did.
void ReplayTransferLog(CommandContext& ctx, const TransferLog& log);

// replay LOG -o OUTPUT; in the window, a log chosen from the logs folder.
CommandStatus ReplayCommand(CommandContext& ctx);

}  // namespace tarvosen
