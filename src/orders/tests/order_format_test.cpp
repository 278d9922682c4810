#include "order_bytes.h"
#include "orders/order_file.h"

#include <gtest/gtest.h>

#include <cmath>

using orders::DecodeOrder;
using orders::DecodeStatus;
using orders::EncodeOrder;

namespace {

// One opening of 1020 x 1550 with gaps 20, 30 and 10, and its grille.
const Bytes ExampleFile = {
    0x01, 0x00,                                                             // count
    0xFC, 0x03, 0x0E, 0x06, 0x14, 0x00, 0x1E, 0x00, 0x0A, 0x00,             // opening 1
    0xE8, 0x03, 0xDC, 0x05, 0xA4, 0x00, 0x06, 0x00, 0xF3, 0xFF, 0x0E, 0x00, // grille 1 ...
    0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,
};

void ExpectSameRecords(const model::Order& a, const model::Order& b, int from, int to) {
    for (int i = from; i <= to; ++i) {
        EXPECT_EQ(a.OpeningAt(i), b.OpeningAt(i)) << "opening " << i;
        EXPECT_EQ(a.GrilleAt(i), b.GrilleAt(i)) << "grille " << i;
    }
}

TEST(OrderFormat, ExampleIsWrittenAndReadByteForByte) {
    model::Order example;
    example.GrilleCount = 1;
    example.OpeningAt(1) = {1020, 1550, 20, 30, 10};
    example.GrilleAt(1) = {1000, 1500, 164, 6, -13, 14, model::True16, 1.5};
    EXPECT_EQ(EncodeOrder(example), ExampleFile);
    EXPECT_EQ(ExampleFile.size(), orders::OrderFileSize(1));
    model::Order order;
    ASSERT_EQ(DecodeOrder(ExampleFile, order).status, DecodeStatus::Loaded);
    EXPECT_TRUE(SameTables(order, example));
}

TEST(OrderFormat, CountThenAllOpeningsThenAllGrilles) {
    EXPECT_EQ(EncodeOrder(model::Order{}), (Bytes{0x00, 0x00}));
    EXPECT_EQ(EncodeOrder(Numbered(60, 0)).size(), 1922u);
    const Bytes bytes = EncodeOrder(Numbered(2, 0));
    EXPECT_EQ(bytes.size(), 66u);
    // Opening 2 starts at 12, grille 1 at 22: B of grille 1 is 100 + 6.
    EXPECT_EQ(bytes[12], 201);
    EXPECT_EQ(bytes[22], 106);
    EXPECT_EQ(bytes[22 + 22], 206);
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

TEST(OrderFormat, LoadingKeepsEveryFieldAndTheRecordsAboveTheCount) {
    for (int count : {60, 3, 0}) {
        model::Order order = Numbered(10, 0);
        ASSERT_EQ(DecodeOrder(EncodeOrder(Numbered(count, -20000)), order).status,
                  DecodeStatus::Loaded);
        EXPECT_EQ(order.GrilleCount, count);
        ExpectSameRecords(order, Numbered(count, -20000), 1, count);
        ExpectSameRecords(order, Numbered(10, 0), count + 1, 60);
    }
}

TEST(OrderFormat, RefusedImageLeavesTheOrderAsItWas) {
    const struct {
        const char* name;
        Bytes bytes;
        DecodeStatus status;
        int count;
    } rows[] = {
        {"empty", {}, DecodeStatus::TooShort, 0},
        {"one byte", {0x01}, DecodeStatus::TooShort, 0},
        {"count only", {0x01, 0x00}, DecodeStatus::TooShort, 1},
        {"one byte short", Resized(ExampleFile, 33), DecodeStatus::TooShort, 1},
        {"count -1", {0xFF, 0xFF}, DecodeStatus::CountOutOfRange, -1},
        {"count 61", Resized({61, 0}, 2000), DecodeStatus::CountOutOfRange, 61},
        {"count most negative", {0x00, 0x80}, DecodeStatus::CountOutOfRange, -32768},
    };
    for (const auto& row : rows) {
        model::Order order = Numbered(10, 0);
        const auto result = DecodeOrder(row.bytes, order);
        EXPECT_EQ(result.status, row.status) << row.name;
        EXPECT_EQ(result.count, row.count) << row.name;
        EXPECT_TRUE(SameTables(order, Numbered(10, 0))) << row.name;
    }
}

TEST(OrderFormat, CountThatNoFileCanHoldIsNotEncoded) {
    for (model::int16 count : {model::int16{-1}, model::int16{61}}) {
        model::Order order;
        order.GrilleCount = count;
        EXPECT_THROW(EncodeOrder(order), orders::OrderFileError) << count;
    }
}

} // namespace
