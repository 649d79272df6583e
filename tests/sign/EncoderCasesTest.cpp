#include "tests/sign/EncoderCases.h"

#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

class EncoderCasesTest : public testing::TestWithParam<EncoderCase> {};

TEST_P(EncoderCasesTest, EngineBuildsTheTransmission)
{
    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine(doc, ui);
    const Transmission bytes = engine.BuildTextTransmission(GetParam().line);

    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), DefaultTransmission(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Cases, EncoderCasesTest, testing::ValuesIn(EncoderCases()),
                         [](const auto& c) { return c.param.name; });

} // namespace
