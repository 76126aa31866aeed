// Helpers of the game object's tests: a day harness per test and a data folder of its own.
#pragma once

#include "tests/sim/DayHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class MtGameTest : public ::testing::Test {
  protected:
    void SetUp() override { Make(DayHarness::Options{}); }
    void Make(const DayHarness::Options& options) {
        h.reset();
        h = std::make_unique<DayHarness>(options);
        SimRegisterStandIns();
        game = h->game;
    }
    // A data folder with the shipped "Data.ini" and "Venue.ini" (each replaced when given) and
    // any further files.
    std::string DataCopy(const std::string& dataIni = "", const std::string& venueIni = "") {
        const std::string shipped = FAIRLARK_BUILD_DATA_DIR;
        WriteTextFile(m_data / "Data.ini",
                      dataIni.empty() ? ReadTextFile(shipped + "Data.ini") : dataIni);
        WriteTextFile(m_data / "Venue.ini",
                      venueIni.empty() ? ReadTextFile(shipped + "Venue.ini") : venueIni);
        return m_data.Path();
    }
    int Hourly() const {
        int n = 0;
        for (const SimEvent& e : h->Events())
            n += e.event == GE_HOURLY;
        return n;
    }
    int Closings() const {
        int n = 0;
        for (const SimEvent& e : h->Events())
            n += e.event == GE_END_OF_DAY;
        return n;
    }

    TempDir m_data;
    std::unique_ptr<DayHarness> h;
    MtGame* game = nullptr;
};
