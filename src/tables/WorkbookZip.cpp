#include "WorkbookZip.h"

#include <algorithm>
#include <cstring>

#include "SheetFile.h"
#include "quazipfile.h"
#include "quazipfileinfo.h"

namespace tables {
namespace {

const char* const kTooLargeUnpacked = "Файл распаковывается больше чем в 256 МБ: это не список";
const char* const kTooManyTags =
    "Книга слишком велика для списка: в ней больше 4 млн ячеек и строк";
const char* const kTextTooLong = "В книге текст длиннее 1 МБ без разметки: это не список";

// An entry of the zip that spends the shared budget as it is read: a zip may declare small sizes
// and still unpack to gigabytes.
class BudgetedEntry : public QIODevice {
  public:
    template <typename Budget>
    BudgetedEntry(QuaZip* zip, Budget& budget)
        : file_(zip),
          bytes_(budget.bytes),
          tags_(budget.tags),
          sinceTag_(budget.sinceTag),
          spent_(budget.spent) {
        sinceTag_ = 0;
    }

    bool OpenEntry() { return file_.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 size) override {
        const qint64 read = file_.read(data, size);
        if (read <= 0) return read == 0 && !file_.atEnd() ? -1 : read;
        bytes_ -= read;
        const char* const end = data + read;
        tags_ -= std::count(static_cast<const char*>(data), end, '<');
        const auto* last = static_cast<const char*>(memrchr(data, '<', read));
        sinceTag_ = last ? end - last - 1 : sinceTag_ + read;
        if (bytes_ < 0) spent_ = kTooLargeUnpacked;
        if (tags_ < 0) spent_ = kTooManyTags;
        if (sinceTag_ > kMaxTextBytes) spent_ = kTextTooLong;
        return spent_ ? -1 : read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QuaZipFile file_;
    std::int64_t& bytes_;
    std::int64_t& tags_;
    std::int64_t& sinceTag_;
    const char*& spent_;
};

}  // namespace

std::string NoWorkbook(const char* extension) {
    return std::string("Файл не открывается как книга ") + extension +
           ": он повреждён или это не книга";
}

std::string NoSheetNamed(const QString& sheet, const QStringList& sheets) {
    std::string names;
    for (const QString& name : sheets)
        names += (names.empty() ? "«" : ", «") + name.toStdString() + "»";
    if (sheets.isEmpty()) return "В книге нет ни одного листа";
    return "В книге нет листа «" + sheet.toStdString() + "»; листы: " + names;
}

WorkbookZip::WorkbookZip(const std::string& bytes, const char* extension)
    : data_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))),
      buffer_(&data_),
      zip_(&buffer_),
      budget_{kMaxUnpackedBytes, kMaxBookTags, 0} {
    if (!zip_.open(QuaZip::mdUnzip)) {
        refusal_ = NoWorkbook(extension);
        return;
    }
    std::int64_t declared = 0;
    for (const QuaZipFileInfo64& info : zip_.getFileInfoList64()) {
        declared += static_cast<std::int64_t>(info.uncompressedSize);
        if (declared > kMaxUnpackedBytes) {
            refusal_ = kTooLargeUnpacked;
            return;
        }
    }
}

WorkbookZip::~WorkbookZip() {
    if (zip_.isOpen()) zip_.close();
}

bool WorkbookZip::Has(const QString& entry) {
    return refusal_.empty() && zip_.setCurrentFile(entry);
}

std::unique_ptr<QIODevice> WorkbookZip::Open(const QString& entry) {
    if (!Has(entry)) return nullptr;
    auto device = std::make_unique<BudgetedEntry>(&zip_, budget_);
    if (!device->OpenEntry()) return nullptr;
    return device;
}

std::string WorkbookZip::ReadFailure(const QXmlStreamReader& xml) const {
    if (budget_.spent) return budget_.spent;
    if (xml.hasError()) return "Книга повреждена: лист не прочитан до конца";
    return {};
}

}  // namespace tables
