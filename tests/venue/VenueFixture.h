// The game application on the headless host with the build's generated Data/ as its program
// folder's Data/ (every entry linked but the start-up script, which registers every class and
// builds the root tree as the shipped one does), the test clock moved 33 ms a frame, and an
// observer under "Root".
#pragma once

#include "tests/harness/GameAppFixture.h"
#include "tests/venue/VenueDriver.h"

#include <optional>
#include <string>

class VenueTest : public GameAppTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the application and readies the driver.
    void StartGame();
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            venue.frame();
    }
    // The debug log the application wrote so far.
    std::string Log() const { return ReadTextFile(m_program + "Debug.txt"); }

    std::optional<TestClock> m_clock;
    VenueDriver venue;
};
