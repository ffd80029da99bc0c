#include <gtest/gtest.h>

#include "tests/engines/EngineLibrary.h"
#include "tests/engines/ProbeEngine.h"

namespace {

const char* const kExports[] = {"TXVGetAPIVersion",        "TXVGetEngineDescription", "TXVGetEngineVersion",
                                "TXVInitEngine",           "TXVExitEngine",           "TXVConvertCaptionString",
                                "TXVOnSetting",            "TXVOnAbout"};

struct ProbeVariant {
    const char* file;
    DWORD apiVersion;
    // Bit i set: kExports[i] is exported.
    unsigned exports;
};

const unsigned kAll = 0xFF;
const unsigned kWithoutApiVersion = kAll & ~0x01u;
const unsigned kWithoutDescription = kAll & ~0x02u;
const unsigned kWithoutOptional = kAll & ~(0x10u | 0x40u | 0x80u);

// The engine header declares every export; a variant written in C or in C++
// against it must export the eight names undecorated, and only those it has.
TEST(ProbeEngines, ExportUndecoratedTheFunctionsOfTheirVariant)
{
    const ProbeVariant variants[] = {
        {"ProbeComplete.TXV", 0x00010000, kAll},
        {"ProbeCompleteCxx.TXV", 0x00010000, kAll},
        {"ProbeBare.TXV", 0x00010000, kWithoutOptional},
        {"ProbeApi00000001.TXV", 0x00000001, kAll},
        {"ProbeApi0001FFFF.TXV", 0x0001FFFF, kAll},
        {"ProbeApi00020000.TXV", 0x00020000, kAll},
        {"ProbeApi00000000.TXV", 0, kAll},
        {"ProbeNoApiVersion.TXV", 0, kWithoutApiVersion},
        {"ProbeInitFails.TXV", 0x00010000, kAll},
        {"ProbeDeclines.TXV", 0x00010000, kAll},
        {"ProbeUnterminated.TXV", 0x00010000, kAll},
        {"ProbeNoDescription.TXV", 0x00010000, kWithoutDescription},
        {"ProbeNoVersionText.TXV", 0x00010000, kAll},
    };
    for (const ProbeVariant& variant : variants) {
        SCOPED_TRACE(variant.file);
        CEngineLibrary engine(TestEnginePath(variant.file));
        ASSERT_TRUE(engine.IsLoaded());
        for (unsigned i = 0; i < 8; ++i)
            EXPECT_EQ(engine.Has(kExports[i]), (variant.exports & (1u << i)) != 0) << kExports[i];
        if (engine.Has("TXVGetAPIVersion")) {
            EXPECT_EQ(engine.Export<PFN_TXVGetAPIVersion>("TXVGetAPIVersion")(), variant.apiVersion);
        }
    }
}

TEST(ProbeEngines, LogEveryCallWithItsDetails)
{
    CProbeLog log;
    {
        CEngineLibrary engine(TestEnginePath("ProbeCompleteCxx.TXV"));
        char out[64];
        ASSERT_TRUE(engine.Export<PFN_TXVInitEngine>("TXVInitEngine")());
        EXPECT_TRUE(engine.Export<PFN_TXVConvertCaptionString>("TXVConvertCaptionString")("@Sample", "x", out, 64));
        EXPECT_STREQ(out, "[x]");
        engine.Export<PFN_TXVOnSetting>("TXVOnSetting")(reinterpret_cast<HWND>(0x1234ABCD));
        EXPECT_TRUE(engine.Convert("x", out, 64));
        EXPECT_STREQ(out, "<x>") << "a settings call switches the brackets";
        EXPECT_TRUE(engine.Convert("x", out, 3));
        EXPECT_STREQ(out, "<x") << "cut to the buffer";
    }
    const std::vector<std::string> expected = {
        "completecxx attach",
        "completecxx TXVInitEngine",
        "completecxx TXVConvertCaptionString @Sample 64",
        "completecxx TXVOnSetting 1234ABCD",
        "completecxx TXVConvertCaptionString Button 64",
        "completecxx TXVConvertCaptionString Button 3",
        "completecxx detach",
    };
    EXPECT_EQ(log.Lines(), expected);
}

} // namespace
