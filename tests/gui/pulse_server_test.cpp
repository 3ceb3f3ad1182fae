// With no sound server the connection is tried again once a second, not more and more often.
#if defined(SORVEL_HAVE_PULSE)
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QByteArray>
#include <chrono>
#include <thread>

#include "pulse_server.h"

namespace sorvel::gui {
namespace {

TEST(PulseServer, WithoutAServerRetriesOnceASecond) {
    const QByteArray saved = qgetenv("PULSE_SERVER");
    setenv("PULSE_SERVER", "unix:/nonexistent/sorvel-no-server", 1);
    {
        PulseServer server("Sorvel Score test");
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        EXPECT_EQ(server.state(), ServerState::Gone);
        // The first try and one a second after it (a slow machine makes fewer, never more).
        EXPECT_GE(server.attempts(), 2u);
        EXPECT_LE(server.attempts(), 5u);
    }
    if (saved.isNull()) {
        unsetenv("PULSE_SERVER");
    } else {
        setenv("PULSE_SERVER", saved.constData(), 1);
    }
}

}  // namespace
}  // namespace sorvel::gui
#endif
