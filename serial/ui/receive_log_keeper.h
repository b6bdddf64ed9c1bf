#pragma once
// The window's watch over what the serial port receives: each download (from its first
// burst to its END line, or until the window closes) gets a transfer log in
// the user's data folder, and each address gap is listed as its line arrives.

#include <chrono>
#include <filesystem>
#include <optional>

#include "app/command_context.h"
#include "serial/receive_observer.h"
#include "serial/transfer_log.h"

namespace tarvosen::ui {

// <user data folder>/transfer-logs, made when missing.
std::filesystem::path TransferLogFolder();

class ReceiveLogKeeper : public ReceiveObserver {
  public:
    explicit ReceiveLogKeeper(CommandContext& ctx);
    ~ReceiveLogKeeper() override;

    void bytesReceived(std::string_view bytes) override;
    void lineReceived(std::string_view line, std::size_t lineNumber) override;

  private:
    void finish(const std::string& how);
    long elapsed() const;

    CommandContext& ctx_;
    std::optional<TransferLogWriter> log_;
    std::chrono::steady_clock::time_point start_;
    zeiss::AddressTracker addresses_;
    std::size_t gaps_ = 0;
    std::size_t lastLine_ = 0;  // the workspace line the last received line became
};

}  // namespace tarvosen::ui
