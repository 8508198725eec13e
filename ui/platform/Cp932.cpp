#include "ui/platform/Cp932.h"

#include <QList>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace vostrel {
namespace {

// Code points in host order, so that the QString side needs no byte swapping.
constexpr const char* kUtf32 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
constexpr char32_t kReplacement = 0xFFFD;

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; in and out move past what was taken and written. Returns
    // errno of the stop, or 0 when all input was taken.
    int Run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        char* src = const_cast<char*>(in);
        const size_t r = iconv(cd_, &src, &inLeft, &out, &outLeft);
        in = src;
        return r == static_cast<size_t>(-1) ? errno : 0;
    }

private:
    iconv_t cd_;
};

} // namespace

std::string Cp932FromUnicode(const QString& text) {
    // Lone surrogates come out of toUcs4 as U+FFFD, which the code page cannot hold either.
    const QList<uint> ucs4 = text.toUcs4();
    std::string result;
    Converter conv("CP932", kUtf32);
    if (!conv.ok()) {
        for (uint c : ucs4) {
            result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return result;
    }
    // At most two bytes per code point.
    result.resize(ucs4.size() * 2);
    const char* in = reinterpret_cast<const char*>(ucs4.constData());
    size_t inLeft = static_cast<size_t>(ucs4.size()) * sizeof(uint);
    char* out = result.data();
    size_t outLeft = result.size();
    while (inLeft > 0) {
        const int err = conv.Run(in, inLeft, out, outLeft);
        if (err != EILSEQ || outLeft == 0) {
            break;
        }
        // Not representable: the default character, and on with the next code point.
        *out++ = '?';
        --outLeft;
        in += sizeof(uint);
        inLeft -= sizeof(uint);
    }
    result.resize(result.size() - outLeft);
    return result;
}

QString UnicodeFromCp932(const std::string& bytes) {
    std::vector<char32_t> units(bytes.size());
    Converter conv(kUtf32, "CP932");
    if (!conv.ok()) {
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            units[i] = b < 0x80 ? b : kReplacement;
        }
        return QString::fromUcs4(units.data(), static_cast<qsizetype>(units.size()));
    }
    // One code point per byte at most.
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    char* out = reinterpret_cast<char*>(units.data());
    size_t outLeft = units.size() * sizeof(char32_t);
    while (inLeft > 0) {
        const int err = conv.Run(in, inLeft, out, outLeft);
        if ((err != EILSEQ && err != EINVAL) || outLeft < sizeof(char32_t)) {
            break;
        }
        // An invalid or truncated sequence: mark it and resume at the next byte.
        const char32_t bad = kReplacement;
        std::memcpy(out, &bad, sizeof bad);
        out += sizeof bad;
        outLeft -= sizeof bad;
        ++in;
        --inLeft;
    }
    const size_t count = units.size() - outLeft / sizeof(char32_t);
    return QString::fromUcs4(units.data(), static_cast<qsizetype>(count));
}

StoredName StoreName(const QString& typed) {
    StoredName stored{Cp932FromUnicode(typed), {}};
    if (UnicodeFromCp932(stored.bytes) != typed) {
        stored.full = typed.toStdString();
    }
    return stored;
}

QString ShownName(const std::string& bytes, const std::string& full) {
    if (!full.empty()) {
        const QString name = QString::fromStdString(full);
        if (Cp932FromUnicode(name) == bytes) {
            return name;
        }
    }
    return UnicodeFromCp932(bytes);
}

bool NameCanBeKept(const QString& typed) {
    return QString::fromUtf8(typed.toUtf8()) == typed;
}

} // namespace vostrel
