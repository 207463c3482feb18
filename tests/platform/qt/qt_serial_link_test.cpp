// The serial link against real devices: a pseudo-terminal stands in for a box.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include "platform/qt/qt_serial_link.h"

namespace tarvel {
namespace {

TEST(QtSerialLink, ProbeOpensAPresentPortAndRefusesAnAbsentOne)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    close(slave);
    QtSerialLink link;
    EXPECT_TRUE(link.probe(name));
    // Probing closes the port again: a second probe still finds it.
    EXPECT_TRUE(link.probe(name));
    close(master);

    EXPECT_FALSE(link.probe("/dev/tarvel-no-such-port"));
}

}  // namespace
}  // namespace tarvel
