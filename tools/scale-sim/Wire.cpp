#include "Wire.h"

#include <algorithm>

namespace sim {

bool PluRecord::operator==(const PluRecord& o) const {
    return plu == o.plu && itemCode == o.itemCode && name1 == o.name1 && name2 == o.name2 &&
           price == o.price && shelfLife == o.shelfLife && tare == o.tare && group == o.group &&
           message == o.message;
}

const std::vector<Field>& PluDownloadFields() {
    static const std::vector<Field> fields = {
        {"item code", 4}, {"name 1", kNameLength}, {"name 2", kNameLength},
        {"price", 4},     {"shelf life", 2},       {"tare", 2},
        {"group", 2},     {"message number", 2}};
    return fields;
}

const std::vector<Field>& PluUploadFields() {
    static const std::vector<Field> fields = [] {
        std::vector<Field> f = {{"PLU number", 2}};
        const auto& rest = PluDownloadFields();
        f.insert(f.end(), rest.begin(), rest.end());
        return f;
    }();
    return fields;
}

const std::vector<Field>& MessageFields() {
    static const std::vector<Field> fields = {
        {"line 1", kMessageLineLength}, {"line 2", kMessageLineLength},
        {"line 3", kMessageLineLength}, {"line 4", kMessageLineLength},
        {"line 5", kMessageLineLength}, {"line 6", kMessageLineLength},
        {"line 7", kMessageLineLength}, {"line 8", kMessageLineLength}};
    return fields;
}

const std::vector<Field>& ReadoutFields() {
    static const std::vector<Field> fields = {{"weight", 4}, {"unit price", 4}, {"total", 4}};
    return fields;
}

std::size_t TotalWidth(const std::vector<Field>& fields) {
    std::size_t n = 0;
    for (const Field& f : fields) n += f.width;
    return n;
}

void PutBigEndian(Bytes& out, std::uint32_t value, std::size_t width) {
    for (std::size_t i = width; i-- > 0;)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t GetBigEndian(const std::uint8_t* in, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value = (value << 8) | in[i];
    return value;
}

std::uint16_t NumberCheck(std::uint16_t number) {
    return number == 0xFFFF ? 1 : static_cast<std::uint16_t>(number + 1);
}

namespace {

// Reads the fields of a PLU record in download order from p onwards.
void ReadPluFields(const std::uint8_t* p, PluRecord& r) {
    r.itemCode = static_cast<std::int32_t>(GetBigEndian(p, 4));
    std::copy_n(p + 4, kNameLength, r.name1.begin());
    std::copy_n(p + 32, kNameLength, r.name2.begin());
    r.price = static_cast<std::int32_t>(GetBigEndian(p + 60, 4));
    r.shelfLife = static_cast<std::uint16_t>(GetBigEndian(p + 64, 2));
    r.tare = static_cast<std::uint16_t>(GetBigEndian(p + 66, 2));
    r.group = static_cast<std::uint16_t>(GetBigEndian(p + 68, 2));
    r.message = static_cast<std::uint16_t>(GetBigEndian(p + 70, 2));
}

}  // namespace

PluRecord DecodePluDownload(std::uint16_t plu, const Bytes& fields) {
    PluRecord r;
    r.plu = plu;
    ReadPluFields(fields.data(), r);
    return r;
}

Bytes EncodePluUpload(const PluRecord& r) {
    Bytes out;
    PutBigEndian(out, r.plu, 2);
    PutBigEndian(out, static_cast<std::uint32_t>(r.itemCode), 4);
    out.insert(out.end(), r.name1.begin(), r.name1.end());
    out.insert(out.end(), r.name2.begin(), r.name2.end());
    PutBigEndian(out, static_cast<std::uint32_t>(r.price), 4);
    for (std::uint16_t v : {r.shelfLife, r.tare, r.group, r.message}) PutBigEndian(out, v, 2);
    return out;
}

Message DecodeMessage(std::uint16_t number, const Bytes& lines) {
    Message m;
    m.number = number;
    for (std::size_t i = 0; i < kMessageLines; ++i)
        std::copy_n(lines.begin() + static_cast<long>(i * kMessageLineLength), kMessageLineLength,
                    m.lines[i].begin());
    return m;
}

Bytes EncodeReadout(const Display& d) {
    Bytes out;
    for (std::int32_t v : {d.weight, d.price, d.total})
        PutBigEndian(out, static_cast<std::uint32_t>(v), 4);
    return out;
}

}  // namespace sim
