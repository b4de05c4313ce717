#pragma once
// A pseudo-terminal pair whose slave is linked as a COM name in the port map folder, so the
// component opens it as it would a serial device. The test speaks from the master side.

#include <cstdint>
#include <string>
#include <vector>

class PtyPair {
  public:
    // Opens the pair raw and links the slave as comName (e.g. "COM3").
    explicit PtyPair(const std::string& comName);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    void Write(const std::vector<std::uint8_t>& bytes);
    // Closes the master side, which hangs the line up for whoever holds the slave.
    void HangUp();
    // Reads until count bytes came or timeoutMs passed.
    std::vector<std::uint8_t> Read(std::size_t count, int timeoutMs = 2000);

  private:
    int master_ = -1;
    int slaveKeeper_ = -1;
    std::string slavePath_;
    std::string link_;
};
