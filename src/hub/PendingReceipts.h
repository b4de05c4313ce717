#pragma once
// Receipts the hub did not take, kept in the state folder (pending/) and sent on later passes,
// oldest first, so head office sees every outcome in the end. A new receipt waits behind those
// already kept.

#include <QByteArray>
#include <string>
#include <vector>

namespace hub {

class PendingReceipts {
  public:
    // folder: the store's state folder.
    explicit PendingReceipts(const std::string& folder);

    struct Item {
        std::string file;  // its name in pending/
        std::string port;
        std::string kind;
        QByteArray body;
    };
    bool Add(const std::string& port, const std::string& kind, const QByteArray& body,
             std::string& problem);
    // Oldest first; a file whose name is not one this class writes is left out.
    std::vector<Item> Items() const;
    void Remove(const Item& item);

  private:
    std::string dir_;
};

}  // namespace hub
