#include "numbered_order.h"
#include "orders/order_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using orders::DecodeOrder;
using orders::DecodeStatus;
using orders::EncodeOrder;
using Bytes = std::vector<std::uint8_t>;

namespace {

// One opening of 1020 x 1550 with gaps 20, 30 and 10, and its grille.
const Bytes ExampleFile = {
    0x01, 0x00,                                                             // count
    0xFC, 0x03, 0x0E, 0x06, 0x14, 0x00, 0x1E, 0x00, 0x0A, 0x00,             // opening 1
    0xE8, 0x03, 0xDC, 0x05, 0xA4, 0x00, 0x06, 0x00, 0xF3, 0xFF, 0x0E, 0x00, // grille 1 ...
    0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,
};

model::Order ExampleOrder() {
    model::Order order;
    order.GrilleCount = 1;
    order.OpeningAt(1) = {1020, 1550, 20, 30, 10};
    order.GrilleAt(1) = {1000, 1500, 164, 6, -13, 14, model::True16, 1.5};
    return order;
}

void ExpectSameRecords(const model::Order& a, const model::Order& b, int from, int to) {
    for (int i = from; i <= to; ++i) {
        EXPECT_EQ(a.OpeningAt(i), b.OpeningAt(i)) << "opening " << i;
        EXPECT_EQ(a.GrilleAt(i), b.GrilleAt(i)) << "grille " << i;
    }
}

TEST(OrderFormat, ExampleIsWrittenByteForByte) {
    EXPECT_EQ(EncodeOrder(ExampleOrder()), ExampleFile);
    EXPECT_EQ(ExampleFile.size(), orders::OrderFileSize(1));
}

TEST(OrderFormat, SizesFollowTheCount) {
    EXPECT_EQ(EncodeOrder(model::Order{}), (Bytes{0x00, 0x00}));
    EXPECT_EQ(EncodeOrder(Numbered(2, 0)).size(), 66u);
    EXPECT_EQ(EncodeOrder(Numbered(60, 0)).size(), 1922u);
}

TEST(OrderFormat, ExampleReadsBack) {
    model::Order order;
    const auto result = DecodeOrder(ExampleFile, order);
    ASSERT_EQ(result.status, DecodeStatus::Loaded);
    EXPECT_EQ(order.GrilleCount, 1);
    EXPECT_EQ(order.OpeningAt(1), (model::Opening{1020, 1550, 20, 30, 10}));
    const model::Grille& g = order.GrilleAt(1);
    EXPECT_EQ(g.b, -13);
    EXPECT_EQ(g.DoubleBelt, -1);
    EXPECT_EQ(g.S, 1.5);
    EXPECT_EQ(g, ExampleOrder().GrilleAt(1));
}

TEST(OrderFormat, ExtremeValuesUseTwosComplement) {
    model::Order order;
    order.GrilleCount = 1;
    order.OpeningAt(1) = {-32768, 32767, -1, 0, 256};
    order.GrilleAt(1).S = -0.0;
    const Bytes bytes = EncodeOrder(order);
    EXPECT_EQ(Bytes(bytes.begin() + 2, bytes.begin() + 12),
              (Bytes{0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(bytes.back(), 0x80); // the sign bit of -0.0

    model::Order back;
    ASSERT_EQ(DecodeOrder(bytes, back).status, DecodeStatus::Loaded);
    EXPECT_EQ(back.OpeningAt(1), order.OpeningAt(1));
    EXPECT_TRUE(std::signbit(back.GrilleAt(1).S));
}

TEST(OrderFormat, OpeningsComeBeforeAllGrilles) {
    const Bytes bytes = EncodeOrder(Numbered(2, 0));
    // Opening 2 starts at 12, grille 1 at 22: B of grille 1 is 100 + 6.
    EXPECT_EQ(bytes[12], 201);
    EXPECT_EQ(bytes[22], 106);
    EXPECT_EQ(bytes[22 + 22], 206);
}

TEST(OrderFormat, RoundTripKeepsEveryField) {
    const model::Order saved = Numbered(60, -20000);
    model::Order loaded;
    ASSERT_EQ(DecodeOrder(EncodeOrder(saved), loaded).status, DecodeStatus::Loaded);
    EXPECT_EQ(loaded.GrilleCount, 60);
    ExpectSameRecords(saved, loaded, 1, 60);
}

TEST(OrderFormat, LongerImageLoadsLikeOneCutToLength) {
    Bytes longer = ExampleFile;
    longer.insert(longer.end(), {0x05, 0x00, 0x11, 0x22, 0x33});
    model::Order a = Numbered(0, 7);
    model::Order b = Numbered(0, 7);
    ASSERT_EQ(DecodeOrder(longer, a).status, DecodeStatus::Loaded);
    ASSERT_EQ(DecodeOrder(ExampleFile, b).status, DecodeStatus::Loaded);
    EXPECT_EQ(a.GrilleCount, 1);
    ExpectSameRecords(a, b, 1, 60);
}

TEST(OrderFormat, LoadingFewerRecordsKeepsTheRest) {
    model::Order order = Numbered(10, 0);
    const model::Order before = order;
    ASSERT_EQ(DecodeOrder(EncodeOrder(Numbered(3, 5000)), order).status, DecodeStatus::Loaded);
    EXPECT_EQ(order.GrilleCount, 3);
    ExpectSameRecords(order, Numbered(3, 5000), 1, 3);
    ExpectSameRecords(order, before, 4, 60);
}

TEST(OrderFormat, EmptyOrderLoadsAndChangesNoRecord) {
    model::Order order = Numbered(10, 0);
    const model::Order before = order;
    ASSERT_EQ(DecodeOrder(Bytes{0, 0}, order).status, DecodeStatus::Loaded);
    EXPECT_EQ(order.GrilleCount, 0);
    ExpectSameRecords(order, before, 1, 60);
}

struct Refusal {
    const char* name;
    Bytes bytes;
    DecodeStatus status;
    int count;
};

class OrderFormatRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(OrderFormatRefusal, LeavesTheOrderAsItWas) {
    model::Order order = Numbered(10, 0);
    const model::Order before = order;
    const auto result = DecodeOrder(GetParam().bytes, order);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(result.count, GetParam().count);
    EXPECT_EQ(order.GrilleCount, 10);
    ExpectSameRecords(order, before, 1, 60);
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Images, OrderFormatRefusal,
    testing::Values(
        Refusal{"empty", {}, DecodeStatus::TooShort, 0},
        Refusal{"one_byte", {0x01}, DecodeStatus::TooShort, 0},
        Refusal{"count_only", {0x01, 0x00}, DecodeStatus::TooShort, 1},
        Refusal{"one_byte_short", Cut(ExampleFile, 33), DecodeStatus::TooShort, 1},
        Refusal{"count_minus_one", {0xFF, 0xFF}, DecodeStatus::CountOutOfRange, -1},
        Refusal{"count_61", Cut({61, 0}, 2000), DecodeStatus::CountOutOfRange, 61},
        Refusal{"count_most_negative", {0x00, 0x80}, DecodeStatus::CountOutOfRange, -32768}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OrderFormat, CountThatNoFileCanHoldIsNotEncoded) {
    for (model::int16 count : {model::int16{-1}, model::int16{61}}) {
        model::Order order;
        order.GrilleCount = count;
        EXPECT_THROW(EncodeOrder(order), orders::OrderFileError) << count;
    }
}

} // namespace
