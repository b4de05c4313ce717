#pragma once
// A virtual scale linked as COM2 in a configuration folder of the test's own, and the PC's end
// of its line.

#include <gtest/gtest.h>

#include <memory>

#include "PcSide.h"
#include "TempConfig.h"
#include "VirtualScale.h"

class ScaleTest : public ::testing::Test {
  protected:
    explicit ScaleTest(sim::Options options = Linked())
        : scale_(options), pc_(scale_.SlavePath()) {}

    static sim::Options Linked() {
        sim::Options o;
        o.link = "COM2";
        return o;
    }

    // Handshake and command; expects the scale's answer to both.
    void Open(std::uint8_t command, const sim::Bytes& answer);

    TempConfig config_;  // before the scale: its link goes into this folder
    sim::VirtualScale scale_;
    PcSide pc_;
};

// A PLU with every field distinct, its names given as code page 866 bytes.
sim::PluRecord SamplePlu(std::uint16_t plu);
sim::Bytes Word(std::uint16_t v);
sim::Bytes Long(std::uint32_t v);
sim::Bytes Of(const sim::NameLine& line);
