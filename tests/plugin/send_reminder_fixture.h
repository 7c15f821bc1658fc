// The fixture of the reminders asked at send: the stand-in host's main window shown and
// active, so that it owns the boxes, and the module's send event at hand.
#pragma once

#include "tests/plugin/plugin_session.h"
#include "tools/standin_host/standin_host.h"

#include <gtest/gtest.h>

#include <string>

namespace quill::test {

class SendReminderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetHost();
        ShowWindow(standin::hostMainWindow(), SW_SHOW);
        SetActiveWindow(standin::hostMainWindow());
    }
    void TearDown() override { standin::resetHost(); }

    static int send(const PluginSession &plugin, const std::string &source) {
        return plugin.proc<int(WINAPI *)(LPCSTR)>("BKC_OnSend")(source.c_str());
    }
};

} // namespace quill::test
