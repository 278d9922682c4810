#include "order_file.h"

#include <algorithm>
#include <array>
#include <bit>

namespace orders {

namespace {

// The longest file name most file systems take, in bytes.
constexpr std::size_t MaxFileNameBytes = 255;
constexpr std::string_view Extension = ".kxo";

constexpr std::string_view ForbiddenCharacters = "\\/:*?\"<>|";

// A real is stored as the eight bytes of an IEEE 754 double, little-endian,
// which is how the machines the program runs on keep it.
static_assert(std::endian::native == std::endian::little);
using DoubleBytes = std::array<std::uint8_t, sizeof(double)>;

std::string Quoted(std::string_view text) {
    return std::string("«").append(text).append("»");
}

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}

    void Int16(model::int16 v) {
        const auto u = static_cast<std::uint16_t>(v);
        out_.push_back(static_cast<std::uint8_t>(u & 0xFFu));
        out_.push_back(static_cast<std::uint8_t>(u >> 8));
    }

    void Double(double v) {
        const auto raw = std::bit_cast<DoubleBytes>(v);
        out_.insert(out_.end(), raw.begin(), raw.end());
    }

private:
    std::vector<std::uint8_t>& out_;
};

// Reads forward from the start of an image whose length has been checked.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    model::int16 Int16() {
        const auto u = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
        at_ += 2;
        return static_cast<model::int16>(u);
    }

    double Double() {
        DoubleBytes raw{};
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), raw.size(), raw.begin());
        at_ += raw.size();
        return std::bit_cast<double>(raw);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

} // namespace

std::string OrderNumberProblem(std::string_view number) {
    if (number.empty())
        return "Не указан номер заказа. Введите номер: он служит именем файла заказа.";
    if (number == "." || number == "..")
        return "Номер заказа " + Quoted(number) + " не может служить именем файла.";
    if (number.size() + Extension.size() > MaxFileNameBytes)
        return "Номер заказа слишком длинный для имени файла.";
    for (std::size_t k = 0; k < number.size(); ++k) {
        const auto c = static_cast<unsigned char>(number[k]);
        // C0 controls, DEL, and the C1 controls U+0080..U+009F (C2 80..C2 9F).
        const bool control = c < 0x20 || c == 0x7F ||
                             (c == 0xC2 && k + 1 < number.size() &&
                              static_cast<unsigned char>(number[k + 1]) >= 0x80 &&
                              static_cast<unsigned char>(number[k + 1]) <= 0x9F);
        if (control)
            return "Номер заказа не может служить именем файла: в нём есть управляющий символ.";
        if (ForbiddenCharacters.find(number[k]) != std::string_view::npos)
            return "Номер заказа " + Quoted(number) +
                   " не может служить именем файла: в нём есть символ " +
                   Quoted(number.substr(k, 1)) +
                   ". В номере заказа нельзя использовать символы \\ / : * ? \" < > |.";
    }
    return {};
}

std::string OrderFilePath(std::string_view folder, std::string_view number) {
    if (std::string problem = OrderNumberProblem(number); !problem.empty())
        throw OrderFileError(problem);
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path.append(number).append(Extension);
}

std::vector<std::uint8_t> EncodeOrder(const model::Order& order) {
    const int count = order.GrilleCount;
    if (count < 0 || count > model::MaxOpenings)
        throw OrderFileError("Заказ не сохранён: количество решёток " + std::to_string(count) +
                             " вне допустимого диапазона от 0 до 60. Выполните расчёт заново.");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(OrderFileSize(static_cast<std::size_t>(count)));
    Writer out(bytes);
    out.Int16(order.GrilleCount);
    for (int i = 1; i <= count; ++i) {
        const model::Opening& o = order.OpeningAt(i);
        out.Int16(o.Width);
        out.Int16(o.Height);
        out.Int16(o.TopGap);
        out.Int16(o.BottomGap);
        out.Int16(o.SideGap);
    }
    for (int i = 1; i <= count; ++i) {
        const model::Grille& g = order.GrilleAt(i);
        out.Int16(g.B);
        out.Int16(g.H);
        out.Int16(g.t);
        out.Int16(g.n);
        out.Int16(g.b);
        out.Int16(g.q);
        out.Int16(g.DoubleBelt);
        out.Double(g.S);
    }
    return bytes;
}

DecodeResult DecodeOrder(std::span<const std::uint8_t> bytes, model::Order& order) {
    DecodeResult result;
    if (bytes.size() < CountBytes) {
        result.needed = CountBytes;
        return result;
    }
    Reader in(bytes);
    const model::int16 count = in.Int16();
    result.count = count;
    if (count < 0 || count > model::MaxOpenings) {
        result.status = DecodeStatus::CountOutOfRange;
        return result;
    }
    result.needed = OrderFileSize(static_cast<std::size_t>(count));
    if (bytes.size() < result.needed) {
        result.status = DecodeStatus::TooShort;
        return result;
    }

    // The image is complete: from here on nothing can fail half-way.
    for (int i = 1; i <= count; ++i) {
        model::Opening& o = order.OpeningAt(i);
        o.Width = in.Int16();
        o.Height = in.Int16();
        o.TopGap = in.Int16();
        o.BottomGap = in.Int16();
        o.SideGap = in.Int16();
    }
    for (int i = 1; i <= count; ++i) {
        model::Grille& g = order.GrilleAt(i);
        g.B = in.Int16();
        g.H = in.Int16();
        g.t = in.Int16();
        g.n = in.Int16();
        g.b = in.Int16();
        g.q = in.Int16();
        g.DoubleBelt = in.Int16();
        g.S = in.Double();
    }
    order.GrilleCount = count;
    result.status = DecodeStatus::Loaded;
    return result;
}

} // namespace orders
