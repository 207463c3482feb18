#include "interfaces/port_probe.h"

#include <gtest/gtest.h>

#include "support/fake_byte_link.h"

namespace tarvel {
namespace {

TEST(PortProbe, MarksWhichPortsOpenAndSkipsTheOneInUse)
{
    PortNames names = PortNames::defaults();
    names.setDevice(2, "/dev/ttyUSB0");
    names.setDevice(3, "");  // an empty key keeps the default
#ifndef _WIN32
    EXPECT_EQ(names.device(0), "/dev/ttyS0");
    EXPECT_EQ(names.device(3), "/dev/ttyS3");
#endif
    EXPECT_EQ(names.device(2), "/dev/ttyUSB0");

    test::FakeByteLink link;
    link.present = {names.device(1), "/dev/ttyUSB0"};
    PortPresence present = probePorts(link, names, 0, PortPresence{});
    EXPECT_EQ(present, (PortPresence{false, true, true, false, false, false}));
    EXPECT_EQ(link.probed.size(), 6u);
    EXPECT_EQ(firstPresentPort(present), 1);
    EXPECT_EQ(lastPresentPort(present), 2);

    // The port in use, already marked present, is not probed again (it is ours).
    link.probed.clear();
    link.present.clear();
    present = probePorts(link, names, 1, present);
    EXPECT_EQ(present, (PortPresence{false, true, false, false, false, false}));
    EXPECT_EQ(link.probed.size(), 5u);

    EXPECT_EQ(firstPresentPort(PortPresence{}), -1);
    EXPECT_EQ(lastPresentPort(PortPresence{}), -1);
}

}  // namespace
}  // namespace tarvel
