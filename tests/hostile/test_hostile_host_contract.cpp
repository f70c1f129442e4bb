// The rest of the host contract, one case per thing a host in the field does:
// calls made from inside a call or beside it on another thread, floating-point
// exceptions unmasked or another rounding mode, and a result word left from before.
#include "host/FilterHost.h"
#include "texture/FilterParameters.h"

#include "HostileHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#if defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

using namespace morvessan;
using namespace morvessan::test;

namespace {

HostImage picture(std::int32_t width, std::int32_t height) {
    HostImage image(width, height, 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 97);
    }
    return image;
}

std::vector<std::uint8_t> block(const std::function<void(TextureFields&)>& edit = {}) {
    std::vector<std::uint8_t> bytes(kFilterParametersSize, 0);
    auto* parameters = reinterpret_cast<FilterParameters*>(bytes.data());
    writeDefaultParameters(*parameters);
    parameters->texture.noiseLevel = 6;
    parameters->texture.totalOpacity = 80;
    if (edit) {
        edit(parameters->texture);
    }
    return bytes;
}

struct Render {
    int16 result = noErr;
    HostImage image;
    std::vector<std::uint8_t> kept;
};

// A whole silent run of `bytes` over `image`; `during` is called at the first progress report.
Render render(const HostImage& image, const std::vector<std::uint8_t>& bytes,
              const std::function<void()>& during = {}) {
    FilterHost host(testedEntry());
    host.setImage(image);
    host.setParameterBytes(bytes);
    bool called = false;
    host.setProgressListener([&](std::int32_t, std::int32_t) {
        if (during && !called) {
            called = true;
            during();
        }
    });
    Render out;
    out.result = host.run();
    out.image = host.image();
    out.kept = host.parameterBytes();
    EXPECT_FALSE(host.parametersLocked());
    return out;
}

// -------------------------------------------------------------- one call at a time

struct NestedCase {
    const char* name;
    std::function<int16()> call; // made from inside a running render
    int16 expected;
};

TEST(HostContract, CallsFromInsideARenderTouchNothingOfIt) {
    const HostImage image = picture(300, 200);
    const std::vector<std::uint8_t> bytes = block();
    const Render alone = render(image, bytes);
    ASSERT_EQ(alone.result, noErr);
    const auto selector = [&](int16 which) {
        return [&, which] {
            FilterHost inner(testedEntry());
            inner.setImage(picture(40, 30));
            inner.beginRun();
            const int16 result = inner.call(which);
            EXPECT_EQ(inner.errorString(), "Morvessan is already filtering an image. Try again when it has finished.");
            inner.endRun();
            return result;
        };
    };
    AboutRecord about{};
    const std::vector<NestedCase> cases = {
        {"About without a record",
         [] {
             int16 result = -108;
             std::intptr_t data = 0;
             testedEntry()(filterSelectorAbout, nullptr, &data, &result);
             return result;
         },
         noErr},
        {"About with an AboutRecord",
         [&] {
             int16 result = -108;
             std::intptr_t data = 0;
             testedEntry()(filterSelectorAbout, reinterpret_cast<FilterRecord*>(&about), &data, &result);
             return result;
         },
         noErr},
        {"Parameters", selector(filterSelectorParameters), errReportString},
        {"Prepare", selector(filterSelectorPrepare), errReportString},
        {"Start", selector(filterSelectorStart), errReportString},
        {"a whole second run",
         [] {
             FilterHost inner(testedEntry());
             inner.setImage(picture(40, 30));
             return inner.run(true);
         },
         errReportString},
    };
    for (const NestedCase& c : cases) {
        int16 nested = 1;
        const Render outer = render(image, bytes, [&] { nested = c.call(); });
        EXPECT_EQ(nested, c.expected) << c.name;
        EXPECT_EQ(outer.result, noErr) << c.name;
        EXPECT_TRUE(outer.image == alone.image) << c.name << ": the render was disturbed";
        EXPECT_EQ(outer.kept, alone.kept) << c.name;
    }
}

