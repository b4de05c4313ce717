#pragma once
// Scales on pseudo-terminals linked as COM names, list files in a folder of the test's own, and
// the command line run against them.

#include <QString>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "TempConfig.h"
#include "VirtualScale.h"

class CliFixture {
  public:
    // A scale on COM<n> for each n; paced at baud (0: unpaced). Each gives up an exchange the PC
    // left off after pcTimeout.
    explicit CliFixture(const std::vector<int>& comNumbers = {2}, int baud = 0,
                        std::chrono::milliseconds pcTimeout = std::chrono::seconds(2));
    sim::VirtualScale& Scale(std::size_t i = 0) { return *scales_.at(i); }
    // A path in the test's folder.
    QString Path(const std::string& name) const;
    // A PLU table file of `rows` records (PLU 1.., prices 100 * PLU), code page 1251.
    QString WritePluList(const std::string& name, int rows) const;
    // The bytes of such a list, each price raised by `priceAdded` and every second name line
    // set to `name2`.
    static std::string PluListBytes(int rows, int priceAdded = 0, const std::string& name2 = "");
    // A file of these bytes.
    QString WriteFile(const std::string& name, const std::string& bytes) const;
    static std::string ReadFile(const QString& path);
    // The PLU numbers a scale holds.
    static std::vector<int> StoredPlus(const sim::VirtualScale& scale);
    std::string Log() const;

  private:
    TempConfig config_;
    std::vector<std::unique_ptr<sim::VirtualScale>> scales_;
};

sim::Fault FaultAt(sim::Kind kind, int occurrence, sim::Step step, sim::Action action,
                   bool persistent = false);
