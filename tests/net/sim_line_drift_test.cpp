// The stand-in's drifting line and its scripted SNR dip, through the control commands.
#include "net/core/MibObjects.h"
#include "sim/ControlProtocol.h"
#include "sim/LineDrift.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(SimLineDrift, DipLowersTheDownstreamSnrMarginWhileTheDriftRuns) {
    const sim::LineFigures calm = sim::driftedFigures(0, 0), dipped = sim::driftedFigures(0, 6);
    EXPECT_EQ(calm.downSnr, "12.0");
    EXPECT_EQ(dipped.downSnr, "6.0");
    EXPECT_NE(sim::driftedFigures(225, 0).downSnr, calm.downSnr); // it drifts
    EXPECT_EQ(sim::driftedFigures(0, 40).downSnr, "0.0");

    sim::Router router;
    sim::ControlProtocol protocol(router);
    sim::LineDrift drift(router);
    drift.addControlCommands(protocol);
    EXPECT_EQ(protocol.execute("dip six 60").rfind("error", 0), 0u);
    EXPECT_EQ(protocol.execute("drift sideways").rfind("error", 0), 0u);
    ASSERT_EQ(protocol.execute("dip 6 60"), "ok");
    ASSERT_EQ(protocol.execute("drift on"), "ok");
    std::string snr;
    for (int i = 0; i < 100 && snr != "6.0" && snr != "6.1"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        snr = router.get(mib::adslDownSnr)->second;
    }
    EXPECT_TRUE(snr == "6.0" || snr == "6.1") << snr;
    EXPECT_EQ(protocol.execute("drift off"), "ok");
}