TEST(HostContract, CallsFromAnotherThreadDuringARenderWaitTheirTurn) {
    const HostImage image = picture(300, 200);
    const std::vector<std::uint8_t> first = block();
    const std::vector<std::uint8_t> second = block([](TextureFields& t) {
        t.type = 2;
        t.noiseSeed = 99;
    });
    const Render firstAlone = render(image, first);
    const Render secondAlone = render(image, second);
    Render beside;
    int16 about = 1;
    std::thread other;
    const Render outer = render(image, first, [&] {
        other = std::thread([&] {
            int16 result = -108;
            std::intptr_t data = 0;
            testedEntry()(filterSelectorAbout, nullptr, &data, &result);
            about = result;
            beside = render(image, second);
        });
    });
    other.join();
    EXPECT_EQ(about, noErr);
    EXPECT_EQ(outer.result, noErr);
    EXPECT_EQ(beside.result, noErr);
    EXPECT_TRUE(outer.image == firstAlone.image);
    EXPECT_TRUE(beside.image == secondAlone.image);
}

TEST(HostContract, TwoDocumentsFilteredAtOnceGetThePixelsAndBlocksEachGetsAlone) {
    const HostImage a = picture(260, 180);
    const HostImage b = picture(150, 310);
    const std::vector<std::uint8_t> marble = block([](TextureFields& t) {
        t.type = 3;
        t.noiseSeed = 5;
    });
    const std::vector<std::uint8_t> wood = block([](TextureFields& t) {
        t.type = 4;
        t.noiseSeed = 6;
    });
    const Render aloneA = render(a, marble);
    const Render aloneB = render(b, wood);
    ASSERT_EQ(aloneA.result, noErr);
    ASSERT_EQ(aloneB.result, noErr);
    const auto document = [](const HostImage& image, const std::vector<std::uint8_t>& bytes, const Render& alone) {
        return [&image, &bytes, &alone] {
            FilterHost host(testedEntry());
            host.setImage(image);
            host.setParameterBytes(bytes);
            for (int i = 0; i < 4; ++i) {
                host.setImage(image);
                EXPECT_EQ(host.run(), noErr) << i;
                EXPECT_TRUE(host.image() == alone.image) << i;
                EXPECT_EQ(host.parameterBytes(), alone.kept) << i; // its own settings, kept
            }
        };
    };
    std::thread first(document(a, marble, aloneA));
    std::thread second(document(b, wood, aloneB));
    first.join();
    second.join();
}

// ------------------------------------------------------ the host's floating point

#if defined(__i386__) || defined(__x86_64__)

// The host's floating-point state for the length of a call, and back to the
// processor's default for the test's own code.
class HostFloatingPoint {
public:
    HostFloatingPoint(std::uint32_t mxcsr, std::uint16_t x87) : m_mxcsr(mxcsr), m_x87(x87) {}

    template <typename Call>
    void during(Call call) {
        setX87(m_x87);
        _mm_setcsr(m_mxcsr);
        call();
        m_mxcsr_after = _mm_getcsr();
        m_x87_after = x87();
        _mm_setcsr(0x1F80);
        setX87(0x037F);
    }
    // What the host found when the plug-in returned: its own state (flags aside).
    bool leftAsItWas() const {
        return (m_mxcsr_after & ~0x3Fu) == (m_mxcsr & ~0x3Fu) && (m_x87_after & 0x1F3F) == (m_x87 & 0x1F3F);
    }

private:
    static void setX87(std::uint16_t control) { __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(control)); }
    static std::uint16_t x87() {
        std::uint16_t control = 0;
        __asm__ volatile("fnstcw %0" : "=m"(control));
        return control;
    }

    std::uint32_t m_mxcsr;
    std::uint16_t m_x87;
    std::uint32_t m_mxcsr_after = 0;
    std::uint16_t m_x87_after = 0;
};

// Invalid, divide-by-zero and overflow unmasked, as Delphi programs run.
constexpr std::uint32_t kDelphiMxcsr = 0x1900;
constexpr std::uint16_t kDelphiX87 = 0x1332;

