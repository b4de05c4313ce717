#pragma once
// The zip of an .xlsx or .ods workbook, its entries read as streams within one budget of
// unpacked bytes.

#include <QBuffer>
#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>
#include <cstdint>
#include <memory>
#include <string>

#include "quazip.h"

namespace tables {

class WorkbookZip {
  public:
    // The bytes must outlive the zip. A failure leaves Refusal() set; extension names the kind
    // of book in it (".xlsx").
    WorkbookZip(const std::string& bytes, const char* extension);
    ~WorkbookZip();

    const std::string& Refusal() const { return refusal_; }
    bool Has(const QString& entry);
    // The entry as a device to read once; nothing, with Refusal() set, when it cannot be read.
    std::unique_ptr<QIODevice> Open(const QString& entry);
    // Why the reader stopped: the budget spent, or the entry damaged.
    std::string ReadFailure(const QXmlStreamReader& xml) const;

  private:
    std::string refusal_;
    QByteArray data_;
    QBuffer buffer_;
    QuaZip zip_;
    struct Budget {
        std::int64_t bytes;           // unpacked bytes still to read, all entries together
        std::int64_t tags;            // '<' still to read: each costs the XML reader a token or two
        std::int64_t sinceTag;        // bytes since the last '<' in the entry read
        const char* spent = nullptr;  // why the reading was stopped
    } budget_;
};

// The most tags ('<') a book's entries may hold together, and the most bytes between two: the
// XML reader's time goes with the tags and its memory with the longest text, so these keep a
// book within seconds and megabytes whatever it holds.
constexpr std::int64_t kMaxBookTags = 4'000'000;
constexpr std::int64_t kMaxTextBytes = 1 << 20;

// Refusals every workbook reader shares, Russian, UTF-8.
std::string NoWorkbook(const char* extension);
std::string NoSheetNamed(const QString& sheet, const QStringList& sheets);

}  // namespace tables
