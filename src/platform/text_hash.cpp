#include "platform/text_hash.h"

#include <QHashSeed>

#include <cstdint>
#include <cstring>

namespace lexicrawl {

namespace {

// The high and low halves of the 128-bit product, folded together.
inline std::uint64_t Fold(std::uint64_t a, std::uint64_t b) noexcept
{
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

constexpr std::uint64_t kLength = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kBlock = 0xA0761D6478BD642Full;
constexpr std::uint64_t kTail = 0xE7037ED1A0B428DBull;
constexpr std::uint64_t kFinal = 0x8EBC6AF09C88C6E3ull;

}  // namespace

std::size_t HashText(QStringView text, std::size_t seed) noexcept
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = std::size_t(text.size()) * sizeof(char16_t);
    std::uint64_t hash = Fold(seed ^ kLength, left + kBlock);
    for (; left >= 8; bytes += 8, left -= 8) {
        std::uint64_t block;
        std::memcpy(&block, bytes, 8);
        hash = Fold(hash ^ block, kBlock);
    }
    if (left > 0) {
        std::uint64_t block = 0;
        std::memcpy(&block, bytes, left);
        hash = Fold(hash ^ block, kTail);
    }
    return std::size_t(Fold(hash, kFinal));
}

TextHasher::TextHasher() : seed(std::size_t(QHashSeed::globalSeed())) {}

}  // namespace lexicrawl
