#pragma once
// Watches what the serial receive path takes in: every burst of bytes as it
// arrives and every line it completes.

#include <cstddef>
#include <string_view>

namespace tarvosen {

class ReceiveObserver {
  public:
    virtual ~ReceiveObserver() = default;
    // A burst of bytes, before it is split into lines.
    virtual void bytesReceived(std::string_view bytes) = 0;
    // A line appended to the workspace; lineNumber counts from 1.
    virtual void lineReceived(std::string_view line, std::size_t lineNumber) = 0;
};

}  // namespace tarvosen
