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
    const auto buffer =
        std::make_unique<unsigned char[]>(CTickerluxEngine::kTransmissionBufferSize);
    int length = -1;
    engine.BuildTextTransmission(buffer.get(), length, GetParam().line.c_str());

    const std::string expected = DefaultTransmission(GetParam().text);
    ASSERT_EQ(length, static_cast<int>(expected.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.get()), expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EncoderCasesTest, testing::ValuesIn(EncoderCases()),
                         [](const auto& c) { return c.param.name; });

} // namespace