TEST(HostContract, UnmaskedExceptionsNeverTrapAndAreLeftAsTheHostSetThem) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::function<void(TextureFields&)> edit;
    };
    const std::vector<Case> cases = {
        {"an ordinary block", {}},
        {"a transformation of zeros",
         [](TextureFields& t) { std::memset(t.transformation.m, 0, sizeof t.transformation.m); }},
        {"a transformation holding NaN", [nan](TextureFields& t) { t.transformation.m[0] = nan; }},
        {"a transformation holding infinity", [inf](TextureFields& t) { t.transformation.m[4] = -inf; }},
        {"a transformation of 1e308",
         [](TextureFields& t) {
             for (double& m : t.transformation.m) {
                 m = 1e308;
             }
         }},
        {"a perspective of zeros",
         [](TextureFields& t) {
             t.transformation.m[6] = 0;
             t.transformation.m[7] = 0;
             t.transformation.m[8] = 0;
         }},
        {"noise weights of NaN and grain and blur",
         [nan](TextureFields& t) {
             t.noiseWeights[0] = nan;
             t.noiseWeights[1] = 1e308;
             t.noiseParameter = nan;
             t.blurEnabled = 1;
             t.blur = 40;
             t.noiseEnabled = 1;
             t.noise = 60;
         }},
    };
    const HostImage image = picture(120, 90);
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = block(c.edit);
        HostFloatingPoint host(kDelphiMxcsr, kDelphiX87);
        Render out;
        host.during([&] { out = render(image, bytes); });
        EXPECT_TRUE(out.result == noErr || out.result == filterBadParameters || out.result == errReportString)
            << c.name << ": " << out.result;
        EXPECT_TRUE(host.leftAsItWas()) << c.name;
    }
    // About and a refused call leave it too.
    HostFloatingPoint about(kDelphiMxcsr, kDelphiX87);
    about.during([] {
        int16 result = 0;
        testedEntry()(filterSelectorAbout, nullptr, nullptr, &result);
    });
    EXPECT_TRUE(about.leftAsItWas());
}

TEST(HostContract, TheRoundingModeOfTheHostChangesNoPixel) {
    // Perspectives whose horizon crosses the picture, where a sample's lattice cell
    // is decided by the last bit, turned and sheared planes, grain and blur.
    std::vector<std::function<void(TextureFields&)>> blocks;
    for (int i = 0; i < 16; ++i) {
        blocks.push_back([i](TextureFields& t) {
            const double a = 0.3 + 0.05 * i;
            const double perspective[9] = {
                a,   0.2 - 0.01 * i,        0.1 * (i % 5),       -0.1,           1.5 - 0.02 * i,
                0.3, 0.25 + 0.03 * (i % 7), 1.5 + 0.1 * (i % 4), -0.6 - 0.01 * i};
            std::memcpy(t.transformation.m, perspective, sizeof perspective);
            t.type = 1 + i % 4;
            t.noiseLevel = 3 + i % 10;
            t.blurEnabled = static_cast<std::uint8_t>(i % 3 == 0);
            t.blur = 5;
            t.noiseEnabled = static_cast<std::uint8_t>(i % 4 == 1);
            t.noise = 40;
        });
    }
    const HostImage image = picture(160, 120);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::vector<std::uint8_t> bytes = block(blocks[b]); // made in the test's own rounding
        const Render nearest = render(image, bytes);
        ASSERT_EQ(nearest.result, noErr);
        for (const std::uint32_t rounding : {0x2000u, 0x4000u, 0x6000u}) { // down, up, toward zero
            HostFloatingPoint host(0x1F80 | rounding, static_cast<std::uint16_t>(0x037F | (rounding >> 3)));
            Render out;
            host.during([&] { out = render(image, bytes); });
            EXPECT_EQ(out.result, noErr);
            EXPECT_TRUE(out.image == nearest.image) << "block " << b << ", rounding " << std::hex << rounding;
            EXPECT_TRUE(host.leftAsItWas());
        }
    }
}

#endif

// ------------------------------------------------- records of older generations

