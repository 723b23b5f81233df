// The EXIF block of the background picture: a little-endian TIFF structure inside APP1.
#include <stdexcept>

#include "tools/formats/image_files.h"

namespace kavro_formats {

namespace {

enum : uint16_t { kShort = 3, kLong = 4, kAscii = 2, kRational = 5, kUndefined = 7 };

struct Entry {
    uint16_t tag, type;
    uint32_t count;
    Bytes data;  // values of up to 4 bytes sit in the entry itself
};

void Put16(Bytes& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
Entry Short(uint16_t tag, uint16_t v) {
    Bytes d;
    Put16(d, v);
    return {tag, kShort, 1, d};
}
Entry Long(uint16_t tag, uint32_t v) {
    Bytes d;
    Put32(d, v);
    return {tag, kLong, 1, d};
}
Entry Ascii(uint16_t tag, const std::string& text) {
    Bytes d(text.begin(), text.end());
    d.push_back(0);
    return {tag, kAscii, static_cast<uint32_t>(d.size()), d};
}
Entry Rational(uint16_t tag, uint32_t num, uint32_t den) {
    Bytes d;
    Put32(d, num);
    Put32(d, den);
    return {tag, kRational, 1, d};
}

// Writes one IFD at tiff.size(): entries, next-IFD offset 0, then the out-of-line values.
// Returns the position of the value field of entry `patch_tag` (0 when absent) so a caller
// can fill in an offset that is known only later.
size_t WriteIfd(Bytes& tiff, const std::vector<Entry>& entries, uint16_t patch_tag) {
    size_t start = tiff.size();
    size_t data_at = start + 2 + entries.size() * 12 + 4;
    Bytes extra;
    size_t patch = 0;
    Put16(tiff, static_cast<uint32_t>(entries.size()));
    for (const Entry& e : entries) {
        Put16(tiff, e.tag);
        Put16(tiff, e.type);
        Put32(tiff, e.count);
        if (e.tag == patch_tag) patch = tiff.size();
        if (e.data.size() <= 4) {
            Bytes field = e.data;
            field.resize(4, 0);
            tiff.insert(tiff.end(), field.begin(), field.end());
        } else {
            Put32(tiff, static_cast<uint32_t>(data_at + extra.size()));
            extra.insert(extra.end(), e.data.begin(), e.data.end());
            if (extra.size() % 2) extra.push_back(0);
        }
    }
    Put32(tiff, 0);
    tiff.insert(tiff.end(), extra.begin(), extra.end());
    return patch;
}

}  // namespace

Bytes MakeExifBlock(int width, int height, const std::string& software, const std::string& date) {
    if (date.size() != 19) throw std::invalid_argument("EXIF date must be YYYY:MM:DD HH:MM:SS");
    Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
    constexpr uint16_t kExifPointer = 0x8769;
    size_t patch = WriteIfd(
        tiff,
        {Short(0x0112, 1), Rational(0x011A, 72, 1), Rational(0x011B, 72, 1), Short(0x0128, 2),
         Ascii(0x0131, software), Ascii(0x0132, date), Long(kExifPointer, 0)},
        kExifPointer);
    uint32_t exif_ifd = static_cast<uint32_t>(tiff.size());
    for (int i = 0; i < 4; ++i) tiff[patch + i] = (exif_ifd >> (8 * i)) & 0xFF;
    Entry version{0x9000, kUndefined, 4, {'0', '2', '3', '0'}};
    WriteIfd(
        tiff,
        {version, Ascii(0x9003, date), Short(0xA001, 1), Long(0xA002, static_cast<uint32_t>(width)),
         Long(0xA003, static_cast<uint32_t>(height))},
        0);
    Bytes block(6 + tiff.size(), 0);
    block[0] = 'E', block[1] = 'x', block[2] = 'i', block[3] = 'f';
    for (size_t i = 0; i < tiff.size(); ++i) block[6 + i] = tiff[i];
    return block;
}

}  // namespace kavro_formats
