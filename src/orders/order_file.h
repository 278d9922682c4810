#pragma once

// The order file: the grille count followed by that many openings and that
// many grilles, every value little-endian (16-bit two's complement integers,
// the area as an IEEE 754 double), without header or padding. Records are
// written and read field by field, never as blocks of memory, so a grille
// takes 22 bytes on disk whatever its layout in memory.

#include "model/order.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orders {

inline constexpr std::size_t CountBytes = 2;
inline constexpr std::size_t OpeningBytes = 10;
inline constexpr std::size_t GrilleBytes = 22;

// The length of a file that holds count openings and count grilles.
constexpr std::size_t OrderFileSize(std::size_t count) {
    return CountBytes + (OpeningBytes + GrilleBytes) * count;
}

// The most that is ever read: a full order of 60 grilles.
inline constexpr std::size_t MaxOrderFileSize = OrderFileSize(model::MaxOpenings);

// A save or an open that did not happen. what() is the message for the user,
// in Russian (UTF-8), naming the file where there is one.
class OrderFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why an order number cannot name a file of its own in the orders folder, as
// a message for the user; empty when it can. The number is refused when it is
// empty, "." or "..", too long for a file name, or holds a path separator, a
// control character or a character that Windows forbids in file names.
// Leading zeros and blanks are fine: they stay in the name.
std::string OrderNumberProblem(std::string_view number);

// folder + "/" + number + ".kxo", the number taken unchanged. Raises
// OrderFileError when the number cannot name a file (see OrderNumberProblem).
std::string OrderFilePath(std::string_view folder, std::string_view number);

// The bytes of the file for the order's GrilleCount and records 1..count.
// Raises OrderFileError for a count outside 0..60, which no file can hold.
std::vector<std::uint8_t> EncodeOrder(const model::Order& order);

enum class DecodeStatus {
    Loaded,
    CountOutOfRange, // the stored count is below 0 or above 60
    TooShort,        // fewer bytes than the count needs (or no count at all)
};

struct DecodeResult {
    DecodeStatus status = DecodeStatus::TooShort;
    int count = 0;          // the stored count, when there is one
    std::size_t needed = 0; // bytes the count needs (2 when even the count is missing)
};

// Loads the count and records 1..count from a file's bytes into the order.
// The whole image is checked first: unless the result is Loaded, nothing in
// the order has changed. Records above the count keep their values; bytes
// after the last record are ignored.
DecodeResult DecodeOrder(std::span<const std::uint8_t> bytes, model::Order& order);

// Saves the order to the file. The file is replaced as a whole: afterwards it
// holds exactly the new order, and a save that fails leaves the previous file
// as it was. Raises OrderFileError with a message naming the file.
void WriteOrderFile(const std::string& path, const model::Order& order);

// Makes the saves of this thread write a named temporary, as they do on file
// systems that cannot make unnamed files, so that tests can walk that way.
void NamedTemporariesForTesting(bool named);

// Loads the order from the file. A missing, unreadable, short or foreign file
// raises OrderFileError before anything in the order has changed; nothing is
// created.
void ReadOrderFile(const std::string& path, model::Order& order);

} // namespace orders