TEST(HostContract, RecordsOfOlderGenerationsAreReadOnlyAsFarAsTheyGo) {
    struct Case {
        const char* name;
        std::size_t bytes; // 0: the whole record
        int16 bufferProcs;
        int16 handleProcs;
        bool bigDocument;
        bool servedWide;
    };
    const std::vector<Case> cases = {
        {"ending before sSPBasic, five buffer routines", offsetof(FilterRecord, sSPBasic), 5, 8, false, false},
        {"ending before sSPBasic, six buffer routines", offsetof(FilterRecord, sSPBasic), 6, 8, false, false},
        {"ending before bigDocumentData, five buffer routines", offsetof(FilterRecord, bigDocumentData), 5, 8, true,
         false},
        {"whole, five buffer routines, 32-bit coordinates offered", 0, 5, 8, true, false},
        {"whole, eight buffer routines, 32-bit coordinates offered", 0, 8, 8, true, true},
        {"whole, no buffer suite, 32-bit coordinates offered", 0, 0, 8, true, true},
        {"whole, six handle routines, 32-bit coordinates offered", 0, 0, 6, true, true},
    };
    for (const Case& c : cases) {
        Quirks quirks;
        quirks.recordBytes = c.bytes;
        quirks.numBufferProcs = c.bufferProcs;
        quirks.numHandleProcs = c.handleProcs;
        quirks.bigDocument = c.bigDocument;
        HostileHost host(testedEntry(), 90, 70, quirks);
        EXPECT_EQ(host.run(), noErr) << c.name;
        EXPECT_EQ(host.servedWide(), c.servedWide) << c.name;
        EXPECT_EQ(host.locks(), host.unlocks()) << c.name;
    }
    // A current host's 16 bits are still refused, whatever its suites count.
    for (const int16 buffers : {0, 8}) {
        Quirks deep;
        deep.depth = 16;
        deep.numBufferProcs = buffers;
        EXPECT_EQ(HostileHost(testedEntry(), 30, 20, deep).run(), filterBadMode) << buffers;
    }
}

// ------------------------------------------------------------ the host's layout

TEST(HostContract, ColumnAndPlaneStepsAreHonouredOrRefusedBeforeAByteIsWritten) {
    struct Case {
        const char* name;
        std::int32_t padding;
        std::int32_t planeStep;
        int16 expected;
    };
    const std::vector<Case> cases = {
        {"the plain step, said", 0, 1, noErr},
        {"a plane step of zero, as hosts that never set it", 0, 0, noErr},
        {"one byte of padding after each pixel", 1, 1, paramErr},
        {"four bytes of padding", 4, 1, paramErr},
        {"planar data", 0, 4096, paramErr},
    };
    for (const int16 planes : {3, 4}) {
        for (const Case& c : cases) {
            Quirks quirks;
            quirks.planes = planes;
            quirks.sayColumnStep = true;
            quirks.columnPadding = c.padding;
            quirks.planeStep = c.planeStep;
            HostileHost host(testedEntry(), 70, 50, quirks);
            EXPECT_EQ(host.run(), c.expected) << c.name << ", " << planes << " planes";
            if (c.expected != noErr) {
                EXPECT_FALSE(host.outputWritten()) << c.name;
            }
            EXPECT_EQ(host.locks(), host.unlocks()) << c.name;
        }
    }
}

// ------------------------------------------------------- answers to our property

TEST(HostContract, PropertyAnswersThatAreNotOurSettingsMeanThePlane) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool negativeSize;
    };
    const std::vector<Case> cases = {
        {"an empty handle", {}, false},
        {"a few bytes", {1, 2, 3}, false},
        {"24 bytes it did not make", std::vector<std::uint8_t>(24, 0x5A), false},
        {"16 MiB", std::vector<std::uint8_t>(std::size_t(16) << 20, 0x01), false},
        {"a negative size", std::vector<std::uint8_t>(24, 0), true},
    };
    for (const Case& c : cases) {
        Quirks quirks;
        quirks.propertyBytes = c.bytes;
        quirks.propertySizeNegative = c.negativeSize;
        HostileHost host(testedEntry(), 60, 40, quirks);
        EXPECT_EQ(host.run(), noErr) << c.name << ": " << host.errorString();
        EXPECT_GT(host.advanceCalls(), 0) << c.name;
        EXPECT_EQ(host.locks(), host.unlocks()) << c.name;
        EXPECT_EQ(host.strayUnlocks(), 0) << c.name;
        EXPECT_EQ(host.propertyHandlesLeft(), 0) << c.name << ": every answer goes back to the host";
    }
}

// --------------------------------------------------------------- the result word

TEST(HostContract, EverySelectorWritesItsResultSuccessIncluded) {
    HostileHost host(testedEntry(), 40, 30);
    std::intptr_t data = 0;
    for (const int16 selector : {filterSelectorAbout, filterSelectorParameters, filterSelectorPrepare,
                                 filterSelectorStart, filterSelectorContinue, filterSelectorFinish}) {
        int16 result = memFullErr; // an earlier failure, left in the word by a host that reuses it
        testedEntry()(selector, selector == filterSelectorAbout ? nullptr : &host.record(), &data, &result);
        EXPECT_EQ(result, noErr) << selector;
    }
}

} // namespace
