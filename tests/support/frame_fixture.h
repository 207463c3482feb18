#pragma once
// The main window on fakes: messages, clock, file dialogs and byte link, its
// configuration in a temporary folder of the test's own.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/configuration.h"
#include "app/flow_frame.h"
#include "interfaces/interface_config.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel::test {

class FrameFixture : public ::testing::Test {
protected:
    FakeMessages messages;
    FakeClock clock;
    FakeFileChooser files;
    FakeByteLink ports;
    TempDir dir;
    std::unique_ptr<TFlowFrame> frame;

    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
    FlowDocument& doc() { return frame->state().doc; }

    // Chart files under fileDir and sensor files under SENSORS, both in the
    // test's folder.
    AppConfiguration localConfig(const std::string& fileDir) const
    {
        AppConfiguration config;
        config.sensorsDir = path("SENSORS");
        config.fileDir = path(fileDir);
        return config;
    }

    // The frame made and started on `config`, with CONFIGUR.FCF in the test's
    // folder written from `settings` first (the default: simulation,
    // numbering 1-8).
    void startFrame(AppConfiguration config, const InterfaceSettings& settings = {})
    {
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, ports});
        config.configPath = path("CONFIGUR.FCF");
        ASSERT_TRUE(saveInterfaceConfig(config.configPath, settings, ignoredMessages()));
        frame->startUp(config);
    }
};

}  // namespace tarvel::test
