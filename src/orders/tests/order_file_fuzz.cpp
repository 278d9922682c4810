// Feeds arbitrary bytes to the order-file reader. Besides not crashing, the
// reader must either load the image whole or leave the order untouched, and a
// loaded order must encode back to exactly the bytes it was read from.

#include "orders/order_file.h"
#include "testsupport/order_fixtures.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

// Compares the stored bits, so that a loaded NaN area counts as equal to itself.
bool SameBits(const model::Grille& a, const model::Grille& b) {
    return a.B == b.B && a.H == b.H && a.t == b.t && a.n == b.n && a.b == b.b && a.q == b.q &&
           a.DoubleBelt == b.DoubleBelt && std::memcmp(&a.S, &b.S, sizeof a.S) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const model::Order before = Numbered(42, -20000);
    model::Order order = before;
    const orders::DecodeResult result = orders::DecodeOrder(bytes, order);

    const int count = result.status == orders::DecodeStatus::Loaded ? order.GrilleCount : 0;
    if (result.status == orders::DecodeStatus::Loaded) {
        Check(count >= 0 && count <= model::MaxOpenings);
        const auto image = orders::EncodeOrder(order);
        Check(image.size() == orders::OrderFileSize(static_cast<std::size_t>(count)));
        Check(image.size() <= size && std::memcmp(image.data(), data, image.size()) == 0);
    } else {
        Check(order.GrilleCount == before.GrilleCount);
    }
    for (int i = count + 1; i <= model::MaxOpenings; ++i) {
        Check(order.OpeningAt(i) == before.OpeningAt(i));
        Check(SameBits(order.GrilleAt(i), before.GrilleAt(i)));
    }

    // The same bytes as an order number must give a path or a clear refusal.
    const std::string_view number(reinterpret_cast<const char*>(data), size);
    if (orders::OrderNumberProblem(number).empty()) {
        const std::string path = orders::OrderFilePath("/orders", number);
        Check(path.size() == 8 + size + 4 && path.find('/', 8) == std::string::npos);
    }
    return 0;
}
