#include "app/file_digest.h"

#include <nettle/sha2.h>

namespace tarvosen {

std::string Sha256Hex(std::string_view bytes) {
    sha256_ctx ctx;
    sha256_init(&ctx);
    sha256_update(&ctx, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&ctx, SHA256_DIGEST_SIZE, digest);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * SHA256_DIGEST_SIZE);
    for (const std::uint8_t b : digest) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

}  // namespace tarvosen
